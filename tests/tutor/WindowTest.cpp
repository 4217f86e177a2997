// The window itself: layout, hints, keyboard order, font, creation, resizing and closing.
#include "TutorTree.h"

#include "hw/Termination.h"
#include "hw/tutor/THiddenControlsForm.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

struct Expected {
    const char* name;
    QRect geometry;
    bool shown;
    const char* hint; // nullptr: none
};

const Expected kComponents[] = {
    {"BackgroundImage", {0, 0, 632, 453}, true, nullptr},
    {"GoinFishinButton", {502, 408, 119, 41}, true, "Click to exit the program"},
    {"QuickTourButton", {502, 89, 119, 41}, true, "Click for an overview of Hacklewright"},
    {"PatternsButton", {502, 185, 119, 41}, true, "Click to view patterns and tying demonstrations"},
    {"TechniquesButton", {502, 137, 119, 41}, true, "Click to view common tying techniques"},
    {"PlayStopButton", {124, 417, 49, 32}, true, "Click to play or stop the current topic/video clip"},
    {"RewindButton", {179, 417, 49, 32}, true, "Click to rewind the current topic/video clip"},
    {"PreviousButton", {15, 417, 49, 32}, true, "Click to move to the previous topic/video clip"},
    {"NextButton", {287, 417, 49, 32}, true, "Click to move to the next topic/video clip"},
    {"RightLeftComboBox", {351, 386, 129, 21}, false, "Click to choose left of right handed demonstrations"},
    {"TopicsListBox", {349, 168, 129, 206}, true, "Select a topic/video clip from the list"},
    {"StepBackButton", {69, 417, 49, 32}, false, "Click to step backward one frame"},
    {"StepForwardButton", {233, 417, 49, 32}, false, "Click to step forward one frame"},
    {"LogoImage", {15, 79, 120, 80}, true, nullptr},
    {"MaterialsAndInstructionsListBox",
     {148, 88, 331, 70},
     true,
     "Instructions or materials will appear here"},
    {"VideoPanel", {15, 168, 320, 240}, true, nullptr},
    {"PatternsListBox", {64, 161, 375, 180}, false, "Select a pattern for a tying lesson"},
    {"PrintRecipeButton", {355, 417, 120, 32}, false, nullptr},
};

