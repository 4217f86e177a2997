#pragma once
// What tests, tools and benchmarks look at inside a TMediaPlayer: the picture on show, the
// pacing of plays, and a way to wait until the clip device has settled. The program itself
// never needs these.
#include "hw/media/TMediaPlayer.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace hw {

// Frames presented by plays since Open, and how many of them came later than one frame
// period.
struct PlaybackStats {
    int presented = 0;
    int late = 0;
    int64_t maxLateUs = 0;
    // For each frame presented (the latest ones), microseconds: the clock's time when it
    // was put on show minus its due time; for plays paced by their sound, the time the
    // listener heard then minus the time the frame's sound began.
    std::vector<int32_t> offsetsUs;
    int soundPaced = 0; // frames presented by plays paced by their sound
};

struct PlayerInspection {
    // The picture the display surface shows now (null if none).
    static QImage displayedPicture(const TMediaPlayer& player) { return player.displayedPicture(); }
    // Frame number of the displayed picture, or -1.
    static int32_t displayedFrame(const TMediaPlayer& player) { return player.displayedFrame(); }
    // The caption drawn over the displayed picture ("" when none is drawn).
    static QString displayedCaption(const TMediaPlayer& player) { return player.displayedCaption(); }
    // Returns when the open device has nothing left to do (frame order learnt, pictures for
    // stepping cached). Does nothing when closed.
    static void waitUntilIdle(TMediaPlayer& player) { player.waitUntilIdle(); }
    static PlaybackStats playbackStats(const TMediaPlayer& player) { return player.playbackStats(); }
    // Forgets the decoded pictures kept for stepping, so that the next command has to decode.
    static void dropCachedPictures(TMediaPlayer& player) { player.dropCachedPictures(); }
};

} // namespace hw
