// The four screens, composed by any sequence of section and gallery clicks, and the
// gallery's own layout and drawing.
#include "TutorTree.h"

#include "hw/tutor/THiddenControlsForm.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

using namespace Qt::Literals::StringLiterals;

namespace {

// The window against its column of the screen table; on a lesson, the logo is fly's picture.
void expectScreen(TForm1& f, Screen screen, const tFlyRecord* fly = nullptr)
{
    EXPECT_EQ(screenMismatch(f, screen).toStdString(), "") << screenName(screen);
    if (screen == Screen::Lesson && fly) {
        EXPECT_EQ(f.LogoImage->Picture().image.cacheKey(), fly->picture.cacheKey());
    }
    const bool gallery = screen == Screen::Gallery;
    const bool lesson = screen == Screen::Lesson;
    // Assistive tools learn the current section from the one checked section button.
    auto checked = [](QWidget* button) {
        const QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
        EXPECT_TRUE(a && a->state().checkable) << button->objectName().toStdString();
        return a && a->state().checked;
    };
    EXPECT_EQ(checked(f.QuickTourButton), screen == Screen::QuickTour);
    EXPECT_EQ(checked(f.TechniquesButton), screen == Screen::Techniques);
    EXPECT_EQ(checked(f.PatternsButton), gallery || lesson);
}

QStringList lines(ListBox* list)
{
    QStringList out;
    for (int i = 0; i < list->Count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

TEST(TutorScreens, SectionClicksComposeTheirScreens)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    const tFlyRecord* adams = f.catalogue().findFly("Adams");
    const tFlyRecord* caddis = f.catalogue().findFly("Cr\xE8me Caddis");
    ASSERT_TRUE(adams && caddis);

    click(f.QuickTourButton);
    expectScreen(f, Screen::QuickTour);
    EXPECT_EQ(lines(f.TopicsListBox), (QStringList{u"Welcome"_s, u"Using the tutor"_s, u"Printing"_s}));
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_EQ(
        lines(f.MaterialsAndInstructionsListBox),
        (QStringList{u"Click on a quick tour topic below."_s, u"Click Play to view the selected topic."_s}));
    EXPECT_TRUE(waitForFrame(f, 0));
    EXPECT_EQ(f.currentTopic(), f.catalogue().quickTourList());

    click(f.TechniquesButton);
    expectScreen(f, Screen::Techniques);
    EXPECT_EQ(lines(f.TopicsListBox), (QStringList{u"Whip finish"_s, u"Dubbing"_s}));
    EXPECT_EQ(
        lines(f.MaterialsAndInstructionsListBox),
        (QStringList{u"Click on a technique below."_s, u"Click Play to view the selected technique."_s}));
    EXPECT_TRUE(waitForFrame(f, 0));
    EXPECT_EQ(f.currentOffset(), 12);

    click(f.PatternsButton);
    expectScreen(f, Screen::Gallery);
    // Only the screen changed: the lists and the clip stay loaded, hidden.
    EXPECT_EQ(lines(f.TopicsListBox), (QStringList{u"Whip finish"_s, u"Dubbing"_s}));
    EXPECT_EQ(f.currentSectionList(), f.catalogue().techniquesList());

    clickGalleryItem(f, galleryRowOf(f, "Adams"));
    expectScreen(f, Screen::Lesson, adams);
    EXPECT_EQ(f.currentFly(), adams);
    EXPECT_EQ(lines(f.TopicsListBox), (QStringList{u"Tail"_s, u"Body"_s, u"Hackle"_s}));
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_EQ(lines(f.MaterialsAndInstructionsListBox),
              (QStringList{u"Dry fly hook, size 12"_s, u"Grizzly and brown fibres"_s}));
    EXPECT_EQ(f.LogoImage->accessibleName(), QStringLiteral("Adams"));
    EXPECT_TRUE(waitForFrame(f, 0));

    click(f.PatternsButton);
    expectScreen(f, Screen::Gallery);
    clickGalleryItem(f, galleryRowOf(f, "Cr\xE8me Caddis"));
    expectScreen(f, Screen::Lesson, caddis);
    EXPECT_EQ(lines(f.TopicsListBox), (QStringList{u"Body"_s, u"Wing"_s}));
    EXPECT_TRUE(waitForFrame(f, 0));

    click(f.QuickTourButton);
    expectScreen(f, Screen::QuickTour);
    // The current pattern is kept for the lesson screen only.
    EXPECT_EQ(f.currentFly(), caddis);
    click(f.PatternsButton);
    click(f.TechniquesButton);
    expectScreen(f, Screen::Techniques);
    click(f.TechniquesButton); // pressing it again reloads it the same way
    expectScreen(f, Screen::Techniques);
    EXPECT_EQ(f.TopicsListBox->Count(), 2);
    EXPECT_TRUE(waitForFrame(f, 0));
    openPattern(f, "Adams");
    click(f.PatternsButton);
    click(f.PatternsButton);
    expectScreen(f, Screen::Gallery);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorScreens, QuickTourWhilePlayingStopsAndReloads)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    clickTopic(f, 2);
    ASSERT_TRUE(waitForFrame(f, 20));
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    EXPECT_TRUE(showsStopFace(f));
    click(f.QuickTourButton);
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_EQ(f.TopicsListBox->ItemIndex(), 0);
    EXPECT_EQ(f.TopicsListBox->Count(), 3);
    EXPECT_TRUE(waitForFrame(f, 0));
    // The notice of the stopped play does not bring the Stop face back.
    QCoreApplication::processEvents();
    EXPECT_TRUE(showsPlayFace(f));
}

TEST(TutorScreens, GalleryIsASortedThreeColumnPictureList)
{
    // An extra gallery name without a pattern behind it draws an empty cell.
    TutorWindow w(standardTree(), [](Catalogue& c, const DisplayNameSink& sink, const QDir& root) {
        auto errors = initResources(c, sink, root);
        sink("Aardvark");
        return errors;
    });
    TForm1& f = *w;
    click(f.PatternsButton);
    GalleryListBox* g = f.PatternsListBox;
    ASSERT_EQ(g->Count(), 4);
    EXPECT_EQ(g->bytesAt(0), QByteArray("Aardvark"));
    EXPECT_EQ(g->bytesAt(1), QByteArray("Adams"));
    EXPECT_EQ(g->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(g->columnWidth(), 125);
    // Column by column, two 80-pixel cells to a column.
    EXPECT_EQ(g->visualItemRect(g->item(0)), QRect(0, 0, 125, 80));
    EXPECT_EQ(g->visualItemRect(g->item(1)), QRect(0, 80, 125, 80));
    EXPECT_EQ(g->visualItemRect(g->item(2)), QRect(125, 0, 125, 80));
    EXPECT_EQ(g->visualItemRect(g->item(3)), QRect(125, 80, 125, 80));

    // Adams' 60 x 40 picture, red left and yellow right, stretched over its whole cell;
    // selected, and still only the picture shows.
    g->setItemIndex(1);
    const QImage shot = g->viewport()->grab().toImage();
    const QRect adams = g->visualItemRect(g->item(1));
    EXPECT_EQ(QColor(shot.pixel(adams.left() + 2, adams.top() + 40)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(adams.left() + 60, adams.top() + 40)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(adams.left() + 65, adams.top() + 40)), QColor(Qt::yellow));
    EXPECT_EQ(QColor(shot.pixel(adams.right() - 1, adams.bottom() - 1)), QColor(Qt::yellow));
    // The caddis picture is green all over; the unmatched name only the list's fill.
    const QRect caddis = g->visualItemRect(g->item(2));
    EXPECT_EQ(QColor(shot.pixel(caddis.center())), QColor(Qt::green));
    const QRect aardvark = g->visualItemRect(g->item(0));
    EXPECT_EQ(QColor(shot.pixel(aardvark.center())), g->palette().color(QPalette::Base));

    // With the keyboard focus in the gallery, a dotted rectangle marks the chosen cell.
    auto blackOnTopEdge = [&] {
        const QImage image = g->viewport()->grab().toImage();
        int black = 0;
        for (int x = adams.left(); x <= adams.right(); ++x)
            black += QColor(image.pixel(x, adams.top())) == QColor(Qt::black);
        return black;
    };
    f.QuickTourButton->setFocus();
    EXPECT_EQ(blackOnTopEdge(), 0);
    g->setFocus();
    EXPECT_GT(blackOnTopEdge(), 20);

    // A press on the empty part of the gallery changes nothing.
    const QPoint empty = g->visualItemRect(g->item(3)).bottomRight() + QPoint(60, -40);
    ASSERT_EQ(g->itemAtPoint(empty), -1);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, empty);
    EXPECT_TRUE(g->isVisible());
    EXPECT_EQ(g->ItemIndex(), 1);

    // The unmatched name: the lesson screen with empty lists, no pattern and no clip.
    clickGalleryItem(f, 0);
    EXPECT_TRUE(f.TopicsListBox->isVisible());
    EXPECT_EQ(f.TopicsListBox->Count(), 0);
    EXPECT_EQ(f.MaterialsAndInstructionsListBox->Count(), 0);
    EXPECT_EQ(f.currentFly(), nullptr);
    EXPECT_TRUE(f.LogoImage->Picture().isNull());
    click(f.PlayStopButton);
    click(f.StepForwardButton);
    click(f.RewindButton);
    click(f.PrintRecipeButton);
    EXPECT_EQ(f.MediaPlayer1->Mode(), TMPModes::mpNotReady);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorScreens, TwinNamesOpenTheFirstPattern)
{
    TutorWindow w(twinsTree());
    TForm1& f = *w;
    click(f.PatternsButton);
    GalleryListBox* g = f.PatternsListBox;
    ASSERT_EQ(g->Count(), 2);
    const tFlyRecord* first = f.catalogue().flyList();
    const QImage shot = g->viewport()->grab().toImage();
    const QRgb expected = first->picture.pixel(10, 10);
    EXPECT_EQ(shot.pixel(g->visualItemRect(g->item(0)).center()), expected);
    EXPECT_EQ(shot.pixel(g->visualItemRect(g->item(1)).center()), expected);
    clickGalleryItem(f, 1);
    EXPECT_EQ(f.currentFly(), first);
    ASSERT_EQ(f.MaterialsAndInstructionsListBox->Count(), 1);
    EXPECT_EQ(f.MaterialsAndInstructionsListBox->bytesAt(0), first->materials.value(0));
}
