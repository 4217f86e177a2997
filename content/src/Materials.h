#pragma once
#include "hw/content/IniFile.h"

#include <QByteArray>
#include <QList>

namespace hw {

// The materials lines of a pattern file: one line per distinct key of the section
// (without regard to case) whose first occurrence has a value, in the order of the keys'
// first occurrences, each line holding that value alone.
QList<QByteArray> readMaterials(const IniFile& ini, const QByteArray& section);

} // namespace hw
