// Play/Stop, Rewind, the one-frame steps and the change of hand, watched through the
// frame stamped in every picture the video panel shows.
#include "TutorTree.h"

#include <QAbstractItemView>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

int minOf(const std::vector<int>& v)
{
    return v.empty() ? -1 : *std::min_element(v.begin(), v.end());
}
int maxOf(const std::vector<int>& v)
{
    return v.empty() ? -1 : *std::max_element(v.begin(), v.end());
}

// Opens the lesson of the "Range" pattern: one step 100..200, offset 500.
void openRange(TForm1& f)
{
    openPattern(f, "Range");
    ASSERT_TRUE(waitForFrame(f, 100));
}

// Plays and stops once the picture has moved at least `frames` into the clip.
int playAndStopAfter(TForm1& f, int frame)
{
    click(f.PlayStopButton);
    EXPECT_TRUE(waitFor([&] { return frameOnScreen(f).value_or(-1) >= frame; }));
    click(f.PlayStopButton);
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_TRUE(waitFor([&] { return f.MediaPlayer1->Mode() == TMPModes::mpStopped; }));
    return f.MediaPlayer1->Position();
}

} // namespace

TEST(TutorTransport, PlayRunsTheRangeAndTheFaceReturnsAtTheEnd)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.QuickTourButton);
    clickTopic(f, 1);
    ASSERT_TRUE(waitForFrame(f, 10));

    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    EXPECT_TRUE(showsStopFace(f));
    EXPECT_EQ(f.PlayStopButton->accessibleName(), QStringLiteral("Stop"));
    click(f.PlayStopButton);
    EXPECT_EQ(f.PlayStopButton->accessibleName(), QStringLiteral("Play"));
    click(f.RewindButton);
    ASSERT_TRUE(waitForFrame(f, 10));

    std::vector<int> seen = playToEnd(f);
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_EQ(frameOnScreen(f), 19);
    EXPECT_EQ(f.MediaPlayer1->Position(), 19);
    EXPECT_GE(minOf(seen), 10);
    EXPECT_LE(maxOf(seen), 19);

    // Standing on the last frame, Play runs the whole range again from its first frame.
    seen = playToEnd(f);
    EXPECT_LE(minOf(seen), 11);
    EXPECT_EQ(seen.back(), 19);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorTransport, RangeTableAndTheWorkedExample)
{
    TutorWindow w(rangeTree());
    TForm1& f = *w;
    openRange(f);

    // Right hand: 100 ... 200.
    std::vector<int> seen = playToEnd(f);
    EXPECT_GE(minOf(seen), 100);
    EXPECT_EQ(seen.back(), 200);

    // Left hand: 600 ... 699, from the first frame, shown as soon as the hand changes.
    chooseHandFromList(f, 1);
    EXPECT_TRUE(waitForFrame(f, 600));
    EXPECT_EQ(f.MediaPlayer1->StartPos(), 600);
    EXPECT_EQ(f.MediaPlayer1->EndPos(), 699);
    EXPECT_TRUE(showsPlayFace(f));
    seen = playToEnd(f);
    EXPECT_GE(minOf(seen), 600);
    EXPECT_EQ(seen.back(), 699);

    // Stopped in mid-clip, Play resumes where it stopped.
    chooseHandFromList(f, 0);
    ASSERT_TRUE(waitForFrame(f, 100));
    const int stoppedAt = playAndStopAfter(f, 110);
    EXPECT_EQ(frameOnScreen(f), stoppedAt);
    seen = playToEnd(f);
    EXPECT_GE(minOf(seen), stoppedAt);
    EXPECT_EQ(seen.back(), 200);

    // After a Play and a Stop, a step moves the place Play resumes from.
    click(f.RewindButton);
    EXPECT_TRUE(waitForFrame(f, 100));
    const int stopped = playAndStopAfter(f, 105);
    click(f.StepForwardButton);
    EXPECT_TRUE(waitForFrame(f, stopped + 1));
    seen = playToEnd(f);
    EXPECT_GE(minOf(seen), stopped + 1);
    EXPECT_EQ(seen.back(), 200);
    EXPECT_TRUE(w.errorBoxes().empty());
}

