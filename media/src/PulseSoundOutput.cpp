// Sound through the desktop's sound server with libpulse's threaded main loop. All pulse
// calls are made under the main loop's lock; its callbacks only record states, arm timers
// and wake whoever waits. Only begin() waits for the server, for two seconds at most in all;
// every other call returns at once, so that a server that accepts and never answers, goes
// away or stops answering mid-play costs a play its sound, never its pictures or a command.
#include "hw/Narrow.h"
#include "hw/media/SoundOutput.h"

#include "SoundLog.h"
#include "SoundServerHealth.h"

#include <pulse/pulseaudio.h>

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

Q_LOGGING_CATEGORY(lcSound, "hw.media.sound", QtInfoMsg)

namespace hw {

using media::SoundServerHealth;

namespace {

using Clock = std::chrono::steady_clock;

// All one begin() may wait for the server, connecting included; a connection attempt made in
// the background gives up after as long.
constexpr auto kServerPatience = std::chrono::seconds(2);
// A play asks for the stream's timing now and then; a server that leaves a request unanswered
// this long has stopped (a working one answers within milliseconds).
constexpr auto kTimingEvery = std::chrono::milliseconds(100);
constexpr auto kAnswerPatience = std::chrono::seconds(1);
// How often a waiting begin() looks whether its play has been overtaken.
constexpr pa_usec_t kPollUs = 20 * PA_USEC_PER_MSEC;
// Room for the worker to be late with its writes on a busy machine. A volume change reaches
// the listener sooner than this: the server mixes the stream's volume in as it renders and
// renders what it holds ahead again when the volume changes.
constexpr pa_usec_t kTargetLatencyUs = 300 * PA_USEC_PER_MSEC;
// How long past the end of a play's sound the stream is left to be heard out before it is
// corked, and how often a stream whose end was told is looked at until then.
constexpr pa_usec_t kHeardOutUs = 20 * PA_USEC_PER_MSEC;
constexpr pa_usec_t kCorkCheckUs = 200 * PA_USEC_PER_MSEC;

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

pa_usec_t usecOf(Clock::duration d)
{
    return pa_usec_t(std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::microseconds>(d).count()));
}

// The server the library connects to, as the environment names it (empty: its default).
std::string namedServer()
{
    return qEnvironmentVariable("PULSE_SERVER").toStdString();
}

std::string noSound(const char* why)
{
    return std::string("No sound: ") + why + "; pictures play silently";
}

class PulseSoundOutput : public SoundOutput {
public:
    PulseSoundOutput()
        : loop_(pa_threaded_mainloop_new())
    {
        if (!loop_ || pa_threaded_mainloop_start(loop_) < 0) {
            qCWarning(lcSound, "No sound: cannot start the sound client; pictures play silently");
            return;
        }
        started_ = true;
        Locked lock(loop_);
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
        alarm_ = api->time_new(api, nullptr, &PulseSoundOutput::alarmRang, this);
        corkTimer_ = api->time_new(api, nullptr, &PulseSoundOutput::heardOut, this);
        connectTimer_ = api->time_new(api, nullptr, &PulseSoundOutput::connectTimedOut, this);
        // The first play should not pay for the connection.
        connect();
    }
    PulseSoundOutput(const PulseSoundOutput&) = delete;
    PulseSoundOutput& operator=(const PulseSoundOutput&) = delete;
    ~PulseSoundOutput() override
    {
        if (!loop_)
            return;
        if (started_) {
            {
                Locked lock(loop_);
                dropStream();
                dropContext();
                pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
                for (pa_time_event* e : {alarm_, corkTimer_, connectTimer_})
                    if (e)
                        api->time_free(e);
            }
            pa_threaded_mainloop_stop(loop_);
        }
        pa_threaded_mainloop_free(loop_);
    }

    bool begin(const SoundFormat& format, int volumePercent, const std::function<bool()>& overtaken) override
    {
        if (!started_)
            return false;
        const Clock::time_point deadline = Clock::now() + kServerPatience;
        uint64_t epoch = 0;
        {
            Locked lock(loop_);
            dropStream();
            epoch = epoch_;
            volume_ = volumePercent;
            if (!contextGood())
                connect(); // a fresh attempt, in the background
            // A server that failed lately is not waited for again until it has answered.
            if (!contextReady() && SoundServerHealth::shared().failing(server_))
                return false;
        }
        if (!waitUntil([this] { return !contextGood() || contextReady(); }, deadline, epoch, overtaken))
            return givenUp(epoch, deadline);
        {
            Locked lock(loop_);
            if (epoch != epoch_ || !contextReady() || !makeStream(format))
                return false;
        }
        if (!waitUntil([this] { return !stream_ || pa_stream_get_state(stream_) != PA_STREAM_CREATING; },
                       deadline, epoch, overtaken))
            return givenUp(epoch, deadline);
        Locked lock(loop_);
        if (epoch != epoch_ || !stream_)
            return false;
        if (!streamUsable()) {
            streamLost();
            return false;
        }
        // The volume may have changed while the stream was being made.
        if (volume_ != createdVolume_)
            applyVolume();
        return true;
    }

