#include "hw/Termination.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>

namespace hw {
namespace {
std::atomic<bool> g_terminating{false};
}

void requestTerminate()
{
    g_terminating = true;
    // Queued so that the handler that asked finishes first, and so that a quit asked
    // before the loop runs is not lost.
    if (auto* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool terminateRequested()
{
    return g_terminating;
}

void resetTerminateRequest()
{
    g_terminating = false;
}

} // namespace hw
