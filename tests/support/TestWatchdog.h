#pragma once
// Ends a test binary whose current test runs past its time-out, saying which test and
// why, before the test runner's own time-out would end it without a word. The time-out
// is HW_TEST_TIMEOUT (seconds, the test's own limit as CTest runs it) less a margin;
// without it there is no watchdog (a test run by hand, under a debugger).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace hw::test {

class TestWatchdog : public ::testing::EmptyTestEventListener {
public:
    explicit TestWatchdog(std::chrono::milliseconds limit);
    ~TestWatchdog() override;

    // The limit for a test that CTest ends after `seconds`; zero when there is none.
    static std::chrono::milliseconds limitFor(double seconds);

    void OnTestStart(const ::testing::TestInfo& test) override;
    void OnTestEnd(const ::testing::TestInfo& test) override;

private:
    void watch();

    std::chrono::milliseconds limit_;
    std::mutex armMutex_;
    std::condition_variable cv_;
    std::string running_; // empty between tests
    std::chrono::steady_clock::time_point deadline_;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace hw::test
