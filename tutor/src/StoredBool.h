#pragma once
// A yes/no read back from the settings store: only what Qt writes for a bool counts ("no" or
// "1" typed by hand would otherwise read as true); anything else leaves the caller's default.
#include <QVariant>

namespace hw {

inline bool storedBool(const QVariant& value, bool fallback)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString();
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    return fallback;
}

} // namespace hw
