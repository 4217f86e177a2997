#pragma once
// What tests, tools and benchmarks look at inside a TMediaPlayer: the picture on show, the
// pacing of plays, and a way to wait until the clip device has settled. The program itself
// never needs these.
#include "hw/media/PlaybackStats.h"
#include "hw/media/TMediaPlayer.h"

#include <QImage>

#include <cstdint>
#include <functional>

namespace hw {

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
    // Calls presented(picture, frame) on the device's worker the moment each picture goes on
    // show (before the display surface is told); keep it short, the worker waits on it. An
    // empty function ends the calls.
    static void onPresent(TMediaPlayer& player, std::function<void(const QImage&, int32_t)> presented)
    {
        player.setPresentHook(std::move(presented));
    }
};

} // namespace hw
