#pragma once
// The learner's practice choices: the playing speed (this run only), the sound level (see
// hw/tutor/SoundLevel.h) and captions (kept in a settings store between runs).
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

// Whether captions are shown: on unless the learner switched them off.
bool captionsShown(const QSettings& settings);
void saveCaptionsShown(QSettings& settings, bool shown);
// The brief note shown when captions are switched.
QString captionsNote(bool shown, bool clipHasCaptions);

} // namespace hw
