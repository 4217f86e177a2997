#include "VideoProbe.h"

#include "hw/media/TMediaPlayer.h"

namespace hw::check {

VideoProbe probeVideo(const QString& absolutePath)
{
    VideoProbe probe;
    try {
        TMediaPlayer player;
        player.setSoundOutput(makeNullSoundOutput); // it never plays: no sound server is asked
        player.setNotify(false);
        player.setFileName(absolutePath);
        player.Open();
        probe.facts.length = player.Length();
        probe.facts.fps = player.framesPerSecond();
        player.Close();
        probe.opened = true;
    } catch (const Exception& e) {
        probe.error = e.message();
    }
    return probe;
}

} // namespace hw::check
