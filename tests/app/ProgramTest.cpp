// The program itself, run as a process on the demo library: it starts on the Quick Tour
// and ends with exit code 0 whenever the tutor window asks, whatever is going on.
#include "BuiltOnce.h"
#include "BuiltTools.h"
#include "ProgramRun.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using hw::test::demoTree;
using hw::test::ProgramRun;

namespace {

#define ASSERT_OK(reply) ASSERT_TRUE((reply).startsWith(QLatin1String("ok"))) << (reply).toStdString()

// The six patterns that have a recipe card.
const QStringList kRecipePatterns
    = {QStringLiteral("Bullet Head Hopper"), QStringLiteral("Deer Hair Cricket"),
       QStringLiteral("Parachute Adams"),    QStringLiteral("Gold Ribbed Hare's Ear Nymph"),
       QStringLiteral("Parachute Hopper"),   QStringLiteral("Deer Hair Ant")};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo(hw::test::programPath()).isExecutable())
            GTEST_SKIP() << "the program is not built";
        run = std::make_unique<ProgramRun>(demoTree());
        ASSERT_TRUE(run->started());
    }

    // Dismisses the error box now showing, after checking its caption and text.
    void dismissErrorBox(const QString& text)
    {
        const QString box = run->command(QStringLiteral("wait-shown QMessageBox"));
        ASSERT_OK(box);
        EXPECT_TRUE(box.contains(QStringLiteral("title=\"hacklewright\""))) << box.toStdString();
        EXPECT_TRUE(box.contains(text)) << box.toStdString();
        ASSERT_OK(run->command(QStringLiteral("key QMessageBox Return")));
        ASSERT_OK(run->command(QStringLiteral("wait-closed")));
    }

    // Waits for the tutor window after the splash, with the Quick Tour opened by itself.
    void waitForQuickTour()
    {
        ASSERT_OK(run->command(QStringLiteral("wait-shown SplashForm 30000"), 40000));
        ASSERT_OK(run->command(QStringLiteral("wait-shown Form1 60000"), 70000));
        ASSERT_OK(run->command(QStringLiteral("wait-hidden SplashForm")));
        ASSERT_OK(run->command(QStringLiteral("wait-items TopicsListBox 1")));
        const QString lines = run->command(QStringLiteral("items MaterialsAndInstructionsListBox"));
        EXPECT_TRUE(lines.contains(QLatin1String("Click on a quick tour topic below.")))
            << lines.toStdString();
        // No error box on the way.
        ASSERT_OK(run->command(QStringLiteral("windows")));
        for (const QString& window : run->lastLines())
            EXPECT_FALSE(window.contains(QLatin1String("QMessageBox"))) << window.toStdString();
    }

    void expectCleanExit()
    {
        ASSERT_TRUE(run->waitForExit(20000)) << "the program did not end";
        EXPECT_EQ(run->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run->exitCode(), 0);
    }

    std::unique_ptr<ProgramRun> run;
};

} // namespace

TEST_F(ProgramTest, StartsOnTheQuickTourAndClosingTheTutorEndsWithZero)
{
    waitForQuickTour();
    ASSERT_OK(run->command(QStringLiteral("close Form1")));
    expectCleanExit();
}

TEST_F(ProgramTest, EndsWithZeroWhileAClipPlays)
{
    waitForQuickTour();
    ASSERT_OK(run->command(QStringLiteral("click PlayStopButton")));
    ASSERT_OK(run->command(QStringLiteral("wait-named PlayStopButton Stop"))); // the clip plays
    ASSERT_OK(run->command(QStringLiteral("close Form1")));
    expectCleanExit();
}

TEST_F(ProgramTest, EndsWithZeroWhileARecipePreviewIsOpen)
{
    waitForQuickTour();
    ASSERT_OK(run->command(QStringLiteral("click PatternsButton")));
    ASSERT_OK(run->command(QStringLiteral("wait-items PatternsListBox 1")));
    const QString gallery = run->command(QStringLiteral("items PatternsListBox"));
    QString pattern;
    for (const QString& name : kRecipePatterns)
        if (gallery.contains(name))
            pattern = name;
    if (pattern.isEmpty())
        GTEST_SKIP() << "no pattern with a recipe card in the demo library: " << gallery.toStdString();
    ASSERT_OK(run->command(QStringLiteral("click-item PatternsListBox ") + pattern));
    ASSERT_OK(run->command(QStringLiteral("wait-shown PrintRecipeButton")));
    ASSERT_OK(run->command(QStringLiteral("click PrintRecipeButton")));
    ASSERT_OK(run->command(QStringLiteral("wait-shown TReportPreviewWindow")));
    ASSERT_OK(run->command(QStringLiteral("close Form1")));
    expectCleanExit();
}

TEST_F(ProgramTest, TheExitButtonEndsWithZero)
{
    ASSERT_OK(run->command(QStringLiteral("wait-shown SplashForm 30000"), 40000));
    // A key on the splash goes straight on to the tutor window.
    ASSERT_OK(run->command(QStringLiteral("key SplashForm Escape")));
    ASSERT_OK(run->command(QStringLiteral("wait-shown Form1 30000"), 40000));
    ASSERT_OK(run->command(QStringLiteral("wait-items TopicsListBox 1")));
    ASSERT_OK(run->command(QStringLiteral("click GoinFishinButton")));
    expectCleanExit();
}

TEST_F(ProgramTest, ErrorsOnTheWayAreShownAndTheTutorStillComes)
{
    // A library without its splash video, and with a pattern whose picture is missing.
    run.reset();
    QTemporaryDir library;
    ASSERT_TRUE(library.isValid());
    const QString demo = demoTree();
    ASSERT_TRUE(
        QFile::link(demo + QStringLiteral("/QuickTour"), library.filePath(QStringLiteral("QuickTour"))));
    ASSERT_TRUE(QDir(library.path()).mkdir(QStringLiteral("Flies")));
    QFile pattern(library.filePath(QStringLiteral("Flies/Broken.ini")));
    ASSERT_TRUE(pattern.open(QIODevice::WriteOnly));
    pattern.write("[Info]\r\nname=Broken Pattern\r\nnumsteps=1\r\n");
    pattern.close();
    run = std::make_unique<ProgramRun>(library.path());
    ASSERT_TRUE(run->started());

    // The splash video's error first (the device's own text), then the catalogue's.
    dismissErrorBox(QStringLiteral("text=\""));
    if (HasFailure())
        return;
    dismissErrorBox(QStringLiteral("text=\"Cannot open file Flies\\Broken.bmp.\""));
    if (HasFailure())
        return;
    ASSERT_OK(run->command(QStringLiteral("wait-shown Form1")));
    ASSERT_OK(run->command(QStringLiteral("wait-items TopicsListBox 1")));
    ASSERT_OK(run->command(QStringLiteral("close Form1")));
    expectCleanExit();
}
