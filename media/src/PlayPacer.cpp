#include "PlayPacer.h"

#include <algorithm>

namespace hw::media {

namespace {
constexpr int64_t kHeardPollUs = 10000;
constexpr int64_t kSoundEndSlackUs = 10000;
} // namespace

PlayPacer::PlayPacer(PresentationClock& clock, PresentationClock& steady, double periodUs,
                     std::function<bool()> overtaken)
    : clock_(clock)
    , steady_(steady)
    , periodUs_(periodUs)
    , overtaken_(std::move(overtaken))
{ }

void PlayPacer::startSilent(int64_t firstDelayUs)
{
    heard_.reset();
    start_ = clock_.nowUs() + firstDelayUs;
}

void PlayPacer::startHeard(SoundOutput& output, int64_t firstDueUs)
{
    heard_.emplace(output, steady_);
    start_ = firstDueUs;
}

int64_t PlayPacer::nowUs()
{
    return heard_ ? heard_->nowUs() : clock_.nowUs();
}

bool PlayPacer::waitUntil(int64_t due, bool end)
{
    const int64_t target = due - (end && heard_ ? kSoundEndSlackUs : 0);
    while (nowUs() < target) {
        if (heard_) {
            const int64_t left = target - heard_->nowUs();
            if (left > 0)
                steady_.waitUntil(steady_.nowUs() + std::min(left, kHeardPollUs));
        } else {
            clock_.waitUntil(target);
        }
        if (overtaken_())
            return false;
    }
    return !overtaken_();
}

} // namespace hw::media
