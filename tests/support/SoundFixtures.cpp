#include "SoundFixtures.h"

#include "BuiltTools.h"
#include "MediaFixtures.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace hw::test {

namespace {
constexpr int kQuiet = 50; // below this a sample counts as silence

int markOf(int16_t v)
{
    const int a = std::abs(int(v));
    return a < kQuiet ? -1 : (a + 50) / 100 - 1;
}

bool run(const QString& program, const QStringList& args, QString* out = nullptr)
{
    const ProcessRun done = runProcess(program, args, QProcessEnvironment::systemEnvironment(), {}, 60000);
    if (out)
        *out = done.text();
    return done.exitCode == 0;
}
} // namespace

std::vector<int16_t> markedSound(int frames)
{
    std::vector<int16_t> s;
    for (int k = 0; k < frames; ++k)
        for (int i = 0; i < kSamplesPerFrame; ++i) {
            const auto v = int16_t(((i / 4) % 2 ? 1 : -1) * (k + 1) * 100);
            s.insert(s.end(), {v, v});
        }
    return s;
}

std::vector<int16_t> toneSound(int frames, double hz)
{
    std::vector<int16_t> s;
    const int n = frames * kSamplesPerFrame;
    for (int i = 0; i < n; ++i) {
        const auto v = int16_t(std::lround(8000 * std::sin(2 * M_PI * hz * i / kSoundRate)));
        s.insert(s.end(), {v, v});
    }
    return s;
}

bool writeSoundClip(const QString& path, int frames, const std::vector<int16_t>& sound,
                    const QString& audioCodec)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("video.avi"));
    const QString raw = dir.filePath(QStringLiteral("sound.raw"));
    if (!haveFfmpeg() || !writeStampedClip(video, ClipFormat{}, frames))
        return false;
    QFile f(raw);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(reinterpret_cast<const char*>(sound.data()), qint64(sound.size() * sizeof(int16_t)));
    f.close();
    return run(QStringLiteral("ffmpeg"),
               {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-i"),
                video, QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-ar"),
                QString::number(kSoundRate), QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-i"),
                raw, QStringLiteral("-c:v"), QStringLiteral("copy"), QStringLiteral("-c:a"), audioCodec,
                path});
}

bool ffmpeg(const QStringList& args)
{
    return run(QStringLiteral("ffmpeg"),
               QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y")} + args);
}

bool muxSoundClip(const QString& path, int frames, const QStringList& soundInput,
                  const QStringList& soundCodec)
{
    QTemporaryDir dir;
    const QString video = dir.filePath(QStringLiteral("video.avi"));
    if (!haveFfmpeg() || !writeStampedClip(video, ClipFormat{}, frames))
        return false;
    return ffmpeg(QStringList{QStringLiteral("-i"), video} + soundInput
                  + QStringList{QStringLiteral("-map"), QStringLiteral("0:v"), QStringLiteral("-map"),
                                QStringLiteral("1:a"), QStringLiteral("-c:v"), QStringLiteral("copy")}
                  + soundCodec + QStringList{path});
}

struct RecordedSink::Recorder {
    pa_simple* stream = nullptr;
    std::thread thread;
    std::atomic<bool> quit{false};
    mutable std::mutex samplesMutex;
    std::vector<int16_t> samples;
};

RecordedSink::RecordedSink()
{
    static int count = 0;
    const QString name = QStringLiteral("hwtest_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
    if (!run(QStringLiteral("pactl"),
             {QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
              QStringLiteral("sink_name=") + name},
             &module_)) {
        why_ = QStringLiteral(
            "no sound server (pactl cannot load a null sink); run scripts/pulse-null-sink.sh");
        return;
    }
    rec_ = std::make_unique<Recorder>();
    const pa_sample_spec sampleSpec{PA_SAMPLE_S16NE, uint32_t(kSoundRate), 2};
    pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1),
                        uint32_t(kSoundRate / 100 * 4)};
    const QByteArray monitor = (name + QStringLiteral(".monitor")).toUtf8();
    int err = 0;
    rec_->stream = pa_simple_new(nullptr, "hw tests", PA_STREAM_RECORD, monitor.constData(), "monitor",
                                 &sampleSpec, nullptr, &attr, &err);
    if (!rec_->stream) {
        why_ = QStringLiteral("cannot record %1: %2").arg(name, QString::fromUtf8(pa_strerror(err)));
        return;
    }
    rec_->thread = std::thread([r = rec_.get()] {
        std::vector<int16_t> chunk(size_t(kSoundRate / 100) * 2);
        while (!r->quit) {
            if (pa_simple_read(r->stream, chunk.data(), chunk.size() * sizeof(int16_t), nullptr) < 0)
                return;
            std::lock_guard lock(r->samplesMutex);
            r->samples.insert(r->samples.end(), chunk.begin(), chunk.end());
        }
    });
    name_ = name;
    qputenv("PULSE_SINK", name.toUtf8());
    waitForMore(kSoundRate / 20); // recording runs
}

