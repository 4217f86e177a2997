#include "TestWatchdog.h"

#if HW_TEST_PROGRAM_APPLICATION
#include "hw/app/Application.h"
#else
#include <QApplication>
#endif

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The tests of windows run inside the program's own application object, so that an error
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
    // The program's settings (and those of any program a test starts) go to a folder of
    // this run, never the user's.
    QTemporaryDir config;
    if (config.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
#if HW_TEST_PROGRAM_APPLICATION
    hw::Application app(argc, argv);
#else
    QApplication app(argc, argv);
#endif
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
