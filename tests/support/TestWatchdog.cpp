#include "TestWatchdog.h"

#include <cstdio>
#include <cstdlib>

namespace hw::test {

TestWatchdog::TestWatchdog(std::chrono::milliseconds limit)
    : limit_(limit)
    , thread_([this] { watch(); })
{ }

TestWatchdog::~TestWatchdog()
{
    {
        std::lock_guard lock(armMutex_);
        quit_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

std::chrono::milliseconds TestWatchdog::limitFor(double seconds)
{
    if (seconds <= 0)
        return std::chrono::milliseconds(0);
    // Time enough before the runner's end to say so; a short limit keeps four fifths.
    const double own = seconds > 50 ? seconds - 10 : seconds * 0.8;
    return std::chrono::milliseconds(static_cast<long long>(own * 1000));
}

void TestWatchdog::OnTestStart(const ::testing::TestInfo& test)
{
    std::lock_guard lock(armMutex_);
    running_ = std::string(test.test_suite_name()) + "." + test.name();
    deadline_ = std::chrono::steady_clock::now() + limit_;
    cv_.notify_all();
}

void TestWatchdog::OnTestEnd(const ::testing::TestInfo&)
{
    std::lock_guard lock(armMutex_);
    running_.clear();
    cv_.notify_all();
}

void TestWatchdog::watch()
{
    std::unique_lock lock(armMutex_);
    while (!quit_) {
        if (running_.empty()) {
            cv_.wait(lock);
            continue;
        }
        const std::string test = running_;
        const auto deadline = deadline_;
        if (cv_.wait_until(lock, deadline,
                           [&] { return quit_ || running_ != test || deadline_ != deadline; }))
            continue;
        std::fprintf(stderr,
                     "\n%s did not finish within its time-out of %.1f s: it waits for something that "
                     "never happens (ended by the test's own watchdog)\n",
                     test.c_str(), double(limit_.count()) / 1000.0);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

} // namespace hw::test
