#pragma once
// The learner's sound level, kept in a settings store between runs; the tutor window and
// the splash play at it.
#include <QString>

#include <memory>

class QSettings;

namespace hw {

class TMediaPlayer;

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
    void applyTo(TMediaPlayer& player) const;
};

// The store of the user's choices between runs.
std::shared_ptr<QSettings> userSettings();

} // namespace hw
