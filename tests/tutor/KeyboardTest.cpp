// Everything reachable and usable without a mouse.
#include "TutorTree.h"

#include <QLineEdit>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

// Every control Tab reaches from the focused one, in order, until it comes round again.
QSet<QWidget*> tabCycle(TForm1& f)
{
    QSet<QWidget*> reached;
    for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus)
            break;
        // The drop-down's text field stands for the drop-down.
        if (focus == f.RightLeftComboBox->lineEdit())
            focus = f.RightLeftComboBox;
        reached.insert(focus);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return reached;
}

void expectTabReachesEveryVisibleControl(TForm1& f)
{
    f.activateWindow();
    f.QuickTourButton->setFocus();
    const QSet<QWidget*> reached = tabCycle(f);
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.GoinFishinButton, f.QuickTourButton, f.PatternsButton, f.TechniquesButton, f.PlayStopButton,
             f.RewindButton, f.PreviousButton, f.NextButton, f.RightLeftComboBox, f.TopicsListBox,
             f.StepBackButton, f.StepForwardButton, f.MaterialsAndInstructionsListBox, f.PatternsListBox,
             f.PrintRecipeButton}) {
        if (w->isVisible())
            EXPECT_TRUE(reached.contains(w)) << w->objectName().toStdString();
        else
            EXPECT_FALSE(reached.contains(w)) << w->objectName().toStdString();
    }
}

} // namespace

TEST(TutorKeyboard, TabReachesEveryControlOnEveryScreen)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    expectTabReachesEveryVisibleControl(f);
    click(f.TechniquesButton);
    expectTabReachesEveryVisibleControl(f);
    click(f.PatternsButton);
    expectTabReachesEveryVisibleControl(f);
    clickGalleryItem(f, 0);
    expectTabReachesEveryVisibleControl(f);
    // The drop-down, the topics and the materials come first, in this order.
    f.RightLeftComboBox->setFocus();
    press(f, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.TopicsListBox);
    press(f, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.MaterialsAndInstructionsListBox);
    press(f, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.QuickTourButton);

    // A focused button is pressed with Space or Return.
    f.TechniquesButton->setFocus();
    QTest::keyClick(f.TechniquesButton, Qt::Key_Space);
    EXPECT_TRUE(f.StepBackButton->isVisible());
    f.PatternsButton->setFocus();
    QTest::keyClick(f.PatternsButton, Qt::Key_Return);
    EXPECT_TRUE(f.PatternsListBox->isVisible());
    // In the gallery, the arrows move among the pictures and Return opens one.
    f.PatternsListBox->setFocus();
    f.PatternsListBox->setCurrentRow(0);
    QTest::keyClick(f.PatternsListBox, Qt::Key_Return);
    EXPECT_EQ(f.currentFly(), f.catalogue().findFly(f.PatternsListBox->bytesAt(0)));
    EXPECT_TRUE(f.TopicsListBox->isVisible());
    // The keyboard carries on in the lesson's steps, and back in the gallery after Patterns.
    EXPECT_EQ(QApplication::focusWidget(), f.TopicsListBox);
    click(f.PatternsButton);
    EXPECT_EQ(QApplication::focusWidget(), f.PatternsListBox);
}

TEST(TutorKeyboard, TransportShortcutsActWhereTheirButtonsAreShown)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.TechniquesButton);
    ASSERT_TRUE(waitForFrame(f, 0));
    f.TopicsListBox->setFocus();

    press(f, Qt::Key_Right);
    press(f, Qt::Key_Right);
    EXPECT_TRUE(waitForFrame(f, 2));
    press(f, Qt::Key_Left);
    EXPECT_TRUE(waitForFrame(f, 1));
    press(f, Qt::Key_Space);
    EXPECT_TRUE(waitForPlaying(f));
    EXPECT_TRUE(showsStopFace(f));
    press(f, Qt::Key_Space);
    EXPECT_TRUE(showsPlayFace(f));

    // Home, Page Up and Page Down are transport keys away from the lists...
    f.QuickTourButton->setFocus();
    press(f, Qt::Key_Home);
    EXPECT_TRUE(waitForFrame(f, 0));
    press(f, Qt::Key_PageDown);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 24));
    press(f, Qt::Key_PageUp);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_TRUE(waitForFrame(f, 0));
    // ...and belong to a list that has the focus: the topic list goes to its first line
    // with Home, the instruction list keeps the topic where it is.
    f.TopicsListBox->setFocus();
    press(f, Qt::Key_PageDown);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 24));
    press(f, Qt::Key_Right);
    EXPECT_TRUE(waitForFrame(f, 25));
    press(f, Qt::Key_Home);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_TRUE(waitForFrame(f, 0));
    f.MaterialsAndInstructionsListBox->setFocus();
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home})
        press(f, key);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), f.MaterialsAndInstructionsListBox);
    f.TopicsListBox->setFocus();

    // Space on a focused button presses that button, not Play.
    f.NextButton->setFocus();
    QTest::keyClick(f.NextButton, Qt::Key_Space);
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 1);
    EXPECT_TRUE(waitForFrame(f, 24));
    EXPECT_TRUE(showsPlayFace(f));

    // The Quick Tour has no step buttons: the arrows stay with the focused control.
    click(f.QuickTourButton);
    ASSERT_TRUE(waitForFrame(f, 0));
    f.TopicsListBox->setFocus();
    press(f, Qt::Key_Right);
    EXPECT_EQ(f.MediaPlayer1->Position(), 0);

    // In the gallery no transport key acts; the gallery keeps its keys.
    click(f.PatternsButton);
    f.PatternsListBox->setFocus();
    f.PatternsListBox->setCurrentRow(0);
    QTest::keyClick(f.PatternsListBox, Qt::Key_Space);
    EXPECT_TRUE(f.TopicsListBox->isVisible()); // Space opened the focused pattern
    EXPECT_TRUE(waitForFrame(f, 0));
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_TRUE(w.errorBoxes().empty());
}
