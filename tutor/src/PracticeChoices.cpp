#include "PracticeChoices.h"
#include "StoredBool.h"

#include <QSettings>
#include <QStringList>

namespace hw {

namespace {
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

bool captionsShown(const QSettings& settings)
{
    return storedBool(settings.value(kCaptionsKey), true);
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
