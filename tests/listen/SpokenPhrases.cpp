#include "SpokenPhrases.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace hw::test {

namespace {
bool run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool runSox(const QStringList& args)
{
    return run(QStringLiteral("sox"), QStringList{QStringLiteral("-R")} + args);
}

QStringList commandWords()
{
    return {QStringLiteral("play"), QStringLiteral("stop"),   QStringLiteral("again"), QStringLiteral("next"),
            QStringLiteral("back"), QStringLiteral("slower"), QStringLiteral("faster")};
}

QString speakPhrases(const QString& path, const QStringList& words, const QStringList& voices, QString* why)
{
    QStringList phrases;
    for (const QString& word : words)
        phrases << QStringLiteral("tutor ") + word;
    return speak(path, phrases, voices, why);
}

QString speak(const QString& path, const QStringList& texts, const QStringList& voices, QString* why)
{
    const QDir dir = QFileInfo(path).absoluteDir();
    const QString silence = dir.filePath(QStringLiteral("silence.wav"));
    if (!runSox({QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("16000"), QStringLiteral("-c"),
                 QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"), silence,
                 QStringLiteral("trim"), QStringLiteral("0"), QStringLiteral("1")})) {
        *why = QStringLiteral("sox cannot make silence");
        return {};
    }
    QStringList parts;
    int n = 0;
    for (const QString& voice : voices)
        for (const QString& text : texts) {
            const QString said = dir.filePath(QStringLiteral("said%1.wav").arg(n));
            const QString part = dir.filePath(QStringLiteral("part%1.wav").arg(n++));
            if (!run(
                    QStringLiteral("flite"),
                    {QStringLiteral("-voice"), voice, QStringLiteral("-t"), text, QStringLiteral("-o"), said})
                || !runSox({said, QStringLiteral("-r"), QStringLiteral("16000"), QStringLiteral("-c"),
                            QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"), part})) {
                *why = QStringLiteral("flite cannot say \"%1\"").arg(text);
                return {};
            }
            parts << silence << part;
        }
    parts << silence << path;
    if (!runSox(parts)) {
        *why = QStringLiteral("sox cannot join what was said");
        return {};
    }
    return path;
}

} // namespace hw::test
