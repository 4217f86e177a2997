#pragma once
// The sound of one play, made and written on the device's sound thread: the frames' sound
// in the order the play shows them (starting over for a repeating play, slowed for a slow
// one), made ahead of the listener in a bounded window and written to the output as it
// takes it. The play's time line starts with its lead-in; the sound of its n-th frame
// begins at frameDueUs(n).
#include "SoundSource.h"
#include "SoundStretch.h"

#include "hw/media/SoundOutput.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace hw::media {

struct SoundPlan {
    double fps = 15;
    double speed = 1;
    int32_t from = 0;     // first frame of the play
    int32_t last = 0;     // last frame of the range
    int32_t loopFrom = 0; // where a repeating play starts over
    bool repeat = false;
    int64_t leadInUs = 0; // silence before the first frame
};

// Time on a play's time line at which the n-th frame shown is due.
int64_t frameDueUs(const SoundPlan& plan, int64_t n);

class SoundPlay {
public:
    SoundPlay(SoundSource& source, SoundOutput& output, const SoundPlan& plan);

    // Makes the start of the sound before the output begins, so that it begins with sound;
    // false when abandoned.
    bool prime();
    // Tops the window up and writes what the output takes; false once all is written (the
    // output has been told the end) or when abandoned.
    bool pump();
    // Most frames held at once: the window's and the source's.
    int64_t heldPeak() const { return heldPeak_; }

private:
    struct Segment {
        int32_t first = 0, last = 0;
        int64_t index = 0; // how many frames the play shows before this segment
    };
    int64_t outFrameAt(int64_t us) const; // output frame at a time of the time line
    void startSegment(const Segment& s);
    bool produce();             // appends the next part to the window; false when all is made
    bool fill(int64_t aheadUs); // makes the window up to aheadUs; false when abandoned
    int64_t held() const { return format_.frames(window_.size()) - windowAt_; }

    SoundSource& source_;
    SoundOutput& output_;
    SoundPlan plan_;
    SoundFormat format_;
    int rate_;

    Segment segment_;
    bool leadInDone_ = false;
    bool ended_ = false;     // all made
    bool abandoned_ = false; // the source gave up
    int64_t outPos_ = 0;     // output frames made so far
    int64_t segmentEnd_ = 0; // output frame where the segment's sound ends
    int64_t sourcePos_ = 0;  // next source frame of the segment
    int64_t sourceEnd_ = 0;
    std::unique_ptr<SoundStretch> stretch_;
    std::vector<int16_t> window_; // made, from windowAt_ on not yet written
    int64_t windowAt_ = 0;        // frames of window_ already written
    int64_t heldPeak_ = 0;
};

} // namespace hw::media
