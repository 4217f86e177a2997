#include "Narration.h"
#include "hw/Narrow.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace hw::demo {
namespace {

// Words a minute: the usual pace, then faster ones for a sentence that runs too long.
constexpr int kSpeeds[] = {200, 215, 235, 260};
constexpr int kProcessTimeoutMs = 60 * 1000;

// Runs a program and returns what it wrote to its standard output.
bool run(const QString& program, const QStringList& args, QByteArray* out, QString* error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(kProcessTimeoutMs)) {
        *error = QStringLiteral("Cannot run %1: %2").arg(program, process.errorString());
        return false;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(kProcessTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = QStringLiteral("%1 did not finish").arg(program);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("%1 failed: %2")
                     .arg(program, QString::fromLocal8Bit(process.readAllStandardError().trimmed()));
        return false;
    }
    *out = process.readAllStandardOutput();
    return true;
}

// Drops the quiet start and end that espeak-ng leaves round the words.
void trimSilence(Sound* sound)
{
    constexpr int kQuiet = 80; // about -52 dB
    size_t end = sound->size();
    while (end > 0 && std::abs(static_cast<int>((*sound)[end - 1])) <= kQuiet)
        --end;
    size_t start = 0;
    while (start < end && std::abs(static_cast<int>((*sound)[start])) <= kQuiet)
        ++start;
    sound->erase(sound->begin() + static_cast<qsizetype>(end), sound->end());
    sound->erase(sound->begin(), sound->begin() + static_cast<qsizetype>(start));
}

bool speakOne(const Utterance& line, Sound* sound, QString* error)
{
    for (const int speed : kSpeeds) {
        QByteArray wav;
        if (!run(QStringLiteral("espeak-ng"),
                 {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-s"), QString::number(speed),
                  QStringLiteral("--stdout"), line.text},
                 &wav, error)
            || !readWav(wav, sound, error))
            return false;
        trimSilence(sound);
        if (sound->empty()) {
            *error = QStringLiteral("espeak-ng said nothing for \"%1\"").arg(line.text);
            return false;
        }
        if (intSize(*sound) <= line.maxSamples)
            return true;
    }
    *error = QStringLiteral("The narration \"%1\" takes %2 s even when spoken fast; its step allows %3 s")
                 .arg(line.text)
                 .arg(static_cast<double>(sound->size()) / kSoundRate, 0, 'f', 2)
                 .arg(static_cast<double>(line.maxSamples) / kSoundRate, 0, 'f', 2);
    return false;
}

} // namespace

double lineSeconds(const QString& line)
{
    // espeak-ng says about 24 characters a second at the usual pace, the silence round the
    // words trimmed, and pauses at every stop and comma inside the line. A line that runs
    // longer than this is said a little faster (speak()).
    static const QRegularExpression pause(QStringLiteral("[.,:;]\\s"));
    return 0.3 + static_cast<double>(line.size()) / 24.0 + 0.25 * static_cast<double>(line.count(pause));
}

int narrationFrames(const std::vector<QString>& lines, int framesPerSecond)
{
    double seconds = static_cast<double>(kLinePauseSamples) / kSoundRate
        * static_cast<double>(std::max<size_t>(lines.size(), 1) - 1);
    for (const QString& line : lines)
        seconds += lineSeconds(line);
    return kNarrationLeadFrames + static_cast<int>(std::ceil(seconds * framesPerSecond))
        + kNarrationTailFrames;
}

bool readWav(const QByteArray& bytes, Sound* sound, QString* error)
{
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        *error = QStringLiteral("The speech is not a WAV file");
        return false;
    }
    bool formatSeen = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype body = at + 8;
        const qsizetype size = qsizetype{u32(at + 4)};
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size() || u16(body) != 1 || u16(body + 2) != 1
                || u32(body + 4) != static_cast<quint32>(kSoundRate) || u16(body + 14) != 16) {
                *error = QStringLiteral("The speech is not 16-bit mono PCM at %1 Hz").arg(kSoundRate);
                return false;
            }
            formatSeen = true;
        } else if (id == "data") {
            if (!formatSeen)
                break;
            // Written to a pipe, the size is a placeholder: the data runs to the end.
            const qsizetype count = std::min<qsizetype>(size, bytes.size() - body) / 2;
            sound->resize(static_cast<size_t>(count));
            for (qsizetype i = 0; i < count; ++i)
                (*sound)[static_cast<size_t>(i)]
                    = qFromLittleEndian<qint16>(bytes.constData() + body + 2 * i);
            return true;
        }
        at = body + size + (size & 1);
    }
    *error = QStringLiteral("The speech holds no sound");
    return false;
}

bool speak(const std::vector<Utterance>& lines, std::vector<Sound>* sounds, int threads, QString* error)
{
    sounds->assign(lines.size(), {});
    std::atomic<size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    auto work = [&] {
        for (size_t i = next++; i < lines.size() && !failed; i = next++) {
            QString message;
            if (!speakOne(lines[i], &(*sounds)[i], &message)) {
                std::lock_guard<std::mutex> lock(errorLock);
                if (!failed.exchange(true))
                    *error = message;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < std::max(1, threads); ++i)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    return !failed;
}

bool makeChime(double seconds, Sound* sound, QString* error)
{
    const QString length = QString::number(seconds, 'f', 2);
    QByteArray wav;
    // -R: the same pluck noise on every run; -D: no dither.
    if (!run(QStringLiteral("sox"),
             {QStringLiteral("-R"),
              QStringLiteral("-D"),
              QStringLiteral("-n"),
              QStringLiteral("-r"),
              QString::number(kSoundRate),
              QStringLiteral("-c"),
              QStringLiteral("1"),
              QStringLiteral("-b"),
              QStringLiteral("16"),
              QStringLiteral("-t"),
              QStringLiteral("wav"),
              QStringLiteral("-"),
              QStringLiteral("synth"),
              length,
              QStringLiteral("pluck"),
              QStringLiteral("C5"),
              QStringLiteral("pluck"),
              QStringLiteral("E5"),
              QStringLiteral("pluck"),
              QStringLiteral("G5"),
              QStringLiteral("delay"),
              QStringLiteral("0"),
              QStringLiteral("0.12"),
              QStringLiteral("0.24"),
              QStringLiteral("remix"),
              QStringLiteral("-"),
              QStringLiteral("fade"),
              QStringLiteral("0"),
              length,
              QStringLiteral("1.0"),
              QStringLiteral("norm"),
              QStringLiteral("-6")},
             &wav, error))
        return false;
    return readWav(wav, sound, error);
}

} // namespace hw::demo
