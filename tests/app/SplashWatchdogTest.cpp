// When the splash stops waiting for its video's completion notice.
#include "hw/app/SplashWatchdog.h"

#include <gtest/gtest.h>

using hw::SplashWatchdog;

namespace {
struct FakeClock {
    qint64 now = 1000;
    SplashWatchdog::Clock clock()
    {
        return [this] { return now; };
    }
};
} // namespace

TEST(SplashWatchdog, APlayThatMovesIsWaitedForHoweverLongItIs)
{
    FakeClock t;
    SplashWatchdog dog({4000, 15000}, t.clock());
    EXPECT_FALSE(dog.overdue(true, 0)); // not started: never overdue
    dog.start();
    // Ten minutes of video, a frame every 100 ms: never overdue while it moves.
    for (int frame = 0; frame < 6000; ++frame) {
        t.now += 100;
        ASSERT_FALSE(dog.overdue(true, frame)) << frame;
    }
    // The device stops on its last frame and the notice does not come: a grace, then on.
    t.now += 100;
    EXPECT_FALSE(dog.overdue(false, 5999));
    t.now += 3999;
    EXPECT_FALSE(dog.overdue(false, 5999));
    t.now += 1;
    EXPECT_TRUE(dog.overdue(false, 5999));
    dog.stop();
    EXPECT_FALSE(dog.overdue(false, 5999));
}

TEST(SplashWatchdog, AStalledOrJumpingPlayIsGivenUpOn)
{
    FakeClock t;
    SplashWatchdog dog({4000, 15000}, t.clock());

    // Says it plays, but the picture stays on one frame.
    dog.start();
    t.now += 14999;
    EXPECT_FALSE(dog.overdue(true, 7)); // the first report counts as progress
    t.now += 14999;
    EXPECT_FALSE(dog.overdue(true, 7));
    t.now += 1;
    EXPECT_TRUE(dog.overdue(true, 7));

    // Jumping back and forth is no progress either.
    dog.start();
    EXPECT_FALSE(dog.overdue(true, 10));
    for (int i = 0; i < 150; ++i) {
        t.now += 100;
        dog.overdue(true, i % 2 ? 3 : 10);
    }
    EXPECT_TRUE(dog.overdue(true, 10));

    // A device that never starts playing gets the grace only.
    dog.start();
    EXPECT_FALSE(dog.overdue(false, 0));
    t.now += 4000;
    EXPECT_TRUE(dog.overdue(false, 0));

    // Playing again after a stop (a hiccup) restarts the grace.
    dog.start();
    EXPECT_FALSE(dog.overdue(false, 0));
    t.now += 3000;
    EXPECT_FALSE(dog.overdue(true, 1));
    t.now += 3000;
    EXPECT_FALSE(dog.overdue(false, 2));
    t.now += 3999;
    EXPECT_FALSE(dog.overdue(false, 2));
    t.now += 1;
    EXPECT_TRUE(dog.overdue(false, 2));
}
