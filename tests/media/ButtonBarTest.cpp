// The player's button bar in a small window of its own, and the commands behind its buttons.
#include "MediaFixtures.h"

#include "hw/media/TMediaPlayer.h"

#include <QCoreApplication>
#include <QFrame>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using hw::TButtonSet;
using hw::TMediaPlayer;
using hw::TMPBtnType;
using hw::TMPModes;
using namespace hw::test;
using enum hw::TMPBtnType;

namespace {

constexpr int kFrames = 60;

class PlayerBar : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(writeStampedClip(clip(), hw::ClipFormat{}, kFrames));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override
    {
        form_ = std::make_unique<QWidget>();
        form_->resize(340, 300);
        panel_ = new QFrame(form_.get());
        panel_->setGeometry(10, 40, 320, 240);
        player_ = new TMediaPlayer(form_.get());
        player_->setFileName(clip());
        player_->setDisplay(panel_);
        log_.attach(*player_);
        form_->show();
    }
    static QString clip() { return dir_->filePath(QStringLiteral("Bar.avi")); }

    QWidget* bar() const { return player_->buttonBar(); }
    // The visible buttons share the bar's width equally, in their fixed order.
    QPoint centreOf(TMPBtnType button) const
    {
        int slot = 0, count = 0;
        for (int i = 0; i < hw::kMediaButtonCount; ++i) {
            if (!player_->VisibleButtons().contains(TMPBtnType(i)))
                continue;
            if (i < int(button))
                ++slot;
            ++count;
        }
        return QPoint((2 * slot + 1) * bar()->width() / (2 * count), bar()->height() / 2);
    }
    void click(TMPBtnType button) { QTest::mouseClick(bar(), Qt::LeftButton, {}, centreOf(button)); }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QWidget> form_;
    QFrame* panel_ = nullptr;
    TMediaPlayer* player_ = nullptr; // owned by the form
    NoticeLog log_;
};

const TButtonSet kStopped{btPlay, btNext, btPrev, btStep, btBack};
const TButtonSet kPlaying{btPause, btStop, btNext, btPrev, btStep, btBack};

} // namespace

TEST_F(PlayerBar, ShownOnceLoadedWhileVisibleAndOpensWhenAutoOpen)
{
    EXPECT_EQ(bar(), nullptr); // the owner has not finished setting the properties
    player_->Loaded();
    ASSERT_NE(bar(), nullptr);
    EXPECT_EQ(bar()->geometry(), QRect(0, 0, 240, 30));
    EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
    player_->setBoundsRect(QRect(5, 5, 180, 24));
    EXPECT_EQ(bar()->geometry(), QRect(5, 5, 180, 24));
    player_->setVisible(false);
    EXPECT_EQ(bar(), nullptr);

    // As the program's players are made: invisible, never a bar, nothing opened.
    TMediaPlayer hidden(form_.get());
    hidden.setVisible(false);
    hidden.setFileName(clip());
    hidden.setAutoOpen(true);
    hidden.Loaded();
    EXPECT_EQ(hidden.buttonBar(), nullptr);
    EXPECT_EQ(hidden.Mode(), TMPModes::mpStopped);
    TMediaPlayer ownerless;
    ownerless.Loaded();
    EXPECT_EQ(ownerless.buttonBar(), nullptr);

    // The bar goes with its player, though it lives in the owner.
    player_->setVisible(true);
    const QPointer<QWidget> shown = bar();
    ASSERT_FALSE(shown.isNull());
    delete player_;
    player_ = nullptr;
    EXPECT_TRUE(shown.isNull());
}

TEST_F(PlayerBar, AutoEnableFollowsTheDeviceAndOtherwiseKeepsTheGivenSet)
{
    player_->Loaded();
    EXPECT_TRUE(player_->EnabledButtons().empty());
    player_->Open();
    EXPECT_EQ(player_->EnabledButtons(), kStopped); // a video clip neither records nor ejects
    player_->setPosition(kFrames - 3);
    click(btPlay);
    EXPECT_EQ(player_->EnabledButtons(), kPlaying);
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->EnabledButtons(), kStopped);
    player_->Close();
    EXPECT_TRUE(player_->EnabledButtons().empty());

    player_->setAutoEnable(false);
    const TButtonSet given{btPlay, btRecord, btEject};
    player_->setEnabledButtons(given);
    player_->Open();
    click(btPlay);
    click(btStop); // disabled: nothing happens
    EXPECT_EQ(player_->Mode(), TMPModes::mpPlaying);
    player_->Close();
    EXPECT_EQ(player_->EnabledButtons(), given);
}

