#pragma once
// Where the clip device sends a play's sound, and the clock that tells what the listener
// hears now. One stream per play; every call may come from any thread. Only begin() waits
// for the sound server, and never for more than two seconds; the other calls return at once
// whatever the server does.
#include "hw/Narrow.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace hw {

struct SoundFormat {
    int rate = 44100;
    int channels = 2; // 1 or 2; samples are interleaved signed 16-bit

    // The interleaved samples of a number of frames; a negative number is none, not a huge one.
    size_t samples(int64_t frames) const { return clamped<size_t>(frames) * static_cast<size_t>(channels); }
    // The whole frames in a number of interleaved samples.
    int64_t frames(size_t samples) const { return clamped<int64_t>(samples / static_cast<size_t>(channels)); }
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts a new stream for a play (the previous one is cut). False when there is nothing
    // to play to, at once while a server that failed lately has not answered again.
    // overtaken() is asked while starting (a play a command has overtaken never starts), and
    // cut() from another thread ends the wait.
    virtual bool begin(const SoundFormat& format, int volumePercent, const std::function<bool()>& overtaken)
        = 0;
    // Frames the stream takes now without growing its buffer, and queues frames.
    virtual size_t writable() = 0;
    virtual void write(const int16_t* frames, size_t count) = 0;
    // All of the play is written (may be called again while waiting for the end).
    virtual void endOfData() = 0;
    // The stream's time at the listener now (microseconds since its first frame, the
    // server's latency as it reports it now accounted for), 0 before it is heard; -1 once
    // the output has failed. Never goes back within a stream: when the latency grows, the
    // time stands until what is heard catches up.
    virtual int64_t heardUs() = 0;
    // 0..100, 0 silences; takes effect at once.
    virtual void setVolume(int percent) = 0;
    // Silences and ends the stream at once.
    virtual void cut() = 0;
    // The play is over: the stream is corked and kept, or closed, for the next play. A stream
    // whose end was told corks itself once it has been heard to its end.
    virtual void finish() { }
};

// The desktop's sound server, found as its clients find it (PULSE_SERVER and the like).
// Starts connecting in the background when made; without a server every begin() fails.
// The stream and the connection close when the output is destroyed.
std::unique_ptr<SoundOutput> makePulseSoundOutput();
// No sound at all.
std::unique_ptr<SoundOutput> makeNullSoundOutput();

} // namespace hw
