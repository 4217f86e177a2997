// media_bench: how fast the clip device shows frames, beside the limit (a plain libav loop
// that seeks to the keyframe at or before the target and decodes up to it).
//
// Prints a Markdown report. Clips are made at start in a temporary folder:
//   320x240 MJPEG (every frame a keyframe), 320x240 MPEG-4 (B-frames, keyframe every 25),
//   1920x1080 H.264 (B-frames, keyframe every 250); 25 frames a second. With the ffmpeg program
//   at hand, also a 1080p H.264 MP4 upright and turned a quarter by its display matrix.
#include "LimitLoop.h"

#include "hw/clips/ClipWriter.h"
#include "hw/clips/StampedFrame.h"
#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double since(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5));
    return v[i];
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
        + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Clip {
    const char* name;
    QString path;
    hw::ClipFormat format;
    int frames;
};

bool makeClip(Clip& c, const QTemporaryDir& dir)
{
    c.path = dir.filePath(QString::fromUtf8(c.name) + QStringLiteral(".avi"));
    hw::ClipWriter w;
    if (!w.open(c.path, c.format))
        return false;
    for (int n = 0; n < c.frames; ++n)
        if (!w.addFrame(hw::makeStampedFrame(c.format.size, n)))
            return false;
    return w.finish();
}

QTextStream out(stdout);

void row(const QString& what, double device, double limit, const QString& goal)
{
    out << "| " << what << " | " << QString::number(device, 'f', 2) << " | "
        << (limit >= 0 ? QString::number(limit, 'f', 2) : QStringLiteral("–")) << " | "
        << (limit > 0 ? QString::number(device / limit, 'f', 2) : QStringLiteral("–")) << " | " << goal
        << " |\n";
    out.flush();
}

void benchSeeks(const Clip& c, int samples)
{
    QFrame panel;
    panel.setFrameStyle(QFrame::NoFrame);
    panel.resize(320, 240);
    panel.show();
    hw::TMediaPlayer player;
    player.setDisplay(&panel);
    player.setFileName(c.path);
    player.Open();
    hw::PlayerInspection::waitUntilIdle(player);

    std::mt19937 rng(7);
    std::vector<int> targets;
    for (int i = 0; i < samples; ++i)
        targets.push_back(int(rng() % unsigned(c.frames)));

    // Random frame-exact seeks, nothing cached.
    std::vector<double> dev, lim;
    for (int f : targets) {
        hw::PlayerInspection::dropCachedPictures(player);
        const auto t0 = Clock::now();
        player.setPosition(f);
        dev.push_back(since(t0));
        if (hw::PlayerInspection::displayedFrame(player) != f)
            out << "<!-- wrong frame shown: " << hw::PlayerInspection::displayedFrame(player) << " for " << f
                << " -->\n";
        hw::PlayerInspection::waitUntilIdle(player);
    }
    bench::LimitLoop limit(c.path);
    for (int f : targets)
        lim.push_back(limit.showFrame(f) / 1000.0);
    row(QStringLiteral("%1: random seek p50").arg(QString::fromUtf8(c.name)), percentile(dev, 50),
        percentile(lim, 50), QStringLiteral("≤ 1.15 × limit"));
    row(QStringLiteral("%1: random seek p99").arg(QString::fromUtf8(c.name)), percentile(dev, 99),
        percentile(lim, 99),
        QStringLiteral("≤ 1.25 × limit")
            + (c.format.keyframeInterval == 1 ? QStringLiteral(", < 5 ms") : QString()));

    // Steps: back once the frames around are cached; forward straight after a seek.
    std::vector<double> back, fwd, limNext;
    for (int i = 0; i < samples; ++i) {
        const int f = 20 + int(rng() % unsigned(c.frames - 40));
        player.setPosition(f);
        hw::PlayerInspection::waitUntilIdle(player);
        auto t0 = Clock::now();
        player.setPosition(f - 1);
        back.push_back(since(t0));
        const int g = 20 + int(rng() % unsigned(c.frames - 40));
        hw::PlayerInspection::dropCachedPictures(player);
        player.setPosition(g);
        t0 = Clock::now();
        player.setPosition(g + 1);
        fwd.push_back(since(t0));
        if (hw::PlayerInspection::displayedFrame(player) != g + 1)
            out << "<!-- wrong frame after step -->\n";
        limit.showFrame(g);
        limNext.push_back(limit.nextFrame() / 1000.0);
    }
    row(QStringLiteral("%1: step back p50 / p99").arg(QString::fromUtf8(c.name)), percentile(back, 50), -1,
        QStringLiteral("p99 %1 ms; goal < 16 ms").arg(percentile(back, 99), 0, 'f', 2));
    row(QStringLiteral("%1: step forward p50 (limit: one decode)").arg(QString::fromUtf8(c.name)),
        percentile(fwd, 50), percentile(limNext, 50),
        QStringLiteral("p99 %1 ms vs %2 ms; goal ≤ one decode")
            .arg(percentile(fwd, 99), 0, 'f', 2)
            .arg(percentile(limNext, 99), 0, 'f', 2));

    // A burst of ten seeks without waiting, then one that waits: the newest replaces the
    // pending ones instead of queueing behind them.
    hw::PlayerInspection::dropCachedPictures(player);
    player.setPosition(0);
    hw::PlayerInspection::waitUntilIdle(player);
    std::vector<double> burst;
    for (int i = 0; i < 5; ++i) {
        hw::PlayerInspection::dropCachedPictures(player);
        const auto t0 = Clock::now();
        for (int k = 0; k < 10; ++k) {
            player.setWait(false);
            player.setPosition(int(rng() % unsigned(c.frames)));
        }
        const int last = int(rng() % unsigned(c.frames));
        player.setPosition(last);
        burst.push_back(since(t0));
        hw::PlayerInspection::waitUntilIdle(player);
    }
    row(QStringLiteral("%1: 10 seeks without wait + 1 waiting, p50").arg(QString::fromUtf8(c.name)),
        percentile(burst, 50), percentile(lim, 50), QStringLiteral("about one seek, not eleven"));
}

