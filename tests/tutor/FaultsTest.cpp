// Content and input the window must survive: sections and patterns without topics, typed
// hand names, frame numbers at the ends of the 32-bit range.
#include "TempTree.h"
#include "TutorTree.h"

#include <QLineEdit>
#include <QTest>

#include <limits>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

void pressEveryTransportButton(TForm1& f)
{
    for (PictureButton* b : {f.PlayStopButton, f.RewindButton, f.StepForwardButton, f.StepBackButton,
                             f.NextButton, f.PreviousButton})
        if (b->isVisible())
            click(b);
}

} // namespace

TEST(TutorFaults, SectionsAndPatternsWithoutTopicsShowEmptyListsAndOpenNothing)
{
    TutorWindow w(emptyTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    EXPECT_EQ(f.TopicsListBox->Count(), 0);
    EXPECT_EQ(f.MaterialsAndInstructionsListBox->Count(), 2);
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    pressEveryTransportButton(f);
    EXPECT_TRUE(showsPlayFace(f));

    click(f.TechniquesButton);
    EXPECT_EQ(f.TopicsListBox->Count(), 0);
    pressEveryTransportButton(f);

    // numsteps -1: picture and materials, no steps, no clip.
    openPattern(f, "Bare");
    EXPECT_EQ(f.currentFly(), f.catalogue().findFly("Bare"));
    EXPECT_EQ(f.TopicsListBox->Count(), 0);
    ASSERT_EQ(f.MaterialsAndInstructionsListBox->Count(), 1);
    EXPECT_EQ(f.MaterialsAndInstructionsListBox->bytesAt(0), QByteArray("Size 16"));
    EXPECT_FALSE(f.LogoImage->Picture().isNull());
    pressEveryTransportButton(f);
    f.RightLeftComboBox->setFocus();
    QTest::keyClick(f.RightLeftComboBox, Qt::Key_Down);
    EXPECT_EQ(f.handedness(), 1);
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorFaults, APatternWithoutStepsLeavesNothingOfThePreviousClipPlayable)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    openPattern(f, "Zulu Empty");
    EXPECT_EQ(f.TopicsListBox->Count(), 0);
    EXPECT_EQ(f.MaterialsAndInstructionsListBox->Count(), 2);
    EXPECT_EQ(f.currentTopic(), nullptr);
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    pressEveryTransportButton(f);
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorFaults, TypedTextChoosesAHandOnlyWhenItNamesOne)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    openPattern(f, "Adams");
    ASSERT_TRUE(waitForFrame(f, 0));
    QLineEdit* edit = f.RightLeftComboBox->lineEdit();
    edit->setFocus();

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("banana"));
    EXPECT_EQ(f.RightLeftComboBox->currentIndex(), 0);
    EXPECT_EQ(f.handedness(), 0);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.RightLeftComboBox->currentIndex(), 0);
    EXPECT_EQ(f.RightLeftComboBox->count(), 2);
    // Once the typing ends the field shows the hand in force again.
    f.TopicsListBox->setFocus();
    EXPECT_EQ(f.RightLeftComboBox->currentText(), QStringLiteral("Tie Right Handed"));
    EXPECT_EQ(frameOnScreen(f), 0);

    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Tie Left Handed"));
    EXPECT_EQ(f.RightLeftComboBox->currentIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 45));

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("tie right handed"));
    EXPECT_EQ(f.RightLeftComboBox->currentIndex(), 0);
    EXPECT_TRUE(waitForFrame(f, 0));

    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QStringLiteral("Tie"));
    EXPECT_EQ(f.RightLeftComboBox->currentIndex(), 0);
    EXPECT_EQ(f.RightLeftComboBox->count(), 2);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorFaults, FrameArithmeticStaysInsideThe32BitRange)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    TutorWindow w(rangeTree());
    TForm1& f = *w;
    openPattern(f, "Huge");
    EXPECT_EQ(f.MediaPlayer1->StartPos(), kMax);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), kMax);

    f.RightLeftComboBox->setFocus();
    QTest::keyClick(f.RightLeftComboBox, Qt::Key_Down);
    ASSERT_EQ(f.handedness(), 1);
    // max + max and max + (max - 1) are clamped; the device has no such frame.
    EXPECT_EQ(f.MediaPlayer1->StartPos(), kMax);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), kMax);
    pressEveryTransportButton(f);

    clickTopic(f, 1);
    // min + min and min + (min - 1) are clamped the other way.
    EXPECT_EQ(f.MediaPlayer1->StartPos(), kMin);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), kMin);
    pressEveryTransportButton(f);
    click(f.PlayStopButton);
    click(f.PlayStopButton);
    // Whatever the device makes of frames it does not have, the window goes on.
    click(f.QuickTourButton);
    EXPECT_TRUE(f.TopicsListBox->isVisible());
}

TEST(TutorFaults, PatternFilesFindTheirClipsByTheNameAsListedAndOnlyInFlies)
{
    // A name outside Windows-1252, and a name whose backslashes would climb out of Flies
    // into the Quick Tour's folder: that one is refused when the library is read, and said so.
    const QDir standard = standardTree();
    TempTree t;
    const QString crab = QString::fromUtf8("\u0106rab");
    const QString escape = QStringLiteral("..\\QuickTour\\QuickTour");
    const QString clip = standard.filePath(QStringLiteral("QuickTour/QuickTour.avi"));
    t.mkdir(QStringLiteral("QuickTour"));
    t.mkdir(QStringLiteral("Flies"));
    ASSERT_TRUE(QFile::copy(clip, t.path(QStringLiteral("QuickTour/QuickTour.avi"))));
    ASSERT_TRUE(QFile::copy(clip, t.path(QStringLiteral("Flies/")) + crab + QStringLiteral(".avi")));
    for (const auto& [base, name] :
         {std::pair{crab, QByteArray("Crab")}, std::pair{escape, QByteArray("Escape")}}) {
        t.write(QStringLiteral("Flies/") + base + QStringLiteral(".ini"),
                "[Info]\nname=" + name + "\nnumsteps=1\n[Topics 1]\ntitle=Body\nStopFrame=9\n");
        t.write(QStringLiteral("Flies/") + base + QStringLiteral(".bmp"), {});
    }
    TutorWindow w(t.root());
    TForm1& f = *w;
    ASSERT_EQ(f.catalogueErrors().size(), 1u);
    EXPECT_TRUE(f.catalogueErrors()[0].message.contains(QStringLiteral("leads out of the library")))
        << f.catalogueErrors()[0].message.toStdString();

    openPattern(f, "Crab");
    EXPECT_TRUE(w.errorBoxes().empty());
    EXPECT_TRUE(waitForFrame(f, 0));
}
