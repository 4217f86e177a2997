#include "hw/demo/DemoLibrary.h"
#include "hw/Narrow.h"

#include "DemoContent.h"
#include "IniText.h"
#include "LessonFrames.h"
#include "Narration.h"
#include "TourFrames.h"

#include "hw/artwork/Artwork.h"
#include "hw/artwork/BmpWriter.h"
#include "hw/clips/ClipWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace hw::demo {
namespace {

// Anything that can draw frame `index` of `count` of one clip segment.
using FrameSource = std::function<QImage(int index, int count, int32_t frameNumber)>;

struct Segment {
    int32_t first;
    int count;
    std::function<FrameSource()> make; // built on the worker thread that encodes it
};

// A step's narration said in a clip: its lines, one after another, start at frame `first`
// and must have ended before frame `end`.
struct Cue {
    int32_t first;
    int32_t end;
    std::vector<QString> lines;
};

// One line as the clip says it, in samples of its sound track.
struct Spoken {
    qsizetype from;
    qsizetype to;
    QString text;
};

struct VideoJob {
    QString path;
    int frameCount;
    std::vector<Segment> segments;
    std::vector<Cue> cues;
    bool chime = false; // the splash's sound instead of narration
};

// The sounds of every narration and of the splash, made before the clips are encoded.
struct Voices {
    std::map<QString, Sound> spoken;
    Sound chime;
};

int samplesPerFrame()
{
    return kSoundRate / demoPlan().framesPerSecond;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

template <typename Frames>
Segment segment(int32_t first, int count, std::function<Frames()> build)
{
    return {first, count, [build] {
                auto frames = std::make_shared<Frames>(build());
                return FrameSource([frames](int i, int n, int32_t f) { return frames->frame(i, n, f); });
            }};
}

// A lesson's clip: every topic in the right hand, then every topic again in the left
// (`offset` frames on), each drawn from the step `stepOf(topic index)` describes.
// Each topic says its narration in both hands.
VideoJob handedLessonJob(const QDir& root, const PlannedLesson& lesson, QSize size,
                         const std::function<LessonStep(int)>& stepOf,
                         const std::function<std::vector<QString>(int)>& narrationOf)
{
    VideoJob job{root.filePath(lesson.videoPath), lesson.frameCount, {}, {}};
    for (int hand = 0; hand < 2; ++hand)
        for (int i = 0; i < lesson.topics.size(); ++i) {
            const PlannedTopic& t = lesson.topics[i];
            const int32_t first = t.startFrame + hand * t.offset;
            job.segments.push_back(
                segment<LessonFrames>(first, t.stopFrame - t.startFrame + 1, [stepOf, i, hand, size] {
                    return LessonFrames(stepOf(i), hand == 1, size);
                }));
            job.cues.push_back({first + kNarrationLeadFrames,
                                first + (t.stopFrame - t.startFrame + 1) - kNarrationTailFrames,
                                narrationOf(i)});
        }
    return job;
}

std::vector<VideoJob> videoJobs(const QDir& root)
{
    const DemoPlan& plan = demoPlan();
    const QSize size = plan.frameSize;
    std::vector<VideoJob> jobs;

    for (size_t k = 0; k < patternSpecs().size(); ++k) {
        const PatternSpec& design = patternSpecs()[k];
        jobs.push_back(handedLessonJob(
            root, plan.patterns[static_cast<qsizetype>(k)], size,
            [&design](int i) { return patternStep(design, i); },
            [&design](int i) { return narrationLines(design, i); }));
    }
    jobs.push_back(handedLessonJob(
        root, plan.techniques, size,
        [](int i) { return techniqueStep(techniqueSpecs()[static_cast<size_t>(i)], i); },
        [](int i) { return narrationLines(techniqueSpecs()[static_cast<size_t>(i)]); }));

    {
        const PlannedLesson& lesson = plan.quickTour;
        VideoJob job{root.filePath(lesson.videoPath), lesson.frameCount, {}, {}};
        for (int i = 0; i < lesson.topics.size(); ++i) {
            const PlannedTopic& t = lesson.topics[i];
            const TourSpec& design = tourSpecs()[static_cast<size_t>(i)];
            job.segments.push_back(
                segment<TourFrames>(t.startFrame, t.stopFrame - t.startFrame + 1,
                                    [&design, i, size] { return TourFrames(design, i, size); }));
            job.cues.push_back({t.startFrame + kNarrationLeadFrames, t.stopFrame + 1 - kNarrationTailFrames,
                                narrationLines(design)});
        }
        jobs.push_back(std::move(job));
    }

    jobs.push_back({root.filePath(plan.splashPath),
                    plan.splashFrames,
                    {segment<SplashFrames>(0, plan.splashFrames, [size] { return SplashFrames(size); })},
                    {},
                    true});

    // Longest first, so that two workers finish at about the same time.
    std::stable_sort(jobs.begin(), jobs.end(),
                     [](const VideoJob& a, const VideoJob& b) { return a.frameCount > b.frameCount; });
    return jobs;
}

// The samples a cue's line may take: the cue's window less the pauses between its lines,
// shared among the lines as planned, so that lines that keep to their shares fit.
int lineAllowance(const Cue& cue, size_t line)
{
    double planned = 0;
    for (const QString& l : cue.lines)
        planned += lineSeconds(l);
    const qsizetype window = static_cast<qsizetype>(cue.end - cue.first) * samplesPerFrame()
        - static_cast<qsizetype>(kLinePauseSamples) * static_cast<qsizetype>(cue.lines.size() - 1);
    // A share of the window, which is a clip's samples: within an int.
    return static_cast<int>(static_cast<double>(window) * lineSeconds(cue.lines[line]) / planned);
}

// Speaks every line of the jobs once (a line said in several cues gets the smallest
// allowance of them) and makes the splash's chime.
bool makeVoices(const std::vector<VideoJob>& jobs, int threads, Voices* voices, QString* error)
{
    std::map<QString, int> window;
    for (const VideoJob& job : jobs)
        for (const Cue& cue : job.cues)
            for (size_t i = 0; i < cue.lines.size(); ++i) {
                const int samples = lineAllowance(cue, i);
                const auto it = window.find(cue.lines[i]);
                window[cue.lines[i]] = it == window.end() ? samples : std::min(it->second, samples);
            }
    std::vector<Utterance> lines;
    for (const auto& [text, samples] : window)
        lines.push_back({text, samples});
    std::vector<Sound> sounds;
    if (!speak(lines, &sounds, threads, error))
        return false;
    for (size_t i = 0; i < lines.size(); ++i)
        voices->spoken[lines[i].text] = std::move(sounds[i]);
    return makeChime(1.5, &voices->chime, error);
}

// The clip's whole sound track: silence with the narrations (or the chime) laid in; *said
// gets where each line is heard.
Sound soundTrack(const VideoJob& job, const Voices& voices, std::vector<Spoken>* said)
{
    const size_t perFrame = static_cast<size_t>(samplesPerFrame());
    Sound track(static_cast<size_t>(job.frameCount) * perFrame, 0);
    auto lay = [&](size_t at, const Sound& sound) {
        std::copy_n(sound.begin(), std::min(sound.size(), track.size() - std::min(at, track.size())),
                    track.begin() + static_cast<qsizetype>(at));
    };
    if (job.chime)
        lay(3 * perFrame, voices.chime);
    for (const Cue& cue : job.cues) {
        size_t at = static_cast<size_t>(cue.first) * perFrame;
        for (const QString& line : cue.lines) {
            const Sound& sound = voices.spoken.at(line);
            lay(at, sound);
            said->push_back({static_cast<qsizetype>(at), static_cast<qsizetype>(at + sound.size()), line});
            at += sound.size() + static_cast<size_t>(kLinePauseSamples);
        }
    }
    return track;
}

QString srtTime(qsizetype sample)
{
    const qint64 ms = static_cast<qint64>(sample) * 1000 / kSoundRate;
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// The captions of a clip in SubRip form: one cue for each line, while it is heard.
QByteArray subRip(const std::vector<Spoken>& said)
{
    QString text;
    for (size_t i = 0; i < said.size(); ++i)
        text += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                    .arg(i + 1)
                    .arg(srtTime(said[i].from), srtTime(said[i].to), said[i].text);
    return text.toUtf8();
}

// The caption file beside a clip: its name with .srt for the extension.
QString captionPath(const QString& videoPath)
{
    const QFileInfo video(videoPath);
    return video.dir().filePath(video.completeBaseName() + QStringLiteral(".srt"));
}

bool encode(const VideoJob& job, const Voices& voices, const std::atomic<bool>& cancelled, QString* error)
{
    QDir().mkpath(QFileInfo(job.path).absolutePath());
    ClipFormat format;
    format.codec = QStringLiteral("mjpeg");
    format.size = demoPlan().frameSize;
    format.framesPerSecond = demoPlan().framesPerSecond;
    format.soundRate = kSoundRate;
    std::vector<Spoken> said;
    const Sound track = soundTrack(job, voices, &said);
    const int perFrame = samplesPerFrame();
    if (!said.empty() && !writeFile(captionPath(job.path), subRip(said), error))
        return false;
    ClipWriter writer;
    if (!writer.open(job.path, format)) {
        *error = writer.errorText();
        return false;
    }
    int32_t next = 0;
    for (const Segment& s : job.segments) {
        if (cancelled)
            return false;
        if (s.first != next) {
            *error = QStringLiteral("%1: frame %2 planned out of order").arg(job.path).arg(s.first);
            return false;
        }
        const FrameSource source = s.make();
        for (int i = 0; i < s.count; ++i) {
            // each frame's sound follows it, so that the two lie interleaved in the file
            const int32_t frame = next++;
            if (!writer.addFrame(source(i, s.count, frame))
                || !writer.addSound(track.data() + static_cast<qsizetype>(frame) * perFrame, perFrame)) {
                *error = writer.errorText();
                return false;
            }
        }
    }
    if (!writer.finish()) {
        *error = writer.errorText();
        return false;
    }
    if (writer.framesWritten() != job.frameCount) {
        *error = QStringLiteral("%1: wrote %2 frames, planned %3")
                     .arg(job.path)
                     .arg(writer.framesWritten())
                     .arg(job.frameCount);
        return false;
    }
    return true;
}

} // namespace

bool makeDemoLibrary(const QString& dir, DemoReport* report, QString* error, int threads)
{
    QElapsedTimer clock;
    clock.start();
    QString ignored;
    if (!error)
        error = &ignored;
    const QDir root(dir);
    if (root.exists()
        && !root.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        *error = QStringLiteral("%1 is not empty; make the demo library in a new folder").arg(dir);
        return false;
    }
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("Cannot create %1").arg(dir);
        return false;
    }

    const DemoPlan& plan = demoPlan();
    int files = 0;
    for (size_t k = 0; k < patternSpecs().size(); ++k) {
        const PatternSpec& design = patternSpecs()[k];
        const PlannedLesson& lesson = plan.patterns[static_cast<qsizetype>(k)];
        if (!writeFile(root.filePath(lesson.iniPath), patternIni(design, lesson), error)
            || !writeBmp24(renderFlyPicture(design.kind, QSize(120, 80)), root.filePath(lesson.picturePath),
                           kScreenPixelsPerMetre, error))
            return false;
        files += 2;
    }
    if (!writeFile(root.filePath(plan.quickTour.iniPath), sectionIni(plan.quickTour), error)
        || !writeFile(root.filePath(plan.techniques.iniPath), sectionIni(plan.techniques), error))
        return false;
    files += 2;

    const std::vector<VideoJob> jobs = videoJobs(root);
    const int workers = std::clamp(threads > 0 ? threads : QThread::idealThreadCount(), 1, intSize(jobs));
    Voices voices;
    if (!makeVoices(jobs, workers, &voices, error))
        return false;
    std::atomic<size_t> nextJob{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    auto work = [&] {
        for (size_t j = nextJob++; j < jobs.size() && !failed; j = nextJob++) {
            QString message;
            if (!encode(jobs[j], voices, failed, &message)) {
                std::lock_guard<std::mutex> lock(errorLock);
                if (!failed.exchange(true))
                    *error = message;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < workers; ++i)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    if (failed)
        return false;

    if (report) {
        report->videos = intSize(jobs);
        report->files = files + report->videos;
        for (const VideoJob& j : jobs)
            report->files += j.cues.empty() ? 0 : 1; // its captions
        report->frames = 0;
        for (const VideoJob& j : jobs)
            report->frames += j.frameCount;
        report->threads = workers;
        report->milliseconds = clock.elapsed();
    }
    return true;
}

} // namespace hw::demo
