#pragma once
// The learner's practice choices: the playing speed (this run only) and the sound level
// (kept in a settings store between runs).
#include "hw/tutor/SoundLevel.h"

#include <QString>

namespace hw {

enum class PlaySpeed { Normal, Half, Quarter };

double speedFactor(PlaySpeed speed);
PlaySpeed nextInCycle(PlaySpeed speed); // normal, half, quarter, normal again
PlaySpeed slower(PlaySpeed speed);      // stops at quarter
PlaySpeed faster(PlaySpeed speed);      // stops at normal

// The corner badge over the video: "Loop", "½×", "Loop ¼×"; empty at normal speed
// without loop.
QString practiceBadgeText(bool loop, PlaySpeed speed);

} // namespace hw
