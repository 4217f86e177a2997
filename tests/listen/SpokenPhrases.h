#pragma once
// Spoken commands made at test time by Debian's speech synthesiser (flite), as 16 kHz mono
// WAV files: each phrase after a second of silence, and a second of silence at the end.
#include <QString>
#include <QStringList>

namespace hw::test {

// Runs sox with args, told to repeat itself (-R): without it sox dithers what it writes with
// random noise, and the same command would make a different file, heard differently, each run.
bool runSox(const QStringList& args);
// The seven commands' words, in the order SpokenCommand lists them.
QStringList commandWords();
// path: "tutor <word>" for each word, said by each voice in turn (flite's slt, rms, awb).
// Empty with why when flite or sox is missing or fails.
QString speakPhrases(const QString& path, const QStringList& words, const QStringList& voices, QString* why);
// path: each text as it stands, said by each voice in turn.
QString speak(const QString& path, const QStringList& texts, const QStringList& voices, QString* why);

} // namespace hw::test
