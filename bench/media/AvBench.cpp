// av_bench: the program's sound against its pictures, on a clock outside the program. The
// sound server's monitor is recorded here (stamped with CLOCK_MONOTONIC less the source's
// latency) beside the times the player put each picture on show (CLOCK_MONOTONIC at the
// picture sink). Flash-and-beep clips are made at start. Prints a Markdown section.
//   Run: eval "$(bash scripts/pulse-null-sink.sh)"; build/bench/media/av_bench [--detail]
//   (--detail: each flash's offset and each short play's start on stderr)
//   (about two minutes and a half; bench/media/av-bench.sh also writes the section into
//   bench/README.md).
#include "FlashBeepClips.h"
#include "MonitorRecorder.h"
#include "ProcessCost.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace {

using bench::MonitorRecorder;

QTextStream out(stdout);

void note(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
}

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2);
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p / 100.0 * double(v.size() - 1) + 0.5))];
}

QString ms(double v, int digits = 1)
{
    return std::isnan(v) ? QStringLiteral("–") : QString::number(v, 'f', digits);
}

// ---- What the player shows ----

struct Shown {
    int frame = 0;
    bool white = false;
    int64_t ns = 0;
};

// Collects the pictures the player puts on show, stamped as they go.
class ShownLog {
public:
    void attach(hw::TMediaPlayer& player)
    {
        hw::PlayerInspection::onPresent(player, [this](const QImage& picture, int32_t frame) {
            const int64_t now = bench::monotonicNs();
            const QPoint middle(picture.width() / 2, picture.height() / 2);
            const bool white = picture.valid(middle) && qGray(picture.pixel(middle)) > 128;
            std::lock_guard lock(m_);
            shown_.push_back({frame, white, now});
        });
    }
    std::vector<Shown> take()
    {
        std::lock_guard lock(m_);
        return std::exchange(shown_, {});
    }

private:
    std::mutex m_;
    std::vector<Shown> shown_;
};

struct Play {
    QString clip;
    int from = 0;
    int64_t playNs = 0;
    std::vector<Shown> shown;
    hw::PlaybackStats stats;
};

class Player {
public:
    explicit Player(const QString& path)
    {
        panel_.resize(320, 240);
        panel_.show();
        player_.setDisplay(&panel_);
        player_.setFileName(path);
        player_.Open();
        hw::PlayerInspection::waitUntilIdle(player_);
        log_.attach(player_);
        player_.OnNotify = [this](QObject*) { loop_.quit(); };
    }
    ~Player() { hw::PlayerInspection::onPresent(player_, nullptr); }
    bool opened() const { return player_.Length() > 0; }

    // Plays from..to and waits for its notice (at most timeoutS).
    Play play(int from, int to, int timeoutS)
    {
        log_.take();
        player_.setStartPos(from);
        player_.setEndPos(to);
        QTimer::singleShot(timeoutS * 1000, &loop_, &QEventLoop::quit);
        Play p;
        p.from = from;
        p.playNs = bench::monotonicNs();
        player_.Play();
        loop_.exec();
        p.shown = log_.take();
        p.stats = hw::PlayerInspection::playbackStats(player_);
        return p;
    }

private:
    QFrame panel_;
    hw::TMediaPlayer player_;
    ShownLog log_;
    QEventLoop loop_;
};

// ---- What the listener hears ----

// The start of each beep from sample `from` on: the first loud sample after 100 ms without.
std::vector<int64_t> beepOnsetsNs(const MonitorRecorder::Recording& rec)
{
    constexpr int kLoud = 4000; // the beeps peak at 16384
    constexpr int64_t kQuiet = MonitorRecorder::kRate / 10;
    std::vector<int64_t> onsets;
    int64_t lastLoud = -kQuiet - 1;
    for (int64_t i = 0; i < int64_t(rec.left.size()); ++i) {
        if (std::abs(int(rec.left[size_t(i)])) < kLoud)
            continue;
        if (i - lastLoud > kQuiet)
            onsets.push_back(bench::playedAtNs(rec, i));
        lastLoud = i;
    }
    return onsets;
}

