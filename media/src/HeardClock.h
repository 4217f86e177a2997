#pragma once
// A play's clock while it has sound: the time the listener hears now, on the play's time
// line, read from the output on the worker. When the output fails or its time stands still
// for long, the clock goes on from the last time heard with the steady clock (and the sound
// is cut), so that the pictures go on.
#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include <cstdint>

namespace hw::media {

class HeardClock {
public:
    HeardClock(SoundOutput& output, PresentationClock& steady);
    int64_t nowUs();
    bool lost() const { return lost_; }

private:
    SoundOutput& output_;
    PresentationClock& steady_;
    bool lost_ = false;
    int64_t lastHeard_ = 0;
    int64_t lastHeardAt_ = 0;
    int64_t restartOffset_ = 0;
};

} // namespace hw::media
