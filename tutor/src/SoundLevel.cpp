#include "hw/tutor/SoundLevel.h"

#include "hw/media/TMediaPlayer.h"

#include "StoredBool.h"

#include <QSettings>

#include <algorithm>

namespace hw {

namespace {
const QString kVolumeKey = QStringLiteral("Sound/Volume");
const QString kMutedKey = QStringLiteral("Sound/Muted");
} // namespace

SoundLevel SoundLevel::load(const QSettings& settings)
{
    SoundLevel level;
    bool ok = false;
    const int volume = settings.value(kVolumeKey).toInt(&ok);
    if (ok)
        level.volume = std::clamp(volume, 0, 100);
    level.muted = storedBool(settings.value(kMutedKey), level.muted);
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

void SoundLevel::applyTo(TMediaPlayer& player) const
{
    player.setVolume(volume);
    player.setMuted(muted);
}

std::shared_ptr<QSettings> userSettings()
{
    return std::make_shared<QSettings>(QStringLiteral("Hacklewright"), QStringLiteral("Hacklewright"));
}

} // namespace hw
