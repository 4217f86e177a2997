// Choosing topics: by click, by keyboard, by Next and Previous.
#include "TempTree.h"
#include "TutorTree.h"

#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

TEST(TutorNavigation, TopicsNextAndPreviousShowEachTopicsFirstFrame)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    ASSERT_TRUE(waitForFrame(f, 0));

    clickTopic(f, 1);
    EXPECT_TRUE(waitForFrame(f, 10));
    EXPECT_EQ(f.currentTopic()->title, QByteArray("Using the tutor"));
    EXPECT_EQ(f.MediaPlayer1->StartPos(), 10);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 19);

    click(f.NextButton);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 2);
    EXPECT_TRUE(waitForFrame(f, 20));
    // Next on the last topic does nothing, and does not stop a playing clip.
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    click(f.NextButton);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 2);
    EXPECT_TRUE(showsStopFace(f));
    EXPECT_TRUE(waitForPlayFace(f));
    EXPECT_EQ(frameOnScreen(f), 29);

    click(f.PreviousButton);
    EXPECT_TRUE(waitForFrame(f, 10));
    click(f.PreviousButton);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_TRUE(waitForFrame(f, 0));
    click(f.PreviousButton); // on the first topic: nothing
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_EQ(f.currentTopic(), f.catalogue().quickTourList());

    // The keyboard moves the selection like a click.
    f.TopicsListBox->setFocus();
    QTest::keyClick(f.TopicsListBox, Qt::Key_Down);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 10));
    QTest::keyClick(f.TopicsListBox, Qt::Key_End);
    EXPECT_TRUE(waitForFrame(f, 20));

    // In a pattern lesson the steps play in the chosen hand.
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    clickTopic(f, 2);
    EXPECT_TRUE(waitForFrame(f, 30));
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 59);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorNavigation, TheHandAppliesInEverySection)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    f.RightLeftComboBox->setFocus();
    QTest::keyClick(f.RightLeftComboBox, Qt::Key_Down);
    ASSERT_EQ(f.handedness(), 1);
    EXPECT_TRUE(waitForFrame(f, 45));

    // Quick Tour topics have offset 0: the left-handed range ends one frame early.
    click(f.QuickTourButton);
    EXPECT_TRUE(waitForFrame(f, 0));
    EXPECT_EQ(f.MediaPlayer1->StartPos(), 0);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 8);
    click(f.TechniquesButton);
    EXPECT_TRUE(waitForFrame(f, 12));
    clickTopic(f, 1);
    EXPECT_TRUE(waitForFrame(f, 36));
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 46);
}

TEST(TutorNavigation, EachStepTakesItsOwnOffsetInTheLeftHand)
{
    TempTree t;
    t.mkdir(QStringLiteral("Flies"));
    ASSERT_TRUE(QFile::copy(standardTree().filePath(QStringLiteral("Flies/Adams.avi")),
                            t.path(QStringLiteral("Flies/Mixed.avi"))));
    t.write(QStringLiteral("Flies/Mixed.bmp"), {});
    t.write(QStringLiteral("Flies/Mixed.ini"),
            "[Info]\nname=Mixed\nnumsteps=2\n"
            "[Topics 1]\ntitle=One\nStartFrame=0\nStopFrame=9\nOffset=50\n"
            "[Topics 2]\ntitle=Two\nStartFrame=10\nStopFrame=19\nOffset=60\n");
    TutorWindow w(t.root());
    TForm1& f = *w;
    openPattern(f, "Mixed");
    ASSERT_TRUE(waitForFrame(f, 0));
    f.RightLeftComboBox->setFocus();
    QTest::keyClick(f.RightLeftComboBox, Qt::Key_Down);
    ASSERT_TRUE(waitForFrame(f, 50));
    clickTopic(f, 1);
    EXPECT_TRUE(waitForFrame(f, 70));
    EXPECT_EQ(f.currentOffset(), 60);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 78);
    click(f.PreviousButton);
    EXPECT_TRUE(waitForFrame(f, 50));
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 58);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorNavigation, ATopicChosenWhileAnotherIsShownWinsWhole)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    ASSERT_TRUE(waitForFrame(f, 0));
    clickTopic(f, 2);
    ASSERT_TRUE(waitForFrame(f, 20));
    // A key press already queued when the click on the first topic arrives: the click's
    // handler lets it run in its middle.
    f.TopicsListBox->setFocus();
    QCoreApplication::postEvent(f.TopicsListBox,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    clickTopic(f, 0);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 10));
    EXPECT_EQ(f.currentTopic(), f.catalogue().quickTourList()->next);
    EXPECT_EQ(f.MediaPlayer1->StartPos(), 10);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 19);
    const std::vector<int> seen = playToEnd(f);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 19);
}

TEST(TutorNavigation, ASectionChosenWhileATopicIsShownWinsWhole)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    ASSERT_TRUE(waitForFrame(f, 0));
    clickTopic(f, 2);
    ASSERT_TRUE(waitForFrame(f, 20));
    // A click on Techniques already queued when the topic click arrives, then one on the
    // gallery queued during a Quick Tour click: each runs after the handler it landed in.
    QMetaObject::invokeMethod(
        &f, [&f] { f.TechniquesButtonClick(); }, Qt::QueuedConnection);
    clickTopic(f, 0);
    const tTopicRecord* techniques = f.catalogue().techniquesList();
    EXPECT_EQ(f.currentSectionList(), techniques);
    EXPECT_EQ(f.currentTopic(), techniques);
    EXPECT_EQ(f.currentOffset(), techniques->offset);
    EXPECT_EQ(f.TopicsListBox->selectedBytes(), techniques->title);
    EXPECT_EQ(f.MediaPlayer1->StartPos(), techniques->startFrame);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), techniques->stopFrame);

    click(f.PatternsButton);
    f.PatternsListBox->setItemIndex(galleryRowOf(f, "Adams"));
    QMetaObject::invokeMethod(
        &f, [&f] { f.PatternsListBoxClick(); }, Qt::QueuedConnection);
    f.QuickTourButtonClick();
    ASSERT_NE(f.currentFly(), nullptr);
    EXPECT_EQ(f.currentFly()->displayName, QByteArray("Adams"));
    EXPECT_EQ(f.currentSectionList(), f.currentFly()->topics);
    EXPECT_EQ(f.currentTopic(), f.currentFly()->topics);
    EXPECT_TRUE(f.PatternsListBox->isHidden());
    EXPECT_TRUE(f.RightLeftComboBox->isVisible());
    EXPECT_TRUE(waitForFrame(f, 0));
    EXPECT_TRUE(w.errorBoxes().empty());
}
