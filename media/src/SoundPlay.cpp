#include "SoundPlay.h"

#include "SoundLog.h"

#include <algorithm>
#include <cmath>

namespace hw::media {

namespace {
constexpr int kChunkFrames = 2048;
// Longer than any pause a working sound server makes, even on a busy machine; and longer
// than a sink that renders far ahead (an idle null sink: two seconds) takes to start a stream.
constexpr int64_t kStallUs = 1500000;
constexpr int64_t kStartStallUs = 3000000;
// A step back in the output's time by more than this is a restart of its count.
constexpr int64_t kRestartUs = 100000;
} // namespace

SoundPlay::SoundPlay(const SoundTrack& track, SoundOutput& output, PresentationClock& steady,
                     const SoundPlan& plan)
    : track_(track)
    , output_(output)
    , steady_(steady)
    , plan_(plan)
    , channels_(track.format().channels)
    , periodUs_(1e6 / (plan.fps * plan.speed))
{ }

int64_t SoundPlay::frameDueUs(int64_t n) const
{
    return plan_.leadInUs + std::llround(double(n) * periodUs_);
}

int64_t SoundPlay::outFrameAt(int64_t us) const
{
    return std::llround(double(us) * track_.format().rate / 1e6);
}

bool SoundPlay::start(int volumePercent, const std::function<bool()>& overtaken)
{
    if (!output_.begin(track_.format(), volumePercent, overtaken))
        return false;
    startSegment(Segment{plan_.from, plan_.last, 0});
    lastHeardAt_ = steady_.nowUs();
    feed();
    return true;
}

void SoundPlay::startSegment(const Segment& s)
{
    segment_ = s;
    const double rate = track_.format().rate;
    sourcePos_ = std::llround(s.first * rate / plan_.fps);
    sourceEnd_ = std::llround((s.last + 1) * rate / plan_.fps);
    segmentEnd_ = outFrameAt(frameDueUs(s.index + (s.last - s.first + 1)));
    stretch_.reset();
    if (plan_.speed < 1)
        stretch_ = std::make_unique<SoundStretch>(track_.format(), plan_.speed);
}

bool SoundPlay::produce()
{
    pending_.clear();
    pendingAt_ = 0;
    if (ended_)
        return false;
    if (!leadInDone_) {
        leadInDone_ = true;
        const int64_t leadIn = outFrameAt(plan_.leadInUs);
        if (leadIn > 0) {
            pending_.assign(size_t(leadIn) * size_t(channels_), 0);
            outPos_ = leadIn;
            return true;
        }
    }
    if (outPos_ >= segmentEnd_ && sourcePos_ >= sourceEnd_) {
        // The segment is complete: start over for a repeating play, else the play is written.
        if (!plan_.repeat) {
            ended_ = true;
            return false;
        }
        startSegment(
            Segment{plan_.loopFrom, plan_.last, segment_.index + (segment_.last - segment_.first + 1)});
    }
    const int count = int(std::min<int64_t>(kChunkFrames, sourceEnd_ - sourcePos_));
    std::vector<int16_t> in;
    in.reserve(size_t(std::max(count, 0)) * size_t(channels_));
    for (int i = 0; i < count; ++i) {
        const int16_t* f = track_.frame(sourcePos_ + i);
        in.insert(in.end(), f, f + channels_);
    }
    sourcePos_ += std::max(count, 0);
    if (stretch_ && stretch_->usable()) {
        stretch_->push(in.data(), count, pending_);
        if (sourcePos_ >= sourceEnd_)
            stretch_->finish(pending_);
    } else {
        pending_ = std::move(in); // the file's speed (or a filter that failed: sound unslowed)
    }
    // Exactly the segment's length: what the filter gives beyond is dropped, what it gives
    // short of it is made up with silence at the end.
    int64_t frames = int64_t(pending_.size()) / channels_;
    frames = std::min(frames, segmentEnd_ - outPos_);
    if (sourcePos_ >= sourceEnd_)
        frames = segmentEnd_ - outPos_;
    pending_.resize(size_t(std::max<int64_t>(frames, 0)) * size_t(channels_), 0);
    outPos_ += std::max<int64_t>(frames, 0);
    return true;
}

void SoundPlay::feed()
{
    for (;;) {
        if (pendingAt_ * size_t(channels_) >= pending_.size()) {
            // The end is told even when the output has no room: a play shorter than its
            // start threshold would otherwise never be heard.
            if (!produce()) {
                output_.endOfData();
                endSent_ = true;
                return;
            }
            continue;
        }
        const size_t room = output_.writable();
        if (room == 0)
            return;
        const size_t left = pending_.size() / size_t(channels_) - pendingAt_;
        const size_t n = std::min(room, left);
        output_.write(pending_.data() + pendingAt_ * size_t(channels_), n);
        pendingAt_ += n;
    }
}

int64_t SoundPlay::nowUs()
{
    const int64_t steadyNow = steady_.nowUs();
    if (!lost_) {
        int64_t heard = output_.heardUs();
        if (heard >= 0) {
            // Now and then the server's time for a stream starts again from about zero in
            // the middle of a play, then runs on as before: the play's clock stays where it
            // was and follows it from there.
            heard += restartOffset_;
            if (heard < lastHeard_ - kRestartUs) {
                restartOffset_ += lastHeard_ - heard;
                heard = lastHeard_;
            }
        }
        const int64_t patience = lastHeard_ > 0 ? kStallUs : kStartStallUs;
        if (heard > lastHeard_ || (heard >= 0 && steadyNow - lastHeardAt_ < patience)) {
            if (heard > lastHeard_) {
                lastHeard_ = heard;
                lastHeardAt_ = steadyNow;
            }
            return lastHeard_;
        }
        // The output failed, or its time has stood still for long: the pictures go on from
        // here with the steady clock, without sound.
        lost_ = true;
        if (heard >= 0) {
            qCWarning(lcSound,
                      "The sound output has stood still for %lld ms at %lld ms; pictures play on silently",
                      static_cast<long long>((steadyNow - lastHeardAt_) / 1000),
                      static_cast<long long>(lastHeard_ / 1000));
            output_.cut();
        }
    }
    return lastHeard_ + (steadyNow - lastHeardAt_);
}

} // namespace hw::media
