#include "ThreadedListener.h"

namespace hw::listen {

ThreadedListener::~ThreadedListener() = default;

void ThreadedListener::start()
{
    if (thread_.joinable() || stopping_)
        return;
    thread_ = std::thread([this] { listen(); });
}

void ThreadedListener::stop()
{
    stopping_ = true;
    interrupt();
    std::lock_guard lock(callbackMutex_);
    silenced_ = true;
}

void ThreadedListener::join()
{
    stop();
    if (thread_.joinable())
        thread_.join();
}

void ThreadedListener::heard(const HeardCommand& command)
{
    std::lock_guard lock(callbackMutex_);
    if (!silenced_ && onHeard)
        onHeard(command);
}

void ThreadedListener::state(ListenState state)
{
    std::lock_guard lock(callbackMutex_);
    if (!silenced_ && onState)
        onState(state);
}

} // namespace hw::listen
