#pragma once
// What the program plays, kept for a few seconds and placed on the steady clock by the sound
// engine's own record of when the listener hears it, so that it can be taken out of what the
// microphone hears. Thread-safe: the sound engine writes, the command listener reads.
#include "hw/media/SoundOutput.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hw {

class PlayedSound {
public:
    PlayedSound();
    ~PlayedSound();
    // An output that plays through `inner` and records here all it plays, at the volume it
    // plays it.
    static std::unique_ptr<SoundOutput> tap(std::shared_ptr<PlayedSound> record,
                                            std::unique_ptr<SoundOutput> inner);
    // The sound that reached the listener from steady-clock time `fromUs` (microseconds, as
    // std::chrono::steady_clock counts) on, as `count` samples of 16 kHz mono; silence where
    // nothing played or what played is no longer kept.
    void read(int64_t fromUs, int16_t* out, size_t count) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    friend class TappedOutput;
};

} // namespace hw
