// Sound through the desktop's sound server with libpulse's threaded main loop. All pulse
// calls are made under the main loop's lock; its callbacks only record states and wake
// whoever waits.
#include "hw/media/SoundOutput.h"

#include "SoundLog.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

Q_LOGGING_CATEGORY(lcSound, "hw.media.sound", QtInfoMsg)

namespace hw {

namespace {

constexpr pa_usec_t kConnectTimeoutUs = 3 * PA_USEC_PER_SEC; // a server that does not answer
// Room for the worker to be late with its writes on a busy machine; a command still cuts
// at once, and the clock accounts for the latency.
constexpr pa_usec_t kTargetLatencyUs = 300 * PA_USEC_PER_MSEC;

class Locked {
public:
    explicit Locked(pa_threaded_mainloop* loop)
        : loop_(loop)
    {
        pa_threaded_mainloop_lock(loop_);
    }
    ~Locked() { pa_threaded_mainloop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

class PulseSoundOutput : public SoundOutput {
public:
    PulseSoundOutput()
        : loop_(pa_threaded_mainloop_new())
    { }
    PulseSoundOutput(const PulseSoundOutput&) = delete;
    PulseSoundOutput& operator=(const PulseSoundOutput&) = delete;
    ~PulseSoundOutput() override
    {
        if (!loop_)
            return;
        {
            Locked lock(loop_);
            dropStream();
            if (context_) {
                pa_context_set_state_callback(context_, nullptr, nullptr);
                pa_context_disconnect(context_);
                pa_context_unref(context_);
                context_ = nullptr;
            }
        }
        if (started_)
            pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }

    bool begin(const SoundFormat& format, int volumePercent, const std::function<bool()>& overtaken) override
    {
        if (dead_ || !connect())
            return false;
        Locked lock(loop_);
        dropStream();
        if (overtaken() || !contextUsable())
            return false;
        const uint64_t epoch = epoch_;
        pa_sample_spec sampleSpec{PA_SAMPLE_S16NE, uint32_t(format.rate), uint8_t(format.channels)};
        frameBytes_ = pa_frame_size(&sampleSpec);
        written_ = 0;
        gapUs_ = 0;
        heardBefore_ = 0;
        timingAsked_ = false;
        stream_ = pa_stream_new(context_, "Lesson video", &sampleSpec, nullptr);
        if (!stream_)
            return failed("cannot make a stream");
        pa_stream_set_state_callback(stream_, &PulseSoundOutput::signal, this);
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = uint32_t(pa_usec_to_bytes(kTargetLatencyUs, &sampleSpec));
        // No start threshold: the stream starts with its first write (it is made corked)
        // and never stops to refill. A late write then loses its late part, rather than
        // holding the clock, and with it the pictures, until the buffer is full again.
        attr.prebuf = 0;
        attr.minreq = uint32_t(-1);
        attr.fragsize = uint32_t(-1);
        pa_cvolume volume;
        pa_cvolume_set(&volume, sampleSpec.channels, toVolume(volumePercent));
        const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE
                                             | PA_STREAM_ADJUST_LATENCY | PA_STREAM_NOT_MONOTONIC
                                             | PA_STREAM_START_CORKED);
        corked_ = true;
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, &volume, nullptr) < 0)
            return failed(pa_strerror(pa_context_errno(context_)));
        for (;;) {
            if (epoch != epoch_ || !stream_ || overtaken()) {
                dropStream();
                return false;
            }
            const pa_stream_state_t state = pa_stream_get_state(stream_);
            if (state == PA_STREAM_READY)
                return true;
            if (!PA_STREAM_IS_GOOD(state))
                return failed(pa_strerror(pa_context_errno(context_)));
            pa_threaded_mainloop_wait(loop_);
        }
    }

    size_t writable() override
    {
        if (!loop_)
            return 0;
        Locked lock(loop_);
        if (!streamUsable())
            return 0;
        const size_t bytes = pa_stream_writable_size(stream_);
        return bytes == size_t(-1) ? 0 : bytes / frameBytes_;
    }

    void write(const int16_t* frames, size_t count) override
    {
        if (!loop_)
            return;
        Locked lock(loop_);
        if (!streamUsable())
            return;
        pa_stream_write(stream_, frames, count * frameBytes_, nullptr, 0, PA_SEEK_RELATIVE);
        written_ += count * frameBytes_;
        if (corked_) {
            corked_ = false;
            if (pa_operation* op = pa_stream_cork(stream_, 0, nullptr, nullptr))
                pa_operation_unref(op);
        }
    }

    void endOfData() override
    {
        if (!loop_)
            return;
        Locked lock(loop_);
        // A corked stream (a play shorter than the first write) starts now.
        if (streamUsable() && corked_) {
            corked_ = false;
            if (pa_operation* op = pa_stream_cork(stream_, 0, nullptr, nullptr))
                pa_operation_unref(op);
        }
    }