// The beep nearest to t, if one lies within a third of the flashes' spacing.
std::optional<int64_t> nearestBeep(const std::vector<int64_t>& onsets, int64_t t)
{
    const int64_t reach = int64_t(1e9 * bench::kFlashEvery / bench::kClipFps / 3);
    const auto it = std::lower_bound(onsets.begin(), onsets.end(), t);
    std::optional<int64_t> best;
    for (auto k : {it, it == onsets.begin() ? it : it - 1})
        if (k != onsets.end() && std::abs(*k - t) <= reach
            && (!best || std::abs(*k - t) < std::abs(*best - t)))
            best = *k;
    return best;
}

struct Offsets {
    int flashes = 0;
    std::vector<double> signedMs; // heard − shown, one per flash that has its beep
};

Offsets flashOffsets(const std::vector<Shown>& shown, const std::vector<int64_t>& onsets)
{
    Offsets o;
    for (const Shown& s : shown) {
        if (!s.white)
            continue;
        ++o.flashes;
        if (const auto heard = nearestBeep(onsets, s.ns))
            o.signedMs.push_back(double(*heard - s.ns) / 1e6);
    }
    return o;
}

std::vector<double> magnitudes(std::vector<double> v)
{
    for (double& x : v)
        x = std::abs(x);
    return v;
}

// Play to the first beep heard after it (every play starts on a flash frame).
double firstSoundMs(const Play& p, const std::vector<int64_t>& onsets)
{
    const auto it = std::upper_bound(onsets.begin(), onsets.end(), p.playNs);
    return it == onsets.end() ? NAN : double(*it - p.playNs) / 1e6;
}

double firstPictureMs(const Play& p)
{
    return p.shown.empty() ? NAN : double(p.shown.front().ns - p.playNs) / 1e6;
}

// Waits (with events) until the recording has been stamped past t plus a margin.
void waitForRecording(const MonitorRecorder& rec, int64_t t)
{
    for (int i = 0; i < 300; ++i) {
        const auto r = rec.snapshot();
        if (!r.chunks.empty() && r.chunks.back().stampNs > t + 300000000)
            return;
        QThread::msleep(10);
    }
}

QString verdict(double value, double goal)
{
    if (std::isnan(value))
        return QStringLiteral("not measured");
    return value <= goal ? QStringLiteral("met") : QStringLiteral("missed by %1").arg(ms(value - goal, 2));
}

// ---- Memory and time of whole plays ----

struct Cost {
    double peakMb = NAN;
    double wallS = NAN;
};

