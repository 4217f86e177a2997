// The window on the demo lesson library: every section, every pattern of the gallery, and a
// step played in both hands.
#include "BuiltOnce.h"
#include "TutorTree.h"

#include "hw/demo/DemoLibrary.h"

#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

QList<QByteArray> plannedTitles(const demo::PlannedLesson& lesson)
{
    QList<QByteArray> out;
    for (const demo::PlannedTopic& t : lesson.topics)
        out << t.title;
    return out;
}

} // namespace

TEST(TutorDemoLibrary, EverySectionAndPatternShowsItsFirstFrames)
{
    const QDir root(demoTree());
    const demo::DemoPlan& plan = demo::demoPlan();
    TutorWindow w(root);
    TForm1& f = *w;
    EXPECT_TRUE(f.catalogueErrors().empty());

    click(f.QuickTourButton);
    EXPECT_EQ(listBytes(f.TopicsListBox), plannedTitles(plan.quickTour));
    EXPECT_TRUE(waitForFrame(f, plan.quickTour.topics[0].startFrame));
    clickTopic(f, 1);
    EXPECT_TRUE(waitForFrame(f, plan.quickTour.topics[1].startFrame));

    click(f.TechniquesButton);
    EXPECT_EQ(listBytes(f.TopicsListBox), plannedTitles(plan.techniques));
    EXPECT_TRUE(waitForFrame(f, plan.techniques.topics[0].startFrame));
    click(f.NextButton);
    EXPECT_TRUE(waitForFrame(f, plan.techniques.topics[1].startFrame));

    // The gallery lists every pattern in alphabetical order, whatever the file order.
    click(f.PatternsButton);
    ASSERT_EQ(f.PatternsListBox->Count(), plan.patterns.size());
    for (int i = 1; i < f.PatternsListBox->Count(); ++i)
        EXPECT_LE(QString::compare(f.PatternsListBox->item(i - 1)->text(), f.PatternsListBox->item(i)->text(),
                                   Qt::CaseInsensitive),
                  0);

    for (const demo::PlannedLesson& lesson : plan.patterns) {
        SCOPED_TRACE(lesson.displayName.toStdString());
        click(f.PatternsButton);
        const int row = galleryRowOf(f, lesson.displayName);
        ASSERT_GE(row, 0);
        clickGalleryItem(f, row);
        ASSERT_NE(f.currentFly(), nullptr);
        EXPECT_EQ(f.currentFly()->displayName, lesson.displayName);
        EXPECT_EQ(listBytes(f.TopicsListBox), plannedTitles(lesson));
        EXPECT_EQ(listBytes(f.MaterialsAndInstructionsListBox), lesson.materials);
        EXPECT_FALSE(f.LogoImage->Picture().isNull());
        EXPECT_TRUE(f.PrintRecipeButton->isVisible());
        EXPECT_TRUE(waitForFrame(f, lesson.topics[0].startFrame));
        click(f.NextButton);
        EXPECT_TRUE(waitForFrame(f, lesson.topics[1].startFrame));
    }
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorDemoLibrary, AStepPlaysInBothHands)
{
    const QDir root(demoTree());
    const demo::PlannedLesson& lesson = demo::demoPlan().patterns.front();
    const demo::PlannedTopic& step = lesson.topics.front();
    TutorWindow w(root);
    TForm1& f = *w;
    openPattern(f, lesson.displayName);
    ASSERT_TRUE(waitForFrame(f, step.startFrame));
    std::vector<int> seen = playToEnd(f);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), step.stopFrame);

    f.RightLeftComboBox->setFocus();
    QTest::keyClick(f.RightLeftComboBox, Qt::Key_Down);
    ASSERT_EQ(f.handedness(), 1);
    EXPECT_TRUE(waitForFrame(f, step.startFrame + step.offset));
    seen = playToEnd(f);
    ASSERT_FALSE(seen.empty());
    EXPECT_GE(*std::min_element(seen.begin(), seen.end()), step.startFrame + step.offset);
    EXPECT_EQ(seen.back(), step.stopFrame + step.offset - 1);
    EXPECT_TRUE(w.errorBoxes().empty());
}
