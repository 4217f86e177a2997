#include "hw/media/PresentationClock.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace hw {

namespace {

class SteadyClock : public PresentationClock {
public:
    int64_t nowUs() override
    {
        using namespace std::chrono;
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    bool waitUntil(int64_t dueUs) override
    {
        std::unique_lock lock(wakeMutex_);
        const auto due = std::chrono::steady_clock::time_point(std::chrono::microseconds(dueUs));
        cv_.wait_until(lock, due, [&] { return woken_; });
        const bool reached = !woken_;
        woken_ = false;
        return reached && nowUs() >= dueUs;
    }
    void wake() override
    {
        {
            std::lock_guard lock(wakeMutex_);
            woken_ = true; // kept until the next wait, so that a wake just before it counts
        }
        cv_.notify_all();
    }

private:
    std::mutex wakeMutex_;
    std::condition_variable cv_;
    bool woken_ = false;
};

} // namespace

std::shared_ptr<PresentationClock> makeSteadyClock()
{
    return std::make_shared<SteadyClock>();
}

struct ManualClock::State {
    mutable std::mutex timeMutex; // guards the time and the waiters below
    std::condition_variable cv;
    int64_t now = 0;
    bool woken = false;
    int waiters = 0;
    int64_t awaited = -1;
};

std::shared_ptr<ManualClock::State> ManualClock::makeState()
{
    return std::make_shared<State>();
}

int64_t ManualClock::nowUs()
{
    std::lock_guard lock(d->timeMutex);
    return d->now;
}

bool ManualClock::waitUntil(int64_t dueUs)
{
    std::unique_lock lock(d->timeMutex);
    ++d->waiters;
    d->awaited = dueUs;
    d->cv.notify_all();
    d->cv.wait(lock, [&] { return d->now >= dueUs || d->woken; });
    d->woken = false;
    if (--d->waiters == 0)
        d->awaited = -1;
    return d->now >= dueUs;
}

void ManualClock::wake()
{
    {
        std::lock_guard lock(d->timeMutex);
        d->woken = true;
    }
    d->cv.notify_all();
}

void ManualClock::advance(int64_t us)
{
    {
        std::lock_guard lock(d->timeMutex);
        d->now += us;
    }
    d->cv.notify_all();
}

int ManualClock::waiters() const
{
    std::lock_guard lock(d->timeMutex);
    return d->waiters;
}

int64_t ManualClock::awaitedUs() const
{
    std::lock_guard lock(d->timeMutex);
    return d->awaited;
}

} // namespace hw
