#pragma once
// The clock that paces a play. The device asks it for the time and waits on it for each
// frame's due time, so that a test can drive plays by hand and a later sound track can pace
// the picture instead of the wall clock.
#include <cstdint>
#include <memory>

namespace hw {

class PresentationClock {
public:
    virtual ~PresentationClock() = default;
    // Monotonic time in microseconds.
    virtual int64_t nowUs() = 0;
    // Blocks the calling (device) thread until nowUs() >= dueUs or wake() is called.
    // Returns true when the due time was reached.
    virtual bool waitUntil(int64_t dueUs) = 0;
    // Ends every waitUntil() in progress; called from any thread when the device has a
    // new command for its worker.
    virtual void wake() = 0;
};

// The steady wall clock.
std::shared_ptr<PresentationClock> makeSteadyClock();

// A clock that moves only when told to: for tests.
class ManualClock : public PresentationClock {
public:
    int64_t nowUs() override;
    bool waitUntil(int64_t dueUs) override;
    void wake() override;
    void advance(int64_t us);
    // Number of waitUntil() calls blocked right now.
    int waiters() const;
    // The due time the latest blocked waitUntil() waits for, or -1 when none waits.
    int64_t awaitedUs() const;

private:
    struct State;
    std::shared_ptr<State> d = makeState();
    static std::shared_ptr<State> makeState();
};

} // namespace hw
