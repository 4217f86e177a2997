// sound_bench: plays with sound at a null sink (or whatever sound server the environment
// names): how closely the pictures follow the sound clock over a minute, and how slow and
// repeating plays keep every frame and their seams. Prints a Markdown report.
//   Run: eval "$(bash scripts/pulse-null-sink.sh)"; build/bench/media/sound_bench
// The clip (320x240 MJPEG, 15 fps, 16-bit stereo sound at 44.1 kHz) is made at start.
#include "hw/clips/ClipWriter.h"
#include "hw/clips/StampedFrame.h"
#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFps = 15;
constexpr int kRate = 44100;

QTextStream out(stdout);

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double percentileMs(std::vector<int32_t> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5))] / 1000.0;
}

bool makeClip(const QString& path, int frames, const QTemporaryDir& dir)
{
    const QString video = dir.filePath(QStringLiteral("video.avi"));
    const QString raw = dir.filePath(QStringLiteral("sound.raw"));
    hw::ClipFormat format;
    format.framesPerSecond = kFps;
    hw::ClipWriter w;
    if (!w.open(video, format))
        return false;
    for (int n = 0; n < frames; ++n)
        if (!w.addFrame(hw::makeStampedFrame(format.size, n)))
            return false;
    if (!w.finish())
        return false;
    // A tone that changes with every frame, as speech does.
    std::vector<int16_t> sound;
    const int perFrame = kRate / kFps;
    for (int k = 0; k < frames; ++k)
        for (int i = 0; i < perFrame; ++i) {
            const auto v
                = int16_t(std::lround(6000 * std::sin(2 * M_PI * (300 + 20 * (k % 20)) * i / kRate)));
            sound.insert(sound.end(), {v, v});
        }
    QFile f(raw);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(reinterpret_cast<const char*>(sound.data()), qint64(sound.size() * sizeof(int16_t)));
    f.close();
    QProcess ff;
    ff.start(QStringLiteral("ffmpeg"),
             {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-i"),
              video, QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-ar"),
              QString::number(kRate), QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-i"), raw,
              QStringLiteral("-c:v"), QStringLiteral("copy"), QStringLiteral("-c:a"),
              QStringLiteral("pcm_s16le"), path});
    return ff.waitForFinished(300000) && ff.exitStatus() == QProcess::NormalExit && ff.exitCode() == 0;
}

struct Run {
    hw::PlaybackStats stats;
    double wall = 0;
    double cpu = 0;
    int notices = 0;
    int lastShown = -1;
};

// Plays from..to on a fresh player; a repeating play is stopped after `rounds` rounds.
Run play(const QString& path, int from, int to, double speed, int rounds = 0)
{
    QFrame panel;
    panel.resize(320, 240);
    panel.show();
    hw::TMediaPlayer player;
    player.setDisplay(&panel);
    player.setFileName(path);
    player.Open();
    hw::PlayerInspection::waitUntilIdle(player);
    player.setSpeed(speed);
    player.setRepeat(rounds > 0);
    Run r;
    QEventLoop loop;
    player.OnNotify = [&](QObject*) {
        ++r.notices;
        loop.quit();
    };
    // A repeating play is stopped once it has shown its rounds (checked on a timer).
    QTimer poll;
    const int frames = (to - from + 1) * rounds;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (rounds > 0 && hw::PlayerInspection::playbackStats(player).presented >= frames)
            player.Stop();
    });
    poll.start(5);
    player.setStartPos(from);
    player.setEndPos(to);
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    player.Play();
    loop.exec();
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.cpu = cpuSeconds() - cpu0;
    r.stats = hw::PlayerInspection::playbackStats(player);
    r.lastShown = hw::PlayerInspection::displayedFrame(player);
    return r;
}

QString pct(const Run& r)
{
    return QString::number(100 * r.cpu / r.wall, 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("sound.avi"));
    std::fprintf(stderr, "making the clip...\n");
    if (!makeClip(clip, 60 * kFps + 30, dir)) {
        std::fprintf(stderr, "cannot make the clip (is ffmpeg there?)\n");
        return 1;
    }
    const double periodMs = 1000.0 / kFps;

    std::fprintf(stderr, "a minute's play...\n");
    const Run minute = play(clip, 0, 60 * kFps - 1, 1.0);
    const auto& o = minute.stats.offsetsUs;
    const int32_t worst = o.empty() ? 0 : *std::max_element(o.begin(), o.end(), [](int32_t a, int32_t b) {
        return std::abs(a) < std::abs(b);
    });
    out << "**60-second play with sound, 320×240 MJPEG at " << kFps << " fps, 16-bit stereo 44.1 kHz:** "
        << minute.stats.presented << " of " << 60 * kFps << " frames shown (" << minute.stats.soundPaced
        << " paced by the sound), " << minute.stats.late
        << " later than a frame period; offset of each shown "
        << "frame from the sound clock (time heard, latency included, minus the frame's sound start): p50 "
        << QString::number(percentileMs(o, 50), 'f', 2) << " ms, p99 "
        << QString::number(percentileMs(o, 99), 'f', 2) << " ms, worst "
        << QString::number(worst / 1000.0, 'f', 2) << " ms; " << minute.notices << " notice; wall "
        << QString::number(minute.wall, 'f', 2) << " s, CPU " << QString::number(minute.cpu, 'f', 2)
        << " s = " << pct(minute) << " % of one core (goal: |offset| ≤ 20 ms at p99, 0 missed, < 8 %).\n\n";
    out.flush();

    std::fprintf(stderr, "a half-speed play...\n");
    const Run half = play(clip, 100, 399, 0.5);
    out << "**Half-speed play of 300 frames with sound:** " << half.stats.presented
        << " of 300 frames shown, " << half.stats.late << " late, last frame " << half.lastShown
        << " (EndPos 399); offset p99 " << QString::number(percentileMs(half.stats.offsetsUs, 99), 'f', 2)
        << " ms; wall " << QString::number(half.wall, 'f', 2) << " s (300 frames at "
        << QString::number(2 * periodMs, 'f', 1)
        << " ms = " << QString::number(300 * 2 * periodMs / 1000, 'f', 2) << " s), CPU " << pct(half)
        << " % of one core (goal: 0 missed, < 5 %).\n\n";
    out.flush();

    std::fprintf(stderr, "a five-round loop...\n");
    const int from = 200, to = 229, n = to - from + 1;
    const Run loop = play(clip, from, to, 1.0, 5);
    // The gap at a seam: one period plus how much later the first frame of a round came
    // than the last frame of the round before, both against the clock that paced them.
    double worstSeam = 0;
    const auto& lo = loop.stats.offsetsUs;
    for (size_t i = size_t(n); i < lo.size(); i += size_t(n))
        worstSeam = std::max(worstSeam, periodMs + (lo[i] - lo[i - 1]) / 1000.0);
    out << "**Loop of a 30-frame step, 5 rounds, with sound:** " << loop.stats.presented
        << " frames shown of " << 5 * n << " expected before the stop, " << loop.stats.late
        << " late; worst gap at a seam " << QString::number(worstSeam, 'f', 2) << " ms (a frame period is "
        << QString::number(periodMs, 'f', 2) << " ms); " << loop.notices << " notice (at the stop); CPU "
        << pct(loop) << " % of one core (goal: 0 missed, seam ≤ one period, < 5 %).\n";
    out.flush();
    return 0;
}
