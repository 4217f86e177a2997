#pragma once
// What the INI reader leaves out of a file: ignored lines, cut values, keys and sections
// that the loader never asks for.
#include "Findings.h"

#include "hw/content/IniFile.h"

#include <QList>

namespace hw::check {

// Lines the reader ignores and values or key lists it cuts short.
void reportIniNotes(const IniFile& ini, const QString& file, Findings& out);

// The sections and keys the loader reads from one kind of file.
struct IniLayout {
    QByteArray countKey;         // "numsteps" or "NumTopics", in [Info]
    QList<QByteArray> infoKeys;  // every key of [Info] that is read
    QList<QByteArray> topicKeys; // every key of [Topics N] that is read
    bool hasMaterials = false;   // [Materials] is read whole
};
// Sections and keys that are present but never read (a misspelt key, a step numbered
// "Topics 01", a step beyond the count). count is the number of topics the loader reads.
void reportUnread(const IniFile& ini, const QString& file, const IniLayout& layout, int count, Findings& out);

} // namespace hw::check