    size_t writable() override
    {
        if (!started_)
            return 0;
        Locked lock(loop_);
        if (!streamUsable())
            return 0;
        const size_t bytes = pa_stream_writable_size(stream_);
        return bytes == static_cast<size_t>(-1) ? 0 : bytes / frameBytes_; // -1: an error
    }

    void write(const int16_t* frames, size_t count) override
    {
        if (!started_)
            return;
        Locked lock(loop_);
        if (!streamUsable())
            return;
        pa_stream_write(stream_, frames, count * frameBytes_, nullptr, 0, PA_SEEK_RELATIVE);
        written_ += count * frameBytes_;
        if (!uncorkedOnce_)
            setCorked(false);
    }

    void endOfData() override
    {
        if (!started_)
            return;
        Locked lock(loop_);
        if (!streamUsable())
            return;
        // A play shorter than the first write starts now.
        if (!uncorkedOnce_)
            setCorked(false);
        // Once the listener has heard the last of it, the stream is corked.
        if (!endTold_) {
            endTold_ = true;
            arm(corkTimer_, kHeardOutUs);
        }
    }

    int64_t heardUs() override
    {
        if (!started_)
            return -1;
        Locked lock(loop_);
        if (!stream_)
            return -1;
        if (!streamUsable()) {
            streamLost();
            return -1;
        }
        if (!askForTiming()) {
            serverStopped();
            return -1;
        }
        // The library runs the stream's time on by the local clock from the server's last
        // report, even while the server has not started it (a sink may take a while to fit
        // a new stream in): until a report says it plays, the time stands still.
        const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
        pa_usec_t usec = 0;
        if (!timing || !timing->playing || pa_stream_get_time(stream_, &usec) < 0)
            return heard_;
        // The time is what the sink plays now less its latency as last reported. When the
        // latency grows, that time falls back: the clock stands until it has caught up, so
        // that the pictures wait for the sound instead of running ahead of it.
        heard_ = std::max(heard_, clamped<int64_t>(usec));
        return heard_;
    }

    void setVolume(int percent) override
    {
        if (!started_)
            return;
        Locked lock(loop_);
        volume_ = percent;
        if (streamUsable())
            applyVolume();
    }

    void cut() override
    {
        if (!started_)
            return;
        Locked lock(loop_);
        ++epoch_;
        dropStream();
        pa_threaded_mainloop_signal(loop_, 0);
    }

