// sound_output_bench: what the sound server costs a play. Start (connecting included, and a
// play on a connection already made), the delay of a volume change at the sink's monitor,
// and the cost of a server that takes connections and never answers. Prints a Markdown report.
//   Run: eval "$(bash scripts/pulse-null-sink.sh)"; build/bench/media/sound_output_bench
// The recording is of the monitor of the sink "null" (the server the script starts).
#include "hw/media/SoundOutput.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kRounds = 10;

double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
double worst(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

// The monitor of the sink, recorded in small blocks on a thread of its own.
class Monitor {
public:
    Monitor()
    {
        const pa_sample_spec sampleSpec{PA_SAMPLE_S16NE, kRate, 2};
        const pa_buffer_attr attr{uint32_t(-1), uint32_t(-1), uint32_t(-1), uint32_t(-1), kRate / 100 * 4};
        int err = 0;
        stream_ = pa_simple_new(nullptr, "sound_output_bench", PA_STREAM_RECORD, "null.monitor", "monitor",
                                &sampleSpec, nullptr, &attr, &err);
        if (!stream_)
            return;
        thread_ = std::thread([this] {
            std::vector<int16_t> chunk(size_t(kRate / 100) * 2);
            while (!quit_) {
                if (pa_simple_read(stream_, chunk.data(), chunk.size() * sizeof(int16_t), nullptr) < 0)
                    return;
                std::lock_guard lock(m_);
                for (size_t i = 0; i < chunk.size(); i += 2)
                    left_.push_back(chunk[i]);
            }
        });
    }
    ~Monitor()
    {
        quit_ = true;
        if (thread_.joinable())
            thread_.join();
        if (stream_)
            pa_simple_free(stream_);
    }
    bool usable() const { return stream_ != nullptr; }
    size_t size() const
    {
        std::lock_guard lock(m_);
        return left_.size();
    }
    std::vector<int16_t> since(size_t from) const
    {
        std::lock_guard lock(m_);
        return {left_.begin() + long(std::min(from, left_.size())), left_.end()};
    }

private:
    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> quit_{false};
    mutable std::mutex m_;
    std::vector<int16_t> left_;
};

// Writes what the output takes of a steady tone.
void feedTone(hw::SoundOutput& out, int64_t& pos)
{
    std::vector<int16_t> block;
    size_t room = out.writable();
    while (room > 0) {
        const size_t n = std::min<size_t>(room, 1024);
        block.clear();
        for (size_t i = 0; i < n; ++i, ++pos) {
            const auto v = int16_t(std::lround(8000 * std::sin(2 * M_PI * 440 * double(pos) / kRate)));
            block.insert(block.end(), {v, v});
        }
        out.write(block.data(), n);
        room -= n;
    }
}

size_t firstLoud(const std::vector<int16_t>& v, size_t from = 0)
{
    for (size_t i = from; i < v.size(); ++i)
        if (std::abs(int(v[i])) > 1000)
            return i;
    return v.size();
}
// The first sample after which the next 10 ms are quiet.
size_t firstQuiet(const std::vector<int16_t>& v, size_t from)
{
    size_t run = 0;
    for (size_t i = from; i < v.size(); ++i) {
        run = std::abs(int(v[i])) < 50 ? run + 1 : 0;
        if (run == kRate / 100)
            return i + 1 - run;
    }
    return v.size();
}

// A socket that takes connections and never answers; -1 when it cannot be made.
int silentSocket(const QByteArray& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), addr.sun_path);
    if (fd >= 0
        && (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0 || ::listen(fd, 64) < 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void waitMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const hw::SoundFormat format;
    const auto never = [] { return false; };

    // Start: a new output asked at once (it connects first), and a play on a connection made.
    std::vector<double> firstBegin, nextBegin, firstHeard;
    for (int r = 0; r < kRounds; ++r) {
        Clock::time_point t = Clock::now();
        auto out = hw::makePulseSoundOutput();
        if (!out->begin(format, 100, never)) {
            std::printf("No sound server to measure against\n");
            return 1;
        }
        firstBegin.push_back(msSince(t));
        waitMs(100);
        t = Clock::now();
        out->begin(format, 100, never);
        nextBegin.push_back(msSince(t));
        int64_t pos = 0;
        while (out->heardUs() <= 0 && msSince(t) < 2000) {
            feedTone(*out, pos);
            waitMs(1);
        }
        firstHeard.push_back(msSince(t));
    }

    // A volume change mid-play: when the monitor goes quiet, against the time heard at the call.
    std::vector<double> muteDelay;
    Monitor monitor;
    if (!monitor.usable()) {
        std::printf("Cannot record null.monitor\n");
        return 1;
    }
    for (int r = 0; r < kRounds; ++r) {
        auto out = hw::makePulseSoundOutput();
        waitMs(300);
        const size_t mark = monitor.size();
        out->begin(format, 100, never);
        int64_t pos = 0;
        const Clock::time_point t = Clock::now();
        int64_t heard = 0;
        while ((heard = out->heardUs()) < 500000 && msSince(t) < 5000) {
            feedTone(*out, pos);
            waitMs(5);
        }
        out->setVolume(0);
        const int64_t heardAtMute = out->heardUs();
        for (int i = 0; i < 100; ++i) {
            feedTone(*out, pos);
            waitMs(5);
        }
        out->cut();
        const std::vector<int16_t> rec = monitor.since(mark);
        const size_t start = firstLoud(rec);
        const size_t quiet = firstQuiet(rec, start);
        if (start < rec.size() && quiet < rec.size())
            muteDelay.push_back(double(quiet - start) * 1000.0 / kRate - double(heardAtMute) / 1000.0);
    }

    // A server that takes connections and never answers.
    QTemporaryDir dir;
    const QByteArray path = (dir.path() + QStringLiteral("/native")).toUtf8();
    const int fd = silentSocket(path);
    if (fd < 0) {
        std::printf("Cannot make a silent socket\n");
        return 1;
    }
    qputenv("PULSE_SERVER", "unix:" + path);
    std::vector<double> hungFirst, hungNext, hungCut;
    {
        Clock::time_point t = Clock::now();
        auto out = hw::makePulseSoundOutput();
        out->begin(format, 100, never);
        hungFirst.push_back(msSince(t));
        for (int r = 0; r < kRounds; ++r) {
            t = Clock::now();
            auto next = hw::makePulseSoundOutput(); // the next clip's
            next->begin(format, 100, never);
            hungNext.push_back(msSince(t));
        }
    }
    ::close(fd);
    // A cut while begin() waits on such a server (a Stop): how long begin() takes after it.
    for (int r = 0; r < kRounds; ++r) {
        const QByteArray other = (dir.path() + QStringLiteral("/cut%1").arg(r)).toUtf8();
        const int ofd = silentSocket(other);
        qputenv("PULSE_SERVER", "unix:" + other);
        auto out = hw::makePulseSoundOutput();
        std::thread player([&] { out->begin(format, 100, never); });
        waitMs(300);
        const Clock::time_point cutAt = Clock::now();
        out->cut();
        player.join();
        hungCut.push_back(msSince(cutAt));
        ::close(ofd);
    }

    std::printf("| Measure | median (ms) | worst (ms) | rounds |\n|---|---|---|---|\n");
    const auto row = [](const char* what, const std::vector<double>& v) {
        std::printf("| %s | %.1f | %.1f | %zu |\n", what, median(v), worst(v), v.size());
    };
    row("begin() of a new output (connect + stream)", firstBegin);
    row("begin() on a connection made (stream)", nextBegin);
    row("begin() on a connection made to first time heard > 0", firstHeard);
    row("mute: monitor quiet after the time heard at setVolume(0)", muteDelay);
    row("begin(), server never answers, first output", hungFirst);
    row("begin(), server never answers, later outputs", hungNext);
    row("begin() waiting on such a server, from cut() to its return", hungCut);
    return 0;
}
