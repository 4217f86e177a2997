#include "PulseSoundInput.h"

#include "hw/Narrow.h"

#include <pulse/pulseaudio.h>

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

namespace hw::listen {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kServerPatience = std::chrono::seconds(2);
constexpr int kRate = 16000;
// Small fragments: a spoken command is acted on as soon as its end has been heard.
constexpr uint32_t kFragmentBytes = kRate / 50 * 2; // 20 ms

int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

} // namespace

PulseSoundInput::PulseSoundInput()
    : loop_(pa_mainloop_new())
{ }

PulseSoundInput::~PulseSoundInput()
{
    if (stream_) {
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_)
        pa_mainloop_free(loop_);
}

bool PulseSoundInput::iterate(int timeoutMs)
{
    if (interrupted_ || pa_mainloop_prepare(loop_, timeoutMs * 1000) < 0 || pa_mainloop_poll(loop_) < 0
        || pa_mainloop_dispatch(loop_) < 0)
        return false;
    return !interrupted_;
}

bool PulseSoundInput::open()
{
    if (!loop_)
        return false;
    const std::string server = qEnvironmentVariable("PULSE_SERVER").toStdString();
    context_ = pa_context_new(pa_mainloop_get_api(loop_), "Hacklewright spoken commands");
    if (!context_
        || pa_context_connect(context_, server.empty() ? nullptr : server.c_str(), PA_CONTEXT_NOAUTOSPAWN,
                              nullptr)
            < 0)
        return false;
    const auto giveUpAt = Clock::now() + kServerPatience;
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY)
            break;
        if (!PA_CONTEXT_IS_GOOD(state) || Clock::now() >= giveUpAt || !iterate(20))
            return false;
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, kRate, 1};
    stream_ = pa_stream_new(context_, "Listening for spoken commands", &format, nullptr);
    if (!stream_)
        return false;
    pa_buffer_attr attr;
    attr.maxlength = static_cast<uint32_t>(-1); // -1: the server's choice
    attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = kFragmentBytes;
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING
                                         | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_record(stream_, nullptr, &attr, flags) < 0)
        return false;
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(stream_);
        if (state == PA_STREAM_READY)
            return true;
        if (!PA_STREAM_IS_GOOD(state) || Clock::now() >= giveUpAt || !iterate(20))
            return false;
    }
}

bool PulseSoundInput::read(std::vector<int16_t>& out, int64_t& heardUs)
{
    if (!stream_)
        return false;
    const auto giveUpAt = Clock::now() + std::chrono::milliseconds(100);
    while (pa_stream_readable_size(stream_) == 0) {
        if (pa_stream_get_state(stream_) != PA_STREAM_READY
            || pa_context_get_state(context_) != PA_CONTEXT_READY)
            return false;
        if (Clock::now() >= giveUpAt)
            return true;
        if (!iterate(20))
            return false;
    }
    // How long ago the oldest sample not yet read was heard.
    pa_usec_t latency = 0;
    int negative = 0;
    if (pa_stream_get_latency(stream_, &latency, &negative) < 0 || negative)
        latency = 0;
    heardUs = nowUs() - clamped<int64_t>(latency);
    while (pa_stream_readable_size(stream_) > 0) {
        const void* data = nullptr;
        size_t bytes = 0;
        if (pa_stream_peek(stream_, &data, &bytes) < 0)
            return false;
        if (bytes == 0)
            break;
        const size_t at = out.size();
        out.resize(at + bytes / 2);
        if (data)
            std::memcpy(out.data() + at, data, bytes / 2 * 2);
        else
            std::fill(out.begin() + static_cast<std::ptrdiff_t>(at), out.end(), int16_t{0}); // a hole
        pa_stream_drop(stream_);
    }
    return true;
}

void PulseSoundInput::interrupt()
{
    interrupted_ = true;
    if (loop_)
        pa_mainloop_wakeup(loop_);
}

} // namespace hw::listen