void benchOpen(const Clip& c, int samples)
{
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        QFrame panel;
        panel.resize(320, 240);
        panel.show();
        hw::TMediaPlayer player;
        player.setDisplay(&panel);
        player.setFileName(c.path);
        const auto t0 = Clock::now();
        player.Open();
        while (hw::PlayerInspection::displayedFrame(player) != 0 && since(t0) < 10000) { }
        times.push_back(since(t0));
        player.Close();
    }
    row(QStringLiteral("%1: open to first frame shown, p50 (p99 %2)")
            .arg(QString::fromUtf8(c.name))
            .arg(percentile(times, 99), 0, 'f', 2),
        percentile(times, 50), -1,
        c.format.size.width() <= 320 ? QStringLiteral("< 20 ms") : QStringLiteral("–"));
}

void benchPlay(const Clip& c)
{
    QFrame panel;
    panel.resize(320, 240);
    panel.show();
    hw::TMediaPlayer player;
    player.setDisplay(&panel);
    player.setFileName(c.path);
    player.Open();
    hw::PlayerInspection::waitUntilIdle(player);
    int notices = 0;
    const int from = 10, to = from + 299;
    player.setStartPos(from);
    player.setEndPos(to);
    QEventLoop loop;
    player.OnNotify = [&](QObject*) {
        ++notices;
        loop.quit();
    };
    const double cpu0 = cpuSeconds();
    const auto t0 = Clock::now();
    player.Play();
    loop.exec();
    const double wall = since(t0) / 1000.0;
    const double cpu = cpuSeconds() - cpu0;
    QCoreApplication::processEvents();
    const auto stats = hw::PlayerInspection::playbackStats(player);
    out << "\n**Real-time play, " << c.name << ", frames " << from << "–" << to << " at "
        << c.format.framesPerSecond << " fps:** " << stats.presented << " of " << (to - from + 1)
        << " frames shown, " << stats.late << " later than one frame period (worst "
        << stats.maxLateUs / 1000.0 << " ms late), last frame shown "
        << hw::PlayerInspection::displayedFrame(player) << " (EndPos " << to << "), Position "
        << player.Position() << ", " << notices << " notice(s), wall " << QString::number(wall, 'f', 2)
        << " s, CPU " << QString::number(cpu, 'f', 3) << " s = " << QString::number(100 * cpu / wall, 'f', 1)
        << " % of one core (goal: no frame missed or late, last = EndPos, one notice, < 5 %).\n";
    out.flush();
}