TEST(TutorTransport, StepsStayInsideTheRangeAndRewindGoesToItsStart)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.TechniquesButton);
    ASSERT_TRUE(waitForFrame(f, 0));

    // Back on the first frame: nothing moves.
    click(f.StepBackButton);
    EXPECT_EQ(f.MediaPlayer1->Position(), 0);
    // Two steps forward, then Play: the range chosen with the topic is still pending, so
    // the play starts at the topic's first frame.
    click(f.StepForwardButton);
    click(f.StepForwardButton);
    EXPECT_TRUE(waitForFrame(f, 2));
    std::vector<int> seen = playToEnd(f);
    EXPECT_LE(minOf(seen), 1);
    EXPECT_EQ(seen.back(), 11);

    // On the last frame a step forward stays there; a step back moves one frame.
    click(f.StepForwardButton);
    EXPECT_EQ(f.MediaPlayer1->Position(), 11);
    click(f.StepBackButton);
    EXPECT_TRUE(waitForFrame(f, 10));
    EXPECT_TRUE(showsPlayFace(f));

    // A step while playing stops the clip and shows the Play face.
    click(f.RewindButton);
    EXPECT_TRUE(waitForFrame(f, 0));
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    click(f.StepForwardButton);
    EXPECT_NE(f.MediaPlayer1->Mode(), TMPModes::mpPlaying);
    EXPECT_TRUE(showsPlayFace(f));

    // Rewind while playing: stopped on the first frame, then Play runs the whole range.
    click(f.PlayStopButton);
    ASSERT_TRUE(waitForPlaying(f));
    click(f.RewindButton);
    EXPECT_TRUE(showsPlayFace(f));
    EXPECT_TRUE(waitForFrame(f, 0));
    seen = playToEnd(f);
    EXPECT_LE(minOf(seen), 1);
    EXPECT_EQ(seen.back(), 11);

    // The same in the left hand: the bounds are the left-handed range 12 ... 22.
    openPattern(f, "Adams");
    chooseHandFromList(f, 1);
    click(f.TechniquesButton);
    ASSERT_TRUE(waitForFrame(f, 12));
    click(f.StepBackButton);
    EXPECT_EQ(f.MediaPlayer1->Position(), 12);
    seen = playToEnd(f);
    EXPECT_EQ(seen.back(), 22);
    click(f.StepForwardButton);
    EXPECT_EQ(f.MediaPlayer1->Position(), 22);
    click(f.RewindButton);
    EXPECT_TRUE(waitForFrame(f, 12));
    EXPECT_TRUE(w.errorBoxes().empty());
}

// Our band over the video names the pattern, the step and the hand in a pattern lesson, and
// nothing in the sections.
TEST(TutorTransport, LessonBandNamesThePatternStepAndHand)
{
    TutorWindow w(rangeTree());
    TForm1& f = *w;
    auto band = [&] {
        const auto* note = f.VideoPanel->findChild<QWidget*>(QStringLiteral("LessonTitle"));
        return note && note->isVisible() ? note->accessibleName() : QString();
    };
    openRange(f);
    EXPECT_EQ(band(), QStringLiteral("Range  \u2014  1. Whole  \u2014  Right hand"));
    chooseHandFromList(f, 1);
    EXPECT_TRUE(band().endsWith(QStringLiteral("Left hand"))) << band().toStdString();
    click(f.QuickTourButton);
    EXPECT_EQ(band(), QString());
}

TEST(TutorTransport, ChangingHandWhilePlayingMovesToTheNewHand)
{
    TutorWindow w(rangeTree());
    TForm1& f = *w;
    openRange(f);
    click(f.PlayStopButton);
    ASSERT_TRUE(waitFor([&] { return frameOnScreen(f).value_or(0) >= 105; }));
    chooseHandFromList(f, 1);
    ASSERT_TRUE(waitFor([&] { return frameOnScreen(f).value_or(0) >= 600; }));
    // The clip plays on in the left hand, from its first frame to its last.
    EXPECT_TRUE(showsStopFace(f));
    std::vector<int> seen;
    ASSERT_TRUE(waitFor(
        [&] {
            if (const auto frame = frameOnScreen(f))
                seen.push_back(*frame);
            return showsPlayFace(f) && f.MediaPlayer1->Mode() == TMPModes::mpStopped;
        },
        30000));
    ASSERT_FALSE(seen.empty());
    EXPECT_GE(minOf(seen), 600);
    EXPECT_EQ(seen.back(), 699);
    EXPECT_TRUE(w.errorBoxes().empty());
}
