#pragma once
// Work that would block for ever if the code under test were wrong runs under a watchdog,
// so that the test fails within its own time-out, with a message, instead of running into
// the test runner's.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace hw::test {

// Runs work on the calling thread (GUI objects included). True when it finished within
// timeout; otherwise a watchdog calls unblock (which must make the blocked work go on) now
// and then until work returns, and the result is false.
inline bool finishesWithin(std::chrono::milliseconds timeout, const std::function<void()>& work,
                           const std::function<void()>& unblock)
{
    std::mutex doneMutex; // guards done and late
    std::condition_variable cv;
    bool done = false;
    bool late = false;
    std::thread watchdog([&] {
        std::unique_lock lock(doneMutex);
        if (cv.wait_for(lock, timeout, [&] { return done; }))
            return;
        late = true;
        while (!cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return done; })) {
            lock.unlock();
            unblock();
            lock.lock();
        }
    });
    struct Finish {
        std::mutex& doneMutex;
        std::condition_variable& cv;
        bool& done;
        std::thread& watchdog;
        ~Finish()
        {
            {
                std::lock_guard lock(doneMutex);
                done = true;
            }
            cv.notify_all();
            watchdog.join();
        }
    };
    {
        const Finish finish{doneMutex, cv, done, watchdog};
        work();
    }
    return !late;
}

} // namespace hw::test
