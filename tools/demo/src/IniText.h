#pragma once
// The INI files of the demo library, as a content author's editor would have saved them:
// single-byte text, CRLF line ends.
#include "hw/demo/DemoLibrary.h"

#include "DemoContent.h"

#include <QByteArray>

namespace hw::demo {

QByteArray patternIni(const PatternSpec& design, const PlannedLesson& lesson);
QByteArray sectionIni(const PlannedLesson& lesson);

} // namespace hw::demo