RecordedSink::~RecordedSink()
{
    if (rec_) {
        rec_->quit = true;
        if (rec_->thread.joinable())
            rec_->thread.join();
        if (rec_->stream)
            pa_simple_free(rec_->stream);
    }
    if (!module_.isEmpty())
        run(QStringLiteral("pactl"), {QStringLiteral("unload-module"), module_});
    qunsetenv("PULSE_SINK");
}

int64_t RecordedSink::recorded() const
{
    if (!rec_)
        return 0;
    std::lock_guard lock(rec_->samplesMutex);
    return int64_t(rec_->samples.size() / 2);
}

bool RecordedSink::waitForMore(int64_t frames)
{
    const int64_t target = recorded() + frames;
    return waitFor([&] { return recorded() >= target; });
}

std::vector<int16_t> RecordedSink::left(int64_t from) const
{
    std::vector<int16_t> out;
    if (!rec_)
        return out;
    std::lock_guard lock(rec_->samplesMutex);
    for (size_t i = size_t(from) * 2; i < rec_->samples.size(); i += 2)
        out.push_back(rec_->samples[i]);
    return out;
}

SilentServer::SilentServer()
{
    const QByteArray path = QFile::encodeName(dir_.filePath(QStringLiteral("native")));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (!dir_.isValid() || size_t(path.size()) >= sizeof(addr.sun_path))
        return;
    std::copy(path.begin(), path.end(), addr.sun_path);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    // Never accepted: the listen queue takes the connection, and nothing ever answers it.
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0
        || ::listen(fd_, 16) < 0) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
}

SilentServer::~SilentServer()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QString SilentServer::address() const
{
    return fd_ < 0 ? QString() : QStringLiteral("unix:") + dir_.filePath(QStringLiteral("native"));
}

PrivateServer::PrivateServer()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir_.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir_.filePath(QStringLiteral("pulse")));
    env.remove(QStringLiteral("PULSE_SERVER"));
    daemon_.setProcessEnvironment(env);
    daemon_.setStandardOutputFile(QProcess::nullDevice());
    daemon_.setStandardErrorFile(QProcess::nullDevice());
}

PrivateServer::~PrivateServer()
{
    kill();
}

QString PrivateServer::address() const
{
    return QStringLiteral("unix:") + dir_.filePath(QStringLiteral("native"));
}

bool PrivateServer::start()
{
    daemon_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                   QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error"),
                   QStringLiteral("--load=module-null-sink"),
                   QStringLiteral("--load=module-native-protocol-unix socket=")
                       + dir_.filePath(QStringLiteral("native"))});
    if (!daemon_.waitForStarted())
        return false;
    const QByteArray previous = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", address().toUtf8());
    const bool up = waitFor([&] {
        return daemon_.state() != QProcess::Running || run(QStringLiteral("pactl"), {QStringLiteral("info")});
    });
    qputenv("PULSE_SERVER", previous);
    return up && daemon_.state() == QProcess::Running;
}

void PrivateServer::kill()
{
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.kill();
    daemon_.waitForFinished();
}

int playingStreams()
{
    QString list;
    if (!run(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")}, &list))
        return -1;
    const QString pid
        = QStringLiteral("application.process.id = \"%1\"").arg(QCoreApplication::applicationPid());
    int playing = 0;
    for (const QString& input : list.split(QStringLiteral("Sink Input #"), Qt::SkipEmptyParts))
        if (input.contains(pid) && input.contains(QStringLiteral("Corked: no")))
            ++playing;
    return playing;
}

std::map<int, int> heardFrames(const std::vector<int16_t>& left)
{
    std::map<int, int> heard;
    for (const int16_t v : left)
        if (const int k = markOf(v); k >= 0)
            ++heard[k];
    return heard;
}

std::vector<int> heardOrder(const std::vector<int16_t>& left)
{
    // A frame counts once it has sounded for a while: a few samples are a transition.
    std::vector<int> order;
    int current = -1, run = 0;
    for (const int16_t v : left) {
        const int k = markOf(v);
        run = k == current ? run + 1 : 1;
        current = k;
        if (k >= 0 && run == 64 && (order.empty() || order.back() != k))
            order.push_back(k);
    }
    return order;
}

int64_t soundingSpan(const std::vector<int16_t>& left)
{
    int64_t first = -1, last = -1;
    for (size_t i = 0; i < left.size(); ++i)
        if (std::abs(int(left[i])) >= kQuiet) {
            if (first < 0)
                first = int64_t(i);
            last = int64_t(i);
        }
    return first < 0 ? 0 : last - first + 1;
}

double toneFrequency(const std::vector<int16_t>& left)
{
    int64_t first = -1, last = -1, crossings = 0;
    for (size_t i = 1; i < left.size(); ++i)
        if ((left[i - 1] < 0) != (left[i] < 0) && std::abs(int(left[i])) + std::abs(int(left[i - 1])) > 200) {
            if (first < 0)
                first = int64_t(i);
            last = int64_t(i);
            ++crossings;
        }
    return crossings < 3 ? 0 : double(crossings - 1) / 2 / (double(last - first) / kSoundRate);
}

} // namespace hw::test