Cost medianCost(const QString& tool, const QStringList& args, QString& why)
{
    std::vector<double> peak, wall;
    for (int run = 0; run < 3; ++run) {
        const bench::ProcessCost c = bench::runMeasured(tool, args);
        if (!c.ok) {
            why = c.why;
            return {};
        }
        peak.push_back(c.peakMb);
        wall.push_back(c.wallS);
    }
    return {percentile(peak, 50), percentile(wall, 50)};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString loadBefore = loadAverage();
    QTemporaryDir dir;
    const QString lesson = dir.filePath(QStringLiteral("lesson.avi"));
    const QString minute = dir.filePath(QStringLiteral("minute.avi"));
    const QString twoHours = dir.filePath(QStringLiteral("two-hours.avi"));
    const QString minuteMute = dir.filePath(QStringLiteral("minute-pictures.avi"));
    const QString twoHoursMute = dir.filePath(QStringLiteral("two-hours-pictures.avi"));
    note("making the clips...");
    for (const QString& why :
         {bench::makeLessonClip(lesson, 61), bench::makeSmallMp3Clip(minute, 60),
          bench::makeLooped(minute, twoHours, 120), bench::makePicturesOnly(minute, minuteMute),
          bench::makePicturesOnly(twoHours, twoHoursMute)}) {
        if (!why.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 1;
        }
    }
    MonitorRecorder recorder;
    if (!recorder.usable()) {
        std::fprintf(stderr, "%s (run: eval \"$(bash scripts/pulse-null-sink.sh)\")\n",
                     qPrintable(recorder.why()));
        return 1;
    }

    note("a minute's play...");
    const int minuteFrames = 60 * bench::kClipFps;
    Play whole;
    {
        Player player(lesson);
        if (!player.opened()) {
            note("cannot open the clip");
            return 1;
        }
        whole = player.play(0, minuteFrames - 1, 120);
    }

    // Short plays from flash frames, the first right after the clip opens.
    note("plays from Play to the first sound...");
    std::mt19937 random(27);
    std::uniform_int_distribution<int> flash(1, (minuteFrames - 100) / bench::kFlashEvery);
    std::vector<Play> starts;
    for (const QString& clip : {lesson, minute, twoHours}) {
        Player player(clip);
        for (int k = 0; k < 5; ++k) {
            const int from = k == 0 ? 0 : flash(random) * bench::kFlashEvery;
            starts.push_back(player.play(from, from + 2 * bench::kClipFps - 1, 30));
            starts.back().clip = clip;
        }
    }
    waitForRecording(recorder, bench::monotonicNs());
    const MonitorRecorder::Recording heard = recorder.snapshot();
    const std::vector<int64_t> onsets = beepOnsetsNs(heard);

    note("whole plays of the tool, for memory...");
    const QString tool
        = QCoreApplication::applicationDirPath() + QStringLiteral("/../../tools/hacklewright-tool");
    QString why;
    struct Row {
        const char* what;
        QString sound, pictures;
        Cost none, muted, withSound;
    };
    std::vector<Row> rows{{"1-min clip", minute, minuteMute, {}, {}, {}},
                          {"2-h clip", twoHours, twoHoursMute, {}, {}, {}}};
    const QStringList range{QStringLiteral("0"), QString::number(2 * bench::kClipFps - 1)};
    for (Row& r : rows) {
        r.none = medianCost(tool, QStringList{QStringLiteral("play"), r.pictures} + range, why);
        r.muted = medianCost(tool,
                             QStringList{QStringLiteral("play"), r.sound} + range
                                 + QStringList{QStringLiteral("--mute")},
                             why);
        r.withSound = medianCost(tool, QStringList{QStringLiteral("play"), r.sound} + range, why);
    }
    const QString loadAfter = loadAverage();

    // ---- The report ----
    if (app.arguments().contains(QStringLiteral("--detail"))) {
        const auto& own = whole.stats.offsetsUs;
        for (size_t i = 0; i < whole.shown.size(); ++i) {
            const Shown& f = whole.shown[i];
            if (const auto h = f.white ? nearestBeep(onsets, f.ns) : std::nullopt)
                std::fprintf(stderr,
                             "flash %d at %.3f s: heard %+.2f ms (the player's own offset %+.2f ms)\n",
                             f.frame, double(f.ns - whole.playNs) / 1e9, double(*h - f.ns) / 1e6,
                             own.size() == whole.shown.size() ? own[i] / 1000.0 : NAN);
        }
        for (const Play& p : starts)
            std::fprintf(stderr, "%s from %d: first sound %.1f ms, first picture %.1f ms\n",
                         qPrintable(p.clip.section(QLatin1Char('/'), -1)), p.from, firstSoundMs(p, onsets),
                         firstPictureMs(p));
    }
    const Offsets minuteOffsets = flashOffsets(whole.shown, onsets);
    const std::vector<double> minuteAbs = magnitudes(minuteOffsets.signedMs);
    std::vector<double> deviceMs;
    for (int32_t us : whole.stats.offsetsUs)
        deviceMs.push_back(std::abs(us) / 1000.0);

    out << "Run of " << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
        << ", load average (1, 5, 15 min) " << loadBefore << " before and " << loadAfter
        << " after, on the shared 2-core machine; the monitor's stamps strayed from a straight line by "
        << ms(bench::stampJitterUs(heard) / 1000, 2) << " ms at p99 (" << heard.chunks.size() << " chunks, "
        << heard.holes << " samples lost).\n\n";
    out << "| Measure | Figure | Target | Verdict |\n|---|---|---|---|\n";
    const double p99 = percentile(minuteAbs, 99);
    out << "| A/V, 60-s play of the 320×240 PCM clip: \\|beep heard − flash shown\\| p50 / p99 / worst ("
        << minuteOffsets.signedMs.size() << " of " << minuteOffsets.flashes << " flashes with their beep) | "
        << ms(percentile(minuteAbs, 50), 2) << " / " << ms(p99, 2) << " / "
        << ms(percentile(minuteAbs, 100), 2) << " ms | p99 ≤ 15 ms | " << verdict(p99, 15) << " |\n";
    out << "| A/V, same play: heard − shown, p1 / p50 / p99 (positive: heard after shown) | "
        << ms(percentile(minuteOffsets.signedMs, 1), 2) << " / "
        << ms(percentile(minuteOffsets.signedMs, 50), 2) << " / "
        << ms(percentile(minuteOffsets.signedMs, 99), 2) << " ms | – | – |\n";
    out << "| Same play as the player sees it: \\|its sound clock − frame's time\\| p50 / p99 ("
        << whole.stats.presented << " frames shown, " << whole.stats.dropped << " dropped, "
        << whole.stats.late << " late) | " << ms(percentile(deviceMs, 50), 2) << " / "
        << ms(percentile(deviceMs, 99), 2) << " ms | – | – |\n";
    for (const auto& [clip, what] : {std::pair{lesson, "320×240 PCM, 61 s"},
                                     {minute, "64×48 MP3, 1 min"},
                                     {twoHours, "64×48 MP3, 2 h"}}) {
        std::vector<double> sound, picture;
        double first = NAN;
        Offsets av;
        for (const Play& p : starts)
            if (p.clip == clip) {
                sound.push_back(firstSoundMs(p, onsets));
                picture.push_back(firstPictureMs(p));
                if (std::isnan(first))
                    first = sound.back();
                const Offsets o = flashOffsets(p.shown, onsets);
                av.flashes += o.flashes;
                av.signedMs.insert(av.signedMs.end(), o.signedMs.begin(), o.signedMs.end());
            }
        const double worst = percentile(sound, 100);
        out << "| Play to first sound heard, " << what << ", " << sound.size()
            << " plays of 2 s: median / worst (the first, at once after Open) [first picture shown: median] "
               "| "
            << ms(percentile(sound, 50)) << " / " << ms(worst) << " (" << ms(first) << ") ["
            << ms(percentile(picture, 50)) << "] ms | ≤ 100 ms | " << verdict(worst, 100) << " |\n";
        out << "| A/V, the same plays: heard − shown p50, \\|heard − shown\\| p99 (" << av.signedMs.size()
            << " of " << av.flashes << " flashes with their beep) | " << ms(percentile(av.signedMs, 50), 2)
            << ", " << ms(percentile(magnitudes(av.signedMs), 99), 2) << " ms | – | – |\n";
    }
    for (const Row& r : rows) {
        out << "| Peak memory, `hacklewright-tool play` of 2 s of the " << r.what
            << ": no sound track / muted / with sound | " << ms(r.none.peakMb) << " / " << ms(r.muted.peakMb)
            << " / " << ms(r.withSound.peakMb) << " MiB | ≤ muted + 60 MiB | "
            << verdict(r.withSound.peakMb - r.muted.peakMb, 60) << " |\n";
        out << "| Time, the same plays (median of 3) | " << ms(r.none.wallS, 2) << " / "
            << ms(r.muted.wallS, 2) << " / " << ms(r.withSound.wallS, 2) << " s | ≤ muted + 0.5 s | "
            << verdict(r.withSound.wallS - r.muted.wallS, 0.5) << " |\n";
    }
    if (!why.isEmpty())
        out << "\nA play of the tool failed: " << why << "\n";
    out.flush();
    return 0;
}
