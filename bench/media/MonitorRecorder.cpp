#include "MonitorRecorder.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>
#include <thread>

namespace bench {

int64_t monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct MonitorRecorder::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    mutable std::mutex recordingMutex; // taken under the main loop's lock, never around it
    Recording recording;

    // The main loop's thread: takes what the server has recorded, chunk by chunk.
    static void onRead(pa_stream* s, size_t, void* self)
    {
        auto* st = static_cast<State*>(self);
        const void* data = nullptr;
        size_t bytes = 0;
        while (pa_stream_readable_size(s) > 0 && pa_stream_peek(s, &data, &bytes) == 0 && bytes > 0) {
            // Before the drop, the stream's read index is this chunk's first sample: the latency
            // is how long ago that sample was at the source's "now".
            const int64_t now = monotonicNs();
            pa_usec_t latency = 0;
            int negative = 0;
            const bool timed = pa_stream_get_latency(s, &latency, &negative) == 0;
            const size_t frames = bytes / (2 * sizeof(int16_t));
            {
                std::lock_guard lock(st->recordingMutex);
                Recording& r = st->recording;
                const auto first = int64_t(r.left.size());
                if (data) {
                    const auto* v = static_cast<const int16_t*>(data);
                    for (size_t i = 0; i < frames; ++i)
                        r.left.push_back(v[2 * i]);
                } else {
                    r.left.insert(r.left.end(), frames, 0);
                    r.holes += int64_t(frames);
                }
                if (timed) {
                    const auto us = int64_t(latency) * 1000;
                    r.chunks.push_back({first, negative ? now + us : now - us});
                }
            }
            pa_stream_drop(s);
        }
    }
};

namespace {

// Waits (polling, so that a server that never answers cannot hold the benchmark) until ready()
// is true or failed() is; false on failure or after 5 s.
template <typename Ready, typename Failed>
bool waitFor(pa_threaded_mainloop* loop, Ready ready, Failed failed)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
        pa_threaded_mainloop_lock(loop);
        const bool r = ready(), f = failed();
        pa_threaded_mainloop_unlock(loop);
        if (r || f)
            return r;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

MonitorRecorder::MonitorRecorder(const QString& source)
    : d(std::make_unique<State>())
{
    d->loop = pa_threaded_mainloop_new();
    d->context = pa_context_new(pa_threaded_mainloop_get_api(d->loop), "av_bench");
    if (!d->context || pa_context_connect(d->context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0
        || pa_threaded_mainloop_start(d->loop) < 0) {
        why_ = QStringLiteral("cannot reach the sound server");
        return;
    }
    pa_context* c = d->context;
    if (!waitFor(
            d->loop, [c] { return pa_context_get_state(c) == PA_CONTEXT_READY; },
            [c] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(c)); })) {
        why_ = QStringLiteral("the sound server did not answer");
        return;
    }
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, uint32_t(kRate), 2};
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(pa_usec_to_bytes(10 * PA_USEC_PER_MSEC, &sampleFormat)); // 10 ms chunks
    const QByteArray name = source.toUtf8();
    pa_threaded_mainloop_lock(d->loop);
    d->stream = pa_stream_new(c, "av_bench monitor", &sampleFormat, nullptr);
    if (d->stream) {
        pa_stream_set_read_callback(d->stream, &State::onRead, d.get());
        pa_stream_connect_record(d->stream, name.constData(), &attr,
                                 pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE
                                                   | PA_STREAM_ADJUST_LATENCY));
    }
    pa_threaded_mainloop_unlock(d->loop);
    pa_stream* s = d->stream;
    if (!s
        || !waitFor(
            d->loop, [s] { return pa_stream_get_state(s) == PA_STREAM_READY; },
            [s] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(s)); }))
        why_ = QStringLiteral("cannot record %1").arg(source);
}

MonitorRecorder::~MonitorRecorder()
{
    if (!d->loop)
        return;
    pa_threaded_mainloop_lock(d->loop);
    if (d->stream) {
        pa_stream_set_read_callback(d->stream, nullptr, nullptr);
        pa_stream_disconnect(d->stream);
        pa_stream_unref(d->stream);
    }
    if (d->context) {
        pa_context_disconnect(d->context);
        pa_context_unref(d->context);
    }
    pa_threaded_mainloop_unlock(d->loop);
    pa_threaded_mainloop_stop(d->loop);
    pa_threaded_mainloop_free(d->loop);
}

MonitorRecorder::Recording MonitorRecorder::snapshot() const
{
    std::lock_guard lock(d->recordingMutex);
    return d->recording;
}

namespace {
double sampleNs(int64_t sample)
{
    return double(sample) * 1e9 / MonitorRecorder::kRate;
}
} // namespace

int64_t playedAtNs(const MonitorRecorder::Recording& rec, int64_t sample)
{
    const auto& c = rec.chunks;
    if (c.empty())
        return 0;
    const auto byFirst = [](const MonitorRecorder::Chunk& k, int64_t s) { return k.firstSample < s; };
    const int64_t reach = 5 * MonitorRecorder::kRate;
    auto lo = std::lower_bound(c.begin(), c.end(), sample - reach, byFirst);
    auto hi = std::lower_bound(c.begin(), c.end(), sample + reach, byFirst);
    if (lo == hi) { // no chunk near: the nearest one
        lo = hi == c.end() ? hi - 1 : hi;
        hi = lo + 1;
    }
    std::vector<double> base;
    for (auto k = lo; k != hi; ++k)
        base.push_back(double(k->stampNs) - sampleNs(k->firstSample));
    std::nth_element(base.begin(), base.begin() + long(base.size() / 2), base.end());
    return std::llround(base[base.size() / 2] + sampleNs(sample));
}

double stampJitterUs(const MonitorRecorder::Recording& rec)
{
    const auto& c = rec.chunks;
    if (c.size() < 3)
        return 0;
    // Least squares of stamp on sample, relative to the first chunk to keep the doubles exact.
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    const auto n = double(c.size());
    for (const auto& k : c) {
        const double x = double(k.firstSample - c[0].firstSample), y = double(k.stampNs - c[0].stampNs);
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double icpt = (sy - slope * sx) / n;
    std::vector<double> dev;
    for (const auto& k : c)
        dev.push_back(std::abs(double(k.stampNs - c[0].stampNs)
                               - (icpt + slope * double(k.firstSample - c[0].firstSample)))
                      / 1000);
    std::sort(dev.begin(), dev.end());
    return dev[std::min(dev.size() - 1, size_t(0.99 * double(dev.size() - 1) + 0.5))];
}

} // namespace bench
