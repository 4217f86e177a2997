// The tests' own watchdog: a test that waits for ever ends within its time-out, saying so.
#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <future>

// Run only by the test below, in a process of its own.
TEST(Watchdog, DISABLED_WaitsForEver)
{
    std::promise<void> never;
    never.get_future().wait();
}

TEST(Watchdog, EndsATestThatWaitsForEverWithAMessage)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HW_TEST_TIMEOUT"), QStringLiteral("2"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=Watchdog.DISABLED_WaitsForEver")});
    ASSERT_TRUE(child.waitForFinished(60000)) << "the watchdog did not end the test";
    EXPECT_NE(child.exitCode(), 0);
    EXPECT_TRUE(child.readAllStandardError().contains(
        "Watchdog.DISABLED_WaitsForEver did not finish within its time-out"));
}
