#pragma once
// What every command listener shares: a thread of its own that hears, and callbacks that are
// never called once stop() has returned.
#include "hw/listen/CommandListener.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace hw::listen {

class ThreadedListener : public CommandListener {
public:
    ~ThreadedListener() override;
    void start() final;
    void stop() final;

protected:
    // The listener's work, on its thread; returns soon after stopping() turns true.
    virtual void listen() = 0;
    // Wakes a listen() that waits for sound; called by stop() (any thread).
    virtual void interrupt() { }
    bool stopping() const { return stopping_; }
    void heard(const HeardCommand& command);
    void state(ListenState state);
    // Must be called by the most derived destructor, before its members go.
    void join();

private:
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::mutex callbackMutex_; // held while a callback runs, so that stop() waits it out
    bool silenced_ = false;
};

} // namespace hw::listen
