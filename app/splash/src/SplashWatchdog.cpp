#include "hw/app/SplashWatchdog.h"

#include <chrono>

namespace hw {

SplashWatchdog::SplashWatchdog()
    : SplashWatchdog(Limits{})
{ }

SplashWatchdog::SplashWatchdog(Limits limits, Clock clock)
    : limits_(limits)
    , clock_(std::move(clock))
{
    if (!clock_) {
        clock_ = [] {
            using namespace std::chrono;
            return qint64{duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()};
        };
    }
}

qint64 SplashWatchdog::now() const
{
    return clock_();
}

void SplashWatchdog::start()
{
    running_ = true;
    seenPosition_ = false;
    highestPosition_ = 0;
    lastProgress_ = now();
    stoppedSince_ = -1;
}

void SplashWatchdog::stop()
{
    running_ = false;
}

bool SplashWatchdog::overdue(bool playing, int32_t position)
{
    if (!running_)
        return false;
    const qint64 t = now();
    // Only a position beyond any seen before counts as progress: a device that keeps
    // jumping about never ends, one that moves forward does within the clip's length.
    if (!seenPosition_ || position > highestPosition_) {
        seenPosition_ = true;
        highestPosition_ = position;
        lastProgress_ = t;
    }
    if (playing) {
        stoppedSince_ = -1;
        return t - lastProgress_ >= limits_.stallMs;
    }
    if (stoppedSince_ < 0)
        stoppedSince_ = t;
    return t - stoppedSince_ >= limits_.graceMs;
}

} // namespace hw
