#include "PracticeChoices.h"

#include <QSettings>

#include <algorithm>

namespace hw {

namespace {
const QString kVolumeKey = QStringLiteral("Sound/Volume");
const QString kMutedKey = QStringLiteral("Sound/Muted");
const QString kCaptionsKey = QStringLiteral("Captions/Shown");
} // namespace

double speedFactor(PlaySpeed speed)
{
    switch (speed) {
    case PlaySpeed::Half:
        return 0.5;
    case PlaySpeed::Quarter:
        return 0.25;
    case PlaySpeed::Normal:
        break;
    }
    return 1.0;
}

PlaySpeed nextInCycle(PlaySpeed speed)
{
    switch (speed) {
    case PlaySpeed::Normal:
        return PlaySpeed::Half;
    case PlaySpeed::Half:
        return PlaySpeed::Quarter;
    case PlaySpeed::Quarter:
        break;
    }
    return PlaySpeed::Normal;
}

PlaySpeed slower(PlaySpeed speed)
{
    return speed == PlaySpeed::Normal ? PlaySpeed::Half : PlaySpeed::Quarter;
}

PlaySpeed faster(PlaySpeed speed)
{
    return speed == PlaySpeed::Quarter ? PlaySpeed::Half : PlaySpeed::Normal;
}

QString practiceBadgeText(bool loop, PlaySpeed speed)
{
    QStringList parts;
    if (loop)
        parts << QStringLiteral("Loop");
    if (speed == PlaySpeed::Half)
        parts << QString::fromUtf8("\u00BD\u00D7");
    else if (speed == PlaySpeed::Quarter)
        parts << QString::fromUtf8("\u00BC\u00D7");
    return parts.join(QLatin1Char(' '));
}

SoundLevel SoundLevel::load(const QSettings& settings)
{
    SoundLevel level;
    bool ok = false;
    const int volume = settings.value(kVolumeKey).toInt(&ok);
    if (ok)
        level.volume = std::clamp(volume, 0, 100);
    const QVariant muted = settings.value(kMutedKey);
    if (muted.canConvert<bool>())
        level.muted = muted.toBool();
    return level;
}

void SoundLevel::save(QSettings& settings) const
{
    settings.setValue(kVolumeKey, volume);
    settings.setValue(kMutedKey, muted);
    settings.sync();
}

void SoundLevel::louder()
{
    volume = std::min(100, (volume / kStep + 1) * kStep);
    muted = false;
}

void SoundLevel::softer()
{
    volume = std::max(0, (volume + kStep - 1) / kStep * kStep - kStep);
    muted = false;
}

QString SoundLevel::note() const
{
    if (muted)
        return QStringLiteral("Muted");
    return QStringLiteral("Volume %1 %").arg(volume);
}

bool captionsShown(const QSettings& settings)
{
    const QVariant shown = settings.value(kCaptionsKey);
    return shown.canConvert<bool>() ? shown.toBool() : true;
}

void saveCaptionsShown(QSettings& settings, bool shown)
{
    settings.setValue(kCaptionsKey, shown);
    settings.sync();
}

QString captionsNote(bool shown, bool clipHasCaptions)
{
    if (!shown)
        return QStringLiteral("Captions off");
    return clipHasCaptions ? QStringLiteral("Captions on")
                           : QStringLiteral("Captions on (none for this video)");
}

} // namespace hw