    int64_t heardUs() override
    {
        if (!loop_)
            return -1;
        Locked lock(loop_);
        if (!stream_)
            return -1;
        if (!streamUsable()) {
            lost();
            return -1;
        }
        // The library runs the stream's time on by the local clock from the server's last
        // report, even while the server has not started it (a sink may take a while to fit
        // a new stream in): until a report says it plays, the time stands still and fresh
        // reports are asked for.
        const pa_timing_info* playing = pa_stream_get_timing_info(stream_);
        if (!playing || !playing->playing) {
            if (!timingAsked_) {
                timingAsked_ = true;
                if (pa_operation* op
                    = pa_stream_update_timing_info(stream_, &PulseSoundOutput::timingCame, this))
                    pa_operation_unref(op);
            }
            return heardBefore_;
        }
        pa_usec_t usec = 0;
        if (pa_stream_get_time(stream_, &usec) < 0)
            return heardBefore_; // no timing information yet
        // When the stream runs dry the server plays silence and moves the stream's write
        // position on by as much, so that what comes later plays later: its time then runs
        // ahead of the sound written by that gap. What is heard is the time less the gaps.
        const pa_sample_spec* sampleSpec = pa_stream_get_sample_spec(stream_);
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        if (timing && !timing->write_index_corrupt && timing->write_index >= 0)
            gapUs_ = int64_t(pa_bytes_to_usec(uint64_t(timing->write_index), sampleSpec))
                - int64_t(pa_bytes_to_usec(written_, sampleSpec));
        heardBefore_ = std::max<int64_t>(0, int64_t(usec) - std::max<int64_t>(gapUs_, 0));
        return heardBefore_;
    }

    void setVolume(int percent) override
    {
        if (!loop_)
            return;
        Locked lock(loop_);
        if (!streamUsable())
            return;
        pa_cvolume volume;
        pa_cvolume_set(&volume, pa_stream_get_sample_spec(stream_)->channels, toVolume(percent));
        if (pa_operation* op = pa_context_set_sink_input_volume(context_, pa_stream_get_index(stream_),
                                                                &volume, nullptr, nullptr))
            pa_operation_unref(op);
    }

    void cut() override
    {
        if (!loop_)
            return;
        Locked lock(loop_);
        ++epoch_;
        dropStream();
        pa_threaded_mainloop_signal(loop_, 0);
    }

private:
    static void signal(pa_stream*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<PulseSoundOutput*>(self)->loop_, 0);
    }
    static void contextSignal(pa_context*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<PulseSoundOutput*>(self)->loop_, 0);
    }
    static void timingCame(pa_stream*, int, void* self)
    {
        static_cast<PulseSoundOutput*>(self)->timingAsked_ = false;
    }
    static void timedOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
    {
        auto* out = static_cast<PulseSoundOutput*>(self);
        out->connectTimedOut_ = true;
        pa_threaded_mainloop_signal(out->loop_, 0);
    }

    static pa_volume_t toVolume(int percent)
    {
        return pa_volume_t(uint64_t(PA_VOLUME_NORM) * uint64_t(std::clamp(percent, 0, 100)) / 100);
    }

    // Connects once; false (with one line to the log) when there is no server to be had.
    bool connect()
    {
        if (context_)
            return true;
        started_ = loop_ && pa_threaded_mainloop_start(loop_) >= 0;
        if (!started_) {
            dead_ = true;
            qCWarning(lcSound, "No sound: cannot start the sound client; pictures play silently");
            return false;
        }
        Locked lock(loop_);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        context_ = pa_context_new(api, "Hacklewright");
        if (!context_)
            return failed("cannot make a client");
        pa_context_set_state_callback(context_, &PulseSoundOutput::contextSignal, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return failed(pa_strerror(pa_context_errno(context_)));
        pa_time_event* timer = api->time_new(api, nullptr, &PulseSoundOutput::timedOut, this);
        struct timeval when;
        pa_timeval_add(pa_gettimeofday(&when), kConnectTimeoutUs);
        api->time_restart(timer, &when);
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context_);
            if (state == PA_CONTEXT_READY)
                break;
            if (!PA_CONTEXT_IS_GOOD(state) || connectTimedOut_) {
                api->time_free(timer);
                return failed(connectTimedOut_ ? "the sound server does not answer"
                                               : pa_strerror(pa_context_errno(context_)));
            }
            pa_threaded_mainloop_wait(loop_);
        }
        api->time_free(timer);
        return true;
    }

    bool contextUsable() const { return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY; }
    bool streamUsable() const
    {
        return stream_ && contextUsable() && pa_stream_get_state(stream_) == PA_STREAM_READY;
    }

    void dropStream()
    {
        if (!stream_)
            return;
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }

    // Under the lock: gives up on sound for good, with one line to the log.
    bool failed(const char* why)
    {
        dropStream();
        if (!dead_)
            qCWarning(lcSound, "No sound: %s; pictures play silently", why);
        dead_ = true;
        return false;
    }
    void lost()
    {
        if (!dead_)
            qCWarning(lcSound, "The sound server went away; pictures play on silently");
        dropStream();
        dead_ = true;
    }

    pa_threaded_mainloop* const loop_;
    bool started_ = false;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    size_t frameBytes_ = 4;
    uint64_t epoch_ = 0;
    uint64_t written_ = 0;    // bytes written to the stream
    int64_t gapUs_ = 0;       // silence the server put in where the stream ran dry
    int64_t heardBefore_ = 0; // the time last reported
    bool timingAsked_ = false;
    bool corked_ = false;
    bool dead_ = false; // read by begin() outside the lock only after connect() has settled it
    bool connectTimedOut_ = false;
};

} // namespace

std::unique_ptr<SoundOutput> makePulseSoundOutput()
{
    return std::make_unique<PulseSoundOutput>();
}

} // namespace hw
