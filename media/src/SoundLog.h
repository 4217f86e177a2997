#pragma once
// The log category of the clip device's sound: one line when a clip's sound or the sound
// server is not to be had, pictures going on silently.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSound)