// The hint the window shows for a hover over the widget's middle, or an empty string.
QString hoverHint(QWidget* widget)
{
    QHelpEvent help(QEvent::ToolTip, widget->rect().center(), widget->mapToGlobal(widget->rect().center()));
    QApplication::sendEvent(widget, &help);
    return help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

TEST(TutorWindow, ComponentsStandAtTheirPlacesWithTheirHints)
{
    TutorWindow w(standardTree());
    TForm1& form = *w;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Hacklewright - Volume 2"));
    EXPECT_EQ(form.size(), QSize(632, 453));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(form.toolTip().isEmpty());

    for (const Expected& e : kComponents) {
        SCOPED_TRACE(e.name);
        auto* widget = form.findChild<QWidget*>(QLatin1String(e.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), e.geometry);
        EXPECT_EQ(!widget->isHidden(), e.shown);
        EXPECT_TRUE(widget->isEnabled());
        EXPECT_EQ(widget->toolTip(), e.hint ? QString::fromLatin1(e.hint) : QString());
        // Every control can be named by assistive tools.
        EXPECT_FALSE(widget->accessibleName().isEmpty());
        if (e.shown && e.hint) {
            EXPECT_EQ(hoverHint(widget), QString::fromLatin1(e.hint));
        }
        if (e.shown && !e.hint) {
            EXPECT_TRUE(hoverHint(widget).isEmpty());
        }
    }
    EXPECT_EQ(form.PrintRecipeButton->accessibleName(), QStringLiteral("Print Recipe"));
    EXPECT_EQ(form.PlayStopButton->accessibleName(), QStringLiteral("Play"));
    EXPECT_EQ(form.TopicsListBox->accessibleName(),
              QStringLiteral("Select a topic/video clip from the list"));
    EXPECT_EQ(form.RightLeftComboBox->accessibleName(), QStringLiteral("Choose right- or left-handed tying"));

    // Stacking: the background lowest, every windowed control above every picture.
    const QObjectList& children = form.children();
    auto z = [&](QWidget* widget) { return children.indexOf(widget); };
    EXPECT_EQ(z(form.BackgroundImage), 0);
    for (QWidget* picture :
         {static_cast<QWidget*>(form.LogoImage), static_cast<QWidget*>(form.PlayStopButton),
          static_cast<QWidget*>(form.GoinFishinButton), static_cast<QWidget*>(form.PrintRecipeButton)})
        for (QWidget* windowed :
             {static_cast<QWidget*>(form.TopicsListBox), static_cast<QWidget*>(form.VideoPanel),
              static_cast<QWidget*>(form.PatternsListBox), static_cast<QWidget*>(form.RightLeftComboBox),
              static_cast<QWidget*>(form.MaterialsAndInstructionsListBox)})
            EXPECT_LT(z(picture), z(windowed));

    // Faces are one pixel larger than their buttons, so they cover them.
    EXPECT_EQ(form.QuickTourButton->Face().size(), QSize(120, 42));
    EXPECT_EQ(form.GoinFishinButton->Face().size(), QSize(120, 42));
    EXPECT_EQ(form.PlayStopButton->Face().size(), QSize(50, 33));
    EXPECT_EQ(form.StepBackButton->Face().size(), QSize(50, 33));
    EXPECT_EQ(form.PrintRecipeButton->Face().size(), QSize(120, 33));
    EXPECT_EQ(form.BackgroundImage->Picture().size(), QSize(632, 453));
    EXPECT_EQ(form.LogoImage->Picture().size(), QSize(120, 80));

    // The font: 11-pixel sans-serif; plain list lines 13 pixels high.
    EXPECT_EQ(form.font().pixelSize(), 11);
    EXPECT_EQ(form.TopicsListBox->font().pixelSize(), 11);
    form.QuickTourButton->click();
    ASSERT_GT(form.TopicsListBox->Count(), 1);
    EXPECT_EQ(form.TopicsListBox->visualItemRect(form.TopicsListBox->item(0)).height(), 13);
    EXPECT_EQ(form.TopicsListBox->visualItemRect(form.TopicsListBox->item(1)).top()
                  - form.TopicsListBox->visualItemRect(form.TopicsListBox->item(0)).top(),
              13);
    EXPECT_EQ(
        form.MaterialsAndInstructionsListBox->visualItemRect(form.MaterialsAndInstructionsListBox->item(0))
            .height(),
        13);
}

TEST(TutorWindow, CreationSelectsRightHandLoadsTheGalleryAndKeepsItsSize)
{
    TutorWindow w(standardTree());
    TForm1& form = *w;
    ASSERT_NE(HiddenControlsForm, nullptr);
    EXPECT_FALSE(HiddenControlsForm->isVisible());
    EXPECT_EQ(Form1, &form);
    EXPECT_EQ(form.RightLeftComboBox->currentIndex(), 0);
    EXPECT_EQ(form.RightLeftComboBox->currentText(), QStringLiteral("Tie Right Handed"));
    EXPECT_EQ(form.handedness(), 0);
    EXPECT_TRUE(form.catalogueErrors().empty());
    EXPECT_TRUE(w.errorBoxes().empty());
    // Sorted whatever the listing order; Windows-1252 shown as such.
    ASSERT_EQ(form.PatternsListBox->Count(), 3);
    EXPECT_EQ(form.PatternsListBox->bytesAt(0), QByteArray("Adams"));
    EXPECT_EQ(form.PatternsListBox->bytesAt(1), QByteArray("Cr\xE8me Caddis"));
    EXPECT_EQ(form.PatternsListBox->item(1)->text(), QString::fromUtf8("Crème Caddis"));
    EXPECT_EQ(form.PatternsListBox->bytesAt(2), QByteArray("Zulu Empty"));
    // Nothing is open yet and the lists are empty.
    EXPECT_EQ(form.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    EXPECT_EQ(form.TopicsListBox->Count(), 0);
    EXPECT_EQ(form.MaterialsAndInstructionsListBox->Count(), 0);
    EXPECT_TRUE(showsPlayFace(form));
    EXPECT_EQ(form.currentTopic(), nullptr);

    // Centred on the screen as a 640 x 480 window.
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_EQ(form.pos(),
              QPoint(screen.x() + (screen.width() - 640) / 2, screen.y() + (screen.height() - 480) / 2));

    // Every change of size is undone at once.
    form.resize(800, 600);
    EXPECT_EQ(form.size(), QSize(632, 453));
    form.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.size(), QSize(632, 453));
}

TEST(TutorWindow, ACreationThatStopsEarlyIsReportedAndTheSizeStillHolds)
{
    // A loader that fails outright: the error box shows its message, the later creation
    // steps are skipped, and the window works on an empty catalogue.
    TutorWindow w(standardTree(),
                  [](Catalogue&, const DisplayNameSink& sink, const QDir&) -> std::vector<CatalogueError> {
                      sink("Half");
                      throw EContentError(QStringLiteral("Stream read error"));
                  });
    TForm1& form = *w;
    ASSERT_EQ(w.errorBoxes().size(), 1u);
    EXPECT_EQ(w.errorBoxes()[0], QStringLiteral("Stream read error."));
    EXPECT_EQ(form.PatternsListBox->Count(), 1);
    form.resize(700, 520);
    EXPECT_EQ(form.size(), QSize(632, 453));

    click(form.QuickTourButton);
    EXPECT_EQ(form.TopicsListBox->Count(), 0);
    EXPECT_EQ(form.MaterialsAndInstructionsListBox->Count(), 2);
    click(form.PlayStopButton);
    click(form.NextButton);
    EXPECT_EQ(w.errorBoxes().size(), 1u);
    EXPECT_EQ(form.MediaPlayer1->Mode(), TMPModes::mpNotReady);
}

TEST(TutorWindow, CloseBoxAndExitButtonEndTheProgram)
{
    {
        TutorWindow w(standardTree());
        EXPECT_FALSE(terminateRequested());
        w->close();
        EXPECT_TRUE(terminateRequested());
    }
    {
        TutorWindow w(standardTree());
        click(w->QuickTourButton);
        ASSERT_TRUE(waitForFrame(*w, 0));
        click(w->PlayStopButton);
        ASSERT_TRUE(waitForPlaying(*w));
        click(w->GoinFishinButton);
        EXPECT_TRUE(terminateRequested());
        EXPECT_TRUE(w.errorBoxes().empty());
    }
}

TEST(TutorWindow, TheInstructionListNeverKeepsASelection)
{
    TutorWindow w(standardTree());
    TForm1& form = *w;
    click(form.QuickTourButton);
    ListBox* list = form.MaterialsAndInstructionsListBox;
    ASSERT_EQ(list->Count(), 2);
    const QRect line = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST(TutorWindow, PrintRecipeCallsTheHookWithTheCurrentPattern)
{
    TutorWindow w(standardTree());
    TForm1& form = *w;
    std::vector<const tFlyRecord*> calls;
    form.setPrintRecipeHandler([&](const tFlyRecord* fly) { calls.push_back(fly); });
    form.PrintRecipeButtonClick(); // no pattern chosen yet
    EXPECT_TRUE(calls.empty());
    openPattern(form, "Adams");
    ASSERT_TRUE(form.PrintRecipeButton->isVisible());
    EXPECT_TRUE(hoverHint(form.PrintRecipeButton).isEmpty());
    click(form.PrintRecipeButton);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]->displayName, QByteArray("Adams"));
}

TEST(TutorWindow, GalleryOrderFollowsTheUsersLanguageWithoutRegardToCase)
{
    GalleryListBox gallery;
    for (const char* name : {"Zulu Empty", "\xC9merger Midge", "adams", "Bee", "Adams", "Adams 2", "elk"})
        gallery.addSorted(QByteArray(name));
    const std::vector<QByteArray> expected{"adams",     "Adams", "Adams 2", "Bee", "elk", "\xC9merger Midge",
                                           "Zulu Empty"};
    ASSERT_EQ(gallery.Count(), int(expected.size()));
    for (int i = 0; i < gallery.Count(); ++i)
        EXPECT_EQ(gallery.bytesAt(i), expected[size_t(i)]) << i;
}
