#include "SoundPlay.h"

#include <algorithm>
#include <cmath>

namespace hw::media {

namespace {
constexpr int kChunkFrames = 2048;
// The sound made ahead of what the output has taken: enough to ride out a slow decode or a
// seek at a repeat's seam, little enough that memory does not depend on the clip.
constexpr int64_t kWindowUs = 1000000;
// Made before the output begins: enough to start on, little enough to start at once.
constexpr int64_t kPrimeUs = 200000;
} // namespace

int64_t frameDueUs(const SoundPlan& plan, int64_t n)
{
    return plan.leadInUs + std::llround(static_cast<double>(n) * 1e6 / (plan.fps * plan.speed));
}

SoundPlay::SoundPlay(SoundSource& source, SoundOutput& output, const SoundPlan& plan)
    : source_(source)
    , output_(output)
    , plan_(plan)
    , format_(source.format())
    , rate_(format_.rate)
{
    startSegment(Segment{plan_.from, plan_.last, 0});
}

int64_t SoundPlay::outFrameAt(int64_t us) const
{
    return std::llround(static_cast<double>(us) * rate_ / 1e6);
}

void SoundPlay::startSegment(const Segment& s)
{
    segment_ = s;
    sourcePos_ = std::llround(s.first * static_cast<double>(rate_) / plan_.fps);
    sourceEnd_ = std::llround((s.last + 1) * static_cast<double>(rate_) / plan_.fps);
    segmentEnd_ = outFrameAt(frameDueUs(plan_, s.index + (s.last - s.first + 1)));
    source_.seek(sourcePos_);
    stretch_.reset();
    if (plan_.speed < 1)
        stretch_ = std::make_unique<SoundStretch>(source_.format(), plan_.speed);
}

bool SoundPlay::produce()
{
    if (ended_ || abandoned_)
        return false;
    if (!leadInDone_) {
        leadInDone_ = true;
        const int64_t leadIn = outFrameAt(plan_.leadInUs);
        if (leadIn > 0) {
            window_.insert(window_.end(), format_.samples(leadIn), 0);
            outPos_ = leadIn;
            return true;
        }
    }
    if (outPos_ >= segmentEnd_ && sourcePos_ >= sourceEnd_) {
        // The segment is complete: start over for a repeating play, else all is made.
        if (!plan_.repeat) {
            ended_ = true;
            return false;
        }
        startSegment(
            Segment{plan_.loopFrom, plan_.last, segment_.index + (segment_.last - segment_.first + 1)});
    }
    const int count = static_cast<int>(std::clamp<int64_t>(sourceEnd_ - sourcePos_, 0, kChunkFrames));
    std::vector<int16_t> in(format_.samples(count));
    if (count > 0 && !source_.read(in.data(), count)) {
        abandoned_ = true;
        return false;
    }
    sourcePos_ += count;
    std::vector<int16_t> made;
    if (stretch_ && stretch_->usable()) {
        stretch_->push(in.data(), count, made);
        if (sourcePos_ >= sourceEnd_)
            stretch_->finish(made);
    } else {
        made = std::move(in); // the file's speed (or a filter that failed: sound unslowed)
    }
    // Exactly the segment's length: what the filter gives beyond is dropped, what it gives
    // short of it is made up with silence at the end.
    int64_t frames = std::min(format_.frames(made.size()), segmentEnd_ - outPos_);
    if (sourcePos_ >= sourceEnd_)
        frames = segmentEnd_ - outPos_;
    frames = std::max<int64_t>(frames, 0);
    made.resize(format_.samples(frames), 0);
    window_.insert(window_.end(), made.begin(), made.end());
    outPos_ += frames;
    return true;
}

bool SoundPlay::prime()
{
    return fill(kPrimeUs);
}

bool SoundPlay::fill(int64_t aheadUs)
{
    const int64_t window = outFrameAt(aheadUs);
    while (held() < window && produce()) { }
    heldPeak_ = std::max(heldPeak_, held() + source_.buffered());
    return !abandoned_;
}

bool SoundPlay::pump()
{
    if (!fill(kWindowUs))
        return false;
    // What has been written is let go of now and then, not at every write.
    if (windowAt_ > format_.frames(window_.size()) / 2) {
        window_.erase(window_.begin(),
                      window_.begin() + static_cast<std::ptrdiff_t>(format_.samples(windowAt_)));
        windowAt_ = 0;
    }
    while (held() > 0) {
        const size_t room = output_.writable();
        if (room == 0)
            return true;
        const size_t n = std::min(room, static_cast<size_t>(held()));
        output_.write(window_.data() + format_.samples(windowAt_), n);
        windowAt_ += static_cast<int64_t>(n); // at most held()
    }
    if (!ended_)
        return true;
    // The end is told even when the output has no room: a play shorter than its start
    // threshold would otherwise never be heard.
    output_.endOfData();
    return false;
}

} // namespace hw::media