TEST_F(PlayerBar, OnClickMaySkipTheCommandAndOnPostClickComesAfterIt)
{
    std::vector<QString> calls;
    bool doDefault = false;
    player_->OnClick = [&](QObject* sender, TMPBtnType b, bool& flag) {
        EXPECT_EQ(sender, player_);
        EXPECT_TRUE(flag);
        flag = doDefault;
        calls.push_back(QStringLiteral("click %1").arg(int(b)));
    };
    player_->OnPostClick = [&](QObject*, TMPBtnType b) {
        calls.push_back(QStringLiteral("post %1 at %2").arg(int(b)).arg(player_->Position()));
    };
    player_->setVisibleButtons({btNext, btPrev});
    player_->Loaded();
    player_->Open();
    player_->setPosition(10);

    click(btNext);
    doDefault = true;
    click(btPrev);
    click(btNext);
    // Pressed on one button and released on the other: no click.
    QTest::mousePress(bar(), Qt::LeftButton, {}, centreOf(btPrev));
    QTest::mouseRelease(bar(), Qt::LeftButton, {}, centreOf(btNext));
    EXPECT_EQ(calls,
              (std::vector<QString>{QStringLiteral("click 3"), QStringLiteral("post 3 at 10"),
                                    QStringLiteral("click 4"), QStringLiteral("post 4 at 0"),
                                    QStringLiteral("click 3"), QStringLiteral("post 3 at 60")}));
}

TEST_F(PlayerBar, ArrowKeysMoveAmongEnabledButtonsAndSpaceClicks)
{
    player_->Loaded();
    player_->Open();
    form_->activateWindow();
    bar()->setFocus();
    ASSERT_TRUE(waitFor([&] { return bar()->hasFocus(); }));
    player_->setPosition(30);

    QTest::keyClick(bar(), Qt::Key_Right); // past the disabled Pause and Stop to Next
    QTest::keyClick(bar(), Qt::Key_Space);
    EXPECT_EQ(player_->Position(), kFrames);
    for (int i = 0; i < 5; ++i) // Prev, Step, Back, then nothing further is enabled
        QTest::keyClick(bar(), Qt::Key_Right);
    QTest::keyClick(bar(), Qt::Key_Space);
    EXPECT_EQ(player_->Position(), kFrames - 6);
    QTest::keyClick(bar(), Qt::Key_Up); // Step
    QTest::keyClick(bar(), Qt::Key_Space);
    EXPECT_EQ(player_->Position(), kFrames);
}

TEST_F(PlayerBar, NextPreviousStepAndBackStopAtTheEnds)
{
    TMediaPlayer& player = *player_;
    const std::function<void()> commands[]
        = {[&] { player.Next(); }, [&] { player.Previous(); },       [&] { player.Step(); },
           [&] { player.Back(); }, [&] { player.StartRecording(); }, [&] { player.Eject(); }};
    for (const auto& command : commands)
        EXPECT_THROW(command(), hw::EMCIDeviceError);
    EXPECT_THROW(player_->Tracks(), hw::EMCIDeviceError);
    EXPECT_TRUE(player_->DisplayRect().isNull());

    player_->Open();
    EXPECT_EQ(player_->Frames(), kFrames / 10);
    EXPECT_EQ(player_->Tracks(), 1);
    player_->Step();
    EXPECT_EQ(player_->Position(), 6);
    EXPECT_EQ(displayStamp(*player_), 6);
    player_->setPosition(kFrames - 2);
    player_->Step();
    EXPECT_EQ(player_->Position(), kFrames);
    player_->Back();
    EXPECT_EQ(player_->Position(), kFrames - 6);
    player_->Previous();
    player_->Back();
    EXPECT_EQ(player_->Position(), 0);
    player_->setFrames(20);
    player_->Next();
    player_->Back();
    EXPECT_EQ(player_->Position(), kFrames - 20);
    EXPECT_EQ(displayStamp(*player_), kFrames - 20);

    // The picture can be put anywhere in the Display until the next Open.
    EXPECT_EQ(player_->DisplayRect(), QRect(0, 0, 320, 240));
    player_->setDisplayRect(QRect(40, 20, 160, 120));
    EXPECT_EQ(player_->DisplayRect(), QRect(40, 20, 160, 120));
    EXPECT_TRUE(
        waitFor([&] { return stampOf(panel_->grab(QRect(40, 20, 160, 120)).toImage()) == kFrames - 20; }));
    player_->Open();
    EXPECT_EQ(player_->DisplayRect(), QRect(0, 0, 320, 240));
    EXPECT_EQ(player_->Frames(), kFrames / 10);
}

TEST_F(PlayerBar, RecordingAndEjectAreRefusedOnAVideoClipWithoutNotice)
{
    player_->Open();
    player_->setPosition(10);
    player_->setNotify(true);
    player_->setStartPos(30);
    player_->StartRecording();
    EXPECT_EQ(player_->ErrorMessage(), QStringLiteral("This device cannot record."));
    player_->setNotify(true);
    player_->Eject();
    EXPECT_EQ(player_->ErrorMessage(), QStringLiteral("This device has no media to eject."));
    EXPECT_NE(player_->Error(), 0u);
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Position(), 10);

    // Neither sent a notice; the next command's is the only one. The recording took the
    // pending StartPos, so this play runs from where the clip stands.
    player_->setEndPos(12);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(log_.count(), 1);
    EXPECT_EQ(player_->Position(), 12);
    EXPECT_EQ(displayStamp(*player_), 12);
}
