#include "HeardClock.h"

#include "SoundLog.h"

namespace hw::media {

namespace {
// Longer than any pause a working sound server makes, even on a busy machine; and longer
// than a sink that renders far ahead (an idle null sink: two seconds) takes to start a stream.
constexpr int64_t kStallUs = 1500000;
constexpr int64_t kStartStallUs = 3000000;
// A step back in the output's time by more than this is a restart of its count.
constexpr int64_t kRestartUs = 100000;
} // namespace

HeardClock::HeardClock(SoundOutput& output, PresentationClock& steady)
    : output_(output)
    , steady_(steady)
    , lastHeardAt_(steady.nowUs())
{ }

int64_t HeardClock::nowUs()
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
