#pragma once
// Waiting on a condition while events run: with a generous time-out (the machine may be
// loaded), never a fixed sleep.
#include <QTest>

#include <functional>

namespace hw::test {

// Waits, processing events, until done() or the time-out.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 20000)
{
    return QTest::qWaitFor(done, timeoutMs);
}

} // namespace hw::test
