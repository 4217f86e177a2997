#pragma once
// How the plays of an open clip went: what tests, tools and benchmarks read of the clip
// device's pacing.
#include <cstdint>
#include <vector>

namespace hw {

struct PlaybackStats {
    int presented = 0; // frames put on show by plays since Open
    int late = 0;      // of which later than one frame period
    int dropped = 0;   // frames a play with sound left out, too late to be shown in time
    int64_t maxLateUs = 0;
    // For each frame presented (the latest ones), microseconds: the clock's time when it
    // was put on show minus its due time; for plays paced by their sound, the time the
    // listener heard then minus the time the frame's sound began.
    std::vector<int32_t> offsetsUs;
    int soundPaced = 0; // frames presented by plays paced by their sound
    // Most frames of sound (one sample per channel) held at once, decoded ahead of the
    // listener: it does not grow with the clip.
    int64_t soundHeldPeak = 0;
};

} // namespace hw