    void finish() override
    {
        if (!started_)
            return;
        Locked lock(loop_);
        // A play whose end was told corks itself once its last sample has been heard; the
        // play's pictures may end a few milliseconds before that, and corking here would
        // cut that sound short.
        if (streamUsable() && !endTold_)
            setCorked(true);
    }

private:
    // Callbacks, on the main loop's thread with its lock held. They never free what called them.
    static void signal(pa_stream*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<PulseSoundOutput*>(self)->loop_, 0);
    }
    static void alarmRang(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<PulseSoundOutput*>(self)->loop_, 0);
    }
    static void contextChanged(pa_context* context, void* self)
    {
        auto* out = static_cast<PulseSoundOutput*>(self);
        const pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY) {
            out->everReady_ = true;
            out->disarm(out->connectTimer_);
            SoundServerHealth::shared().answered(out->server_);
        } else if (!PA_CONTEXT_IS_GOOD(state)) {
            out->disarm(out->connectTimer_);
            SoundServerHealth::shared().failed(out->server_,
                                               out->everReady_
                                                   ? "The sound server went away; pictures play on silently"
                                                   : noSound(pa_strerror(pa_context_errno(context))));
        }
        pa_threaded_mainloop_signal(out->loop_, 0);
    }
    static void connectTimedOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
    {
        auto* out = static_cast<PulseSoundOutput*>(self);
        out->disarm(out->connectTimer_);
        if (out->contextGood() && !out->contextReady())
            out->giveUpConnecting();
        pa_threaded_mainloop_signal(out->loop_, 0);
    }
    static void timingCame(pa_stream* stream, int, void* self)
    {
        auto* out = static_cast<PulseSoundOutput*>(self);
        if (stream != out->stream_)
            return;
        out->timingAsked_ = false;
        out->timingCameAt_ = Clock::now();
    }
    static void heardOut(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self)
    {
        auto* out = static_cast<PulseSoundOutput*>(self);
        out->disarm(out->corkTimer_);
        if (!out->streamUsable() || out->corked_)
            return;
        // The server's own drain never ends for a stream without a start threshold: the
        // stream's time tells when the end has been heard.
        const pa_usec_t endUs = pa_bytes_to_usec(out->written_, pa_stream_get_sample_spec(out->stream_));
        pa_usec_t nowUs = 0;
        const pa_timing_info* timing = pa_stream_get_timing_info(out->stream_);
        if (timing && timing->playing && pa_stream_get_time(out->stream_, &nowUs) >= 0
            && nowUs >= endUs + kHeardOutUs) {
            out->setCorked(true);
            return;
        }
        const pa_usec_t left = nowUs < endUs ? endUs - nowUs : 0;
        out->arm(out->corkTimer_, std::clamp<pa_usec_t>(left + kHeardOutUs, kHeardOutUs, kCorkCheckUs));
    }

    static pa_volume_t toVolume(int percent)
    {
        return static_cast<pa_volume_t>(uint64_t{PA_VOLUME_NORM}
                                        * static_cast<uint64_t>(std::clamp(percent, 0, 100)) / 100);
    }

    // The rest under the main loop's lock.

    void arm(pa_time_event* timer, pa_usec_t fromNowUs)
    {
        if (!timer)
            return;
        struct timeval when;
        pa_timeval_add(pa_gettimeofday(&when), fromNowUs);
        pa_threaded_mainloop_get_api(loop_)->time_restart(timer, &when);
    }
    void disarm(pa_time_event* timer)
    {
        if (timer)
            pa_threaded_mainloop_get_api(loop_)->time_restart(timer, nullptr);
    }

    // Starts a connection attempt; its outcome comes to contextChanged or connectTimedOut.
    void connect()
    {
        dropContext();
        server_ = namedServer();
        everReady_ = false;
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Hacklewright");
        if (!context_) {
            SoundServerHealth::shared().failed(server_, noSound("cannot make a sound client"));
            return;
        }
        pa_context_set_state_callback(context_, &PulseSoundOutput::contextChanged, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            SoundServerHealth::shared().failed(server_, noSound(pa_strerror(pa_context_errno(context_))));
            return;
        }
        if (contextGood() && !contextReady())
            arm(connectTimer_, usecOf(kServerPatience));
    }
    void giveUpConnecting()
    {
        SoundServerHealth::shared().failed(server_, noSound("the sound server does not answer"));
        dropStream();
        pa_context_disconnect(context_);
    }
    void dropContext()
    {
        disarm(connectTimer_);
        if (!context_)
            return;
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }

    bool contextGood() const { return context_ && PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)); }
    bool contextReady() const { return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY; }
    bool streamUsable() const
    {
        return stream_ && contextReady() && pa_stream_get_state(stream_) == PA_STREAM_READY;
    }

    // Waits until ready() holds (asked under the lock). False when the play was cut or
    // overtaken, or at the deadline.
    bool waitUntil(const std::function<bool()>& ready, Clock::time_point deadline, uint64_t epoch,
                   const std::function<bool()>& overtaken)
    {
        for (;;) {
            // Asked outside the lock: it may take the device's lock, which comes first.
            if (overtaken())
                return false;
            Locked lock(loop_);
            if (epoch != epoch_)
                return false;
            if (ready())
                return true;
            const Clock::time_point now = Clock::now();
            if (now >= deadline)
                return false;
            arm(alarm_, std::min(kPollUs, usecOf(deadline - now)));
            pa_threaded_mainloop_wait(loop_);
            disarm(alarm_);
        }
    }

    // A wait of begin() ended without a usable stream: overtaken, or at the deadline, when
    // a server that has not answered by then has failed.
    bool givenUp(uint64_t epoch, Clock::time_point deadline)
    {
        Locked lock(loop_);
        if (epoch != epoch_)
            return false;
        if (Clock::now() >= deadline) {
            if (contextGood() && !contextReady())
                giveUpConnecting();
            else if (stream_ && pa_stream_get_state(stream_) == PA_STREAM_CREATING)
                serverStopped();
        }
        dropStream();
        return false;
    }

    bool makeStream(const SoundFormat& format)
    {
        // A decoded file's rate is positive and its channels are 1 or 2.
        const pa_sample_spec sampleSpec{PA_SAMPLE_S16NE, static_cast<uint32_t>(format.rate),
                                        static_cast<uint8_t>(format.channels)};
        frameBytes_ = pa_frame_size(&sampleSpec);
        heard_ = 0;
        timingAsked_ = false;
        timingCameAt_ = Clock::now();
        written_ = 0;
        endTold_ = false;
        uncorkedOnce_ = false;
        stream_ = pa_stream_new(context_, "Lesson video", &sampleSpec, nullptr);
        if (!stream_) {
            qCWarning(lcSound, "No sound for this play: cannot make a stream (%s)",
                      pa_strerror(pa_context_errno(context_)));
            return false;
        }
        pa_stream_set_state_callback(stream_, &PulseSoundOutput::signal, this);
        pa_buffer_attr attr;
        attr.maxlength = static_cast<uint32_t>(-1); // -1: the server's choice
        attr.tlength = clamped<uint32_t>(pa_usec_to_bytes(kTargetLatencyUs, &sampleSpec));
        // No start threshold: the stream starts with its first write (it is made corked)
        // and never stops to refill. A late write then loses its late part, rather than
        // holding the clock, and with it the pictures, until the buffer is full again.
        attr.prebuf = 0;
        attr.minreq = static_cast<uint32_t>(-1);
        attr.fragsize = static_cast<uint32_t>(-1);
        pa_cvolume volume;
        pa_cvolume_set(&volume, sampleSpec.channels, toVolume(volume_));
        createdVolume_ = volume_;
        const auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE
                                             | PA_STREAM_ADJUST_LATENCY | PA_STREAM_NOT_MONOTONIC
                                             | PA_STREAM_START_CORKED);
        corked_ = true;
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, &volume, nullptr) < 0) {
            qCWarning(lcSound, "No sound for this play: %s", pa_strerror(pa_context_errno(context_)));
            dropStream();
            return false;
        }
        return true;
    }

    void applyVolume()
    {
        pa_cvolume volume;
        pa_cvolume_set(&volume, pa_stream_get_sample_spec(stream_)->channels, toVolume(volume_));
        if (pa_operation* op = pa_context_set_sink_input_volume(context_, pa_stream_get_index(stream_),
                                                                &volume, nullptr, nullptr))
            pa_operation_unref(op);
    }

    void setCorked(bool on)
    {
        if (corked_ == on)
            return;
        corked_ = on;
        if (!on)
            uncorkedOnce_ = true;
        if (pa_operation* op = pa_stream_cork(stream_, on ? 1 : 0, nullptr, nullptr))
            pa_operation_unref(op);
    }

    // Keeps fresh timing reports coming; false when the server has left one unanswered for
    // too long.
    bool askForTiming()
    {
        const Clock::time_point now = Clock::now();
        if (timingAsked_)
            return now - timingAskedAt_ < kAnswerPatience;
        if (now - timingCameAt_ >= kTimingEvery) {
            if (pa_operation* op
                = pa_stream_update_timing_info(stream_, &PulseSoundOutput::timingCame, this)) {
                pa_operation_unref(op);
                timingAsked_ = true;
                timingAskedAt_ = now;
            }
        }
        return true;
    }

    void dropStream()
    {
        disarm(corkTimer_);
        if (!stream_)
            return;
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }

    // The stream failed: with its connection (the server went away, told once by the
    // context's callback) or alone (the server ended it: its sink was removed, say).
    void streamLost()
    {
        if (contextGood() && stream_ && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)))
            qCWarning(lcSound, "The sound server ended the stream (%s); pictures play on silently",
                      pa_strerror(pa_context_errno(context_)));
        dropStream();
    }
    // The server holds the connection open but no longer answers: the next play starts a
    // fresh connection in the background.
    void serverStopped()
    {
        SoundServerHealth::shared().failed(server_,
                                           "The sound server stopped answering; pictures play on silently");
        dropStream();
        if (context_) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
        }
    }

    pa_threaded_mainloop* const loop_;
    bool started_ = false;
    pa_time_event* alarm_ = nullptr;        // wakes a waiting begin() now and then
    pa_time_event* corkTimer_ = nullptr;    // corks a stream heard out
    pa_time_event* connectTimer_ = nullptr; // ends a connection attempt that is not answered
    pa_context* context_ = nullptr;
    std::string server_;     // the one context_ connects to
    bool everReady_ = false; // context_ has been connected
    pa_stream* stream_ = nullptr;
    size_t frameBytes_ = 4;
    uint64_t epoch_ = 0; // counts cuts
    int volume_ = 100;
    int createdVolume_ = 100;
    int64_t heard_ = 0; // the time last reported
    bool timingAsked_ = false;
    Clock::time_point timingAskedAt_;
    Clock::time_point timingCameAt_;
    bool corked_ = false;
    bool uncorkedOnce_ = false;
    uint64_t written_ = 0; // bytes
    bool endTold_ = false;
};

} // namespace

std::unique_ptr<SoundOutput> makePulseSoundOutput()
{
    return std::make_unique<PulseSoundOutput>();
}

} // namespace hw