// Phone video: a 1080p H.264 MP4, upright and with a display matrix that turns it a quarter
// (as phones record portrait), both made by the ffmpeg program. False when it is missing.
bool makePhoneClips(const QTemporaryDir& dir, QString& upright, QString& turned)
{
    upright = dir.filePath(QStringLiteral("upright.mp4"));
    turned = dir.filePath(QStringLiteral("turned.mp4"));
    auto ffmpeg = [](const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral("ffmpeg"),
                QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args);
        return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    return ffmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                   QStringLiteral("testsrc2=size=1920x1080:rate=25"), QStringLiteral("-frames:v"),
                   QStringLiteral("100"), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                   QStringLiteral("-preset"), QStringLiteral("veryfast"), QStringLiteral("-g"),
                   QStringLiteral("25"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), upright})
        && ffmpeg({QStringLiteral("-i"), upright, QStringLiteral("-c"), QStringLiteral("copy"),
                   QStringLiteral("-metadata:s:v:0"), QStringLiteral("rotate=90"), turned});
}

std::vector<double> seekTimes(const QString& path, QSize panelSize, int frames, int samples)
{
    QFrame panel;
    panel.setFrameStyle(QFrame::NoFrame);
    panel.resize(panelSize);
    panel.show();
    hw::TMediaPlayer player;
    player.setDisplay(&panel);
    player.setFileName(path);
    player.Open();
    hw::PlayerInspection::waitUntilIdle(player);
    std::mt19937 rng(11);
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        hw::PlayerInspection::dropCachedPictures(player);
        const int f = int(rng() % unsigned(frames));
        const auto t0 = Clock::now();
        player.setPosition(f);
        times.push_back(since(t0));
        hw::PlayerInspection::waitUntilIdle(player);
    }
    return times;
}

// The turn is one pass over the panel-sized picture after scaling: seeks in the turned clip
// against the same seeks in the upright one.
void benchTurn(const QTemporaryDir& dir)
{
    QString upright, turned;
    if (!makePhoneClips(dir, upright, turned)) {
        out << "\n(no ffmpeg program: the turned clip was not measured)\n";
        return;
    }
    for (const QSize panel : {QSize(320, 240), QSize(1280, 960)}) {
        const auto base = seekTimes(upright, panel, 100, 30);
        const auto turn = seekTimes(turned, panel, 100, 30);
        for (const double p : {50.0, 99.0})
            row(QStringLiteral("H.264 1920×1080 MP4 GOP 25 turned a quarter, %1×%2 panel: random seek p%3 "
                               "(limit: the same clip upright)")
                    .arg(panel.width())
                    .arg(panel.height())
                    .arg(p),
                percentile(turn, p), percentile(base, p), QStringLiteral("≤ 1.05 × upright"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    auto format = [](const char* codec, QSize size, int keyint, bool b) {
        hw::ClipFormat f;
        f.codec = QString::fromLatin1(codec);
        f.size = size;
        f.framesPerSecond = 25;
        f.keyframeInterval = keyint;
        f.bFrames = b;
        return f;
    };
    std::vector<Clip> clips{{"MJPEG 320×240", {}, format("mjpeg", {320, 240}, 1, false), 330},
                            {"MPEG-4 320×240", {}, format("mpeg4", {320, 240}, 25, true), 330},
                            {"H.264 1920×1080 GOP 250", {}, format("libx264", {1920, 1080}, 250, true), 300}};
    for (Clip& c : clips) {
        std::fprintf(stderr, "making %s...\n", c.name);
        if (!makeClip(c, dir)) {
            std::fprintf(stderr, "cannot make %s\n", c.name);
            return 1;
        }
    }
    out << "| Measure | Device (ms) | Limit (ms) | Ratio | Goal |\n|---|---|---|---|---|\n";
    for (const Clip& c : clips)
        benchSeeks(c, c.format.size.width() > 320 ? 30 : 60);
    for (const Clip& c : clips)
        benchOpen(c, 15);
    benchTurn(dir);
    benchPlay(clips[0]);
    benchPlay(clips[1]);
    return 0;
}
