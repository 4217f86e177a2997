#pragma once
// The pacing of one play on the worker: when each frame is due and what time it is for the
// play. With sound, the time is what the listener hears (polled on the steady clock every
// few milliseconds), so that frame n is put on show when its sound is heard; without, it is
// the presentation clock's. Frames are due one period apart from the first, across the
// seams of a repeating play too.
#include "HeardClock.h"

#include "hw/media/PresentationClock.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace hw::media {

class PlayPacer {
public:
    PlayPacer(PresentationClock& clock, PresentationClock& steady, double periodUs,
              std::function<bool()> overtaken);

    // The first frame is due after firstDelayUs on the presentation clock.
    void startSilent(int64_t firstDelayUs);
    // The first frame is due when the listener hears the play's time line reach firstDueUs.
    void startHeard(SoundOutput& output, int64_t firstDueUs);
    bool heard() const { return heard_.has_value(); }

    int64_t dueUs(int64_t n) const
    {
        return start_ + static_cast<int64_t>(static_cast<double>(n) * periodUs_);
    }
    int64_t nowUs();
    // Waits until due; false when overtaken. The end of a play with sound comes a few
    // milliseconds early: the stream's time stops short of its last sample as it runs dry.
    bool waitUntil(int64_t due, bool end = false);
    // A silent play that fell behind (a slow decode) goes on from now rather than rush.
    void fellBehind(int64_t lateUs) { start_ += lateUs; }

private:
    PresentationClock& clock_;
    PresentationClock& steady_;
    double periodUs_;
    std::function<bool()> overtaken_;
    std::optional<HeardClock> heard_;
    int64_t start_ = 0;
};

} // namespace hw::media
