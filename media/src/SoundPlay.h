#pragma once
// The sound of one play: the frames' sound in the order the play shows them (starting over
// for a repeating play, slowed for a slow one), written to the output as it takes it, and
// the play's clock: the time the listener hears now, on the play's own time line (0 where
// its first frame's sound begins, after any lead-in). When the output fails the clock goes
// on from the last time heard with the steady clock, so that the pictures go on.
#include "SoundStretch.h"
#include "SoundTrack.h"

#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include <functional>
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
    int64_t leadInUs = 0; // silence before the first frame (a resumed play)
};

class SoundPlay {
public:
    SoundPlay(const SoundTrack& track, SoundOutput& output, PresentationClock& steady, const SoundPlan& plan);

    // Starts the output's stream and fills it; false when there is no sound to be had.
    bool start(int volumePercent, const std::function<bool()>& overtaken);
    // Writes what the output takes now.
    void feed();
    // The play's time at the listener (microseconds).
    int64_t nowUs();
    // The output failed or stalled: the clock runs on the steady clock.
    bool lost() const { return lost_; }
    // Time on the play's time line at which the n-th frame shown is due.
    int64_t frameDueUs(int64_t n) const;

private:
    struct Segment {
        int32_t first = 0, last = 0;
        int64_t index = 0; // how many frames the play shows before this segment
    };
    int64_t outFrameAt(int64_t us) const; // output frame at a time of the time line
    void startSegment(const Segment& s);
    bool produce(); // more into pending_; false when all is written

    const SoundTrack& track_;
    SoundOutput& output_;
    PresentationClock& steady_;
    SoundPlan plan_;
    int channels_;
    double periodUs_;

    Segment segment_;
    bool leadInDone_ = false;
    bool ended_ = false;
    bool endSent_ = false;
    int64_t outPos_ = 0;     // output frames produced so far
    int64_t segmentEnd_ = 0; // output frame where the segment's sound ends
    int64_t sourcePos_ = 0;  // next source frame of the segment
    int64_t sourceEnd_ = 0;
    std::unique_ptr<SoundStretch> stretch_;
    std::vector<int16_t> pending_; // produced, not yet written
    size_t pendingAt_ = 0;         // frames of pending_ already written

    bool lost_ = false;
    int64_t lastHeard_ = 0;
    int64_t lastHeardAt_ = 0;
    int64_t restartOffset_ = 0;
};

} // namespace hw::media
