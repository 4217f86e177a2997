#pragma once
// The learner's practice choices: the playing speed (this run only), the sound level and
// captions (kept in a settings store between runs).
#include <QString>

class QSettings;

namespace hw {

enum class PlaySpeed { Normal, Half, Quarter };

double speedFactor(PlaySpeed speed);
PlaySpeed nextInCycle(PlaySpeed speed); // normal, half, quarter, normal again
PlaySpeed slower(PlaySpeed speed);      // stops at quarter
PlaySpeed faster(PlaySpeed speed);      // stops at normal

// The corner badge over the video: "Loop", "½×", "Loop ¼×"; empty at normal speed
// without loop.
QString practiceBadgeText(bool loop, PlaySpeed speed);

struct SoundLevel {
    static constexpr int kStep = 10;
    int volume = 100; // percent, 0..100
    bool muted = false;

    // A missing or unreadable entry gives the default; a volume out of range is clamped.
    static SoundLevel load(const QSettings& settings);
    void save(QSettings& settings) const;
    void louder();
    void softer();
    // The brief note shown in the video panel when the level changes.
    QString note() const;
};

// Whether captions are shown: on unless the learner switched them off.
bool captionsShown(const QSettings& settings);
void saveCaptionsShown(QSettings& settings, bool shown);
// The brief note shown when captions are switched.
QString captionsNote(bool shown, bool clipHasCaptions);

} // namespace hw
