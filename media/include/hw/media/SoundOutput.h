#pragma once
// Where the clip device sends a play's sound, and the clock that tells what the listener
// hears now. One stream per play; every call may come from any thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace hw {

struct SoundFormat {
    int rate = 44100;
    int channels = 2; // 1 or 2; samples are interleaved signed 16-bit
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts a new stream for a play (the previous one is cut). False when there is nothing
    // to play to. overtaken() is asked while starting: a play a command has overtaken never
    // starts.
    virtual bool begin(const SoundFormat& format, int volumePercent, const std::function<bool()>& overtaken)
        = 0;
    // Frames the stream takes now without growing its buffer, and queues frames.
    virtual size_t writable() = 0;
    virtual void write(const int16_t* frames, size_t count) = 0;
    // All of the play is written (may be called again while waiting for the end).
    virtual void endOfData() = 0;
    // The stream's time at the listener now (microseconds since its first frame, latency
    // accounted for), 0 before it is heard; -1 once the output has failed.
    virtual int64_t heardUs() = 0;
    // 0..100, 0 silences; takes effect at once.
    virtual void setVolume(int percent) = 0;
    // Silences and ends the stream at once.
    virtual void cut() = 0;
    // The play is over: the stream is corked and kept for the next play.
    virtual void finish() { }
};

// The desktop's sound server, found as its clients find it (PULSE_SERVER and the like).
// Connects when first asked to play; without a server every begin() fails.
std::unique_ptr<SoundOutput> makePulseSoundOutput();
// No sound at all.
std::unique_ptr<SoundOutput> makeNullSoundOutput();

} // namespace hw
