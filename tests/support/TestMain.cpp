#include "TestWatchdog.h"
#include "hw/app/TApplication.h"

#include <gtest/gtest.h>

// Every test binary runs inside the program's own application object, so that an error
// leaving an event handler is reported (through the error-box hook in tests) instead of
// unwinding through Qt.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("HW_SOURCE_DIR"))
        qputenv("HW_SOURCE_DIR", HW_SOURCE_DIR_DEFAULT);
    if (qEnvironmentVariableIsEmpty("HW_BINARY_DIR"))
        qputenv("HW_BINARY_DIR", HW_BINARY_DIR_DEFAULT);
    hw::TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    hw::test::TestWatchdog* watchdog = nullptr;
    const auto limit = hw::test::TestWatchdog::limitFor(qEnvironmentVariable("HW_TEST_TIMEOUT").toDouble());
    if (limit.count() > 0) {
        watchdog = new hw::test::TestWatchdog(limit);
        listeners.Append(watchdog);
    }
    const int result = RUN_ALL_TESTS();
    delete listeners.Release(watchdog);
    return result;
}
