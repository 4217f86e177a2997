#pragma once
// Files the program reads whole (lesson INI files, page files) have a ceiling far above any
// real one, so that a huge or endless file is refused before it is read.
#include <QByteArray>
#include <QString>

namespace hw {

constexpr qint64 kMostLessonFileBytes = qint64{4} << 20; // an INI file
constexpr qint64 kMostPageFileBytes = qint64{16} << 20;  // saved report pages, pictures and all

// "File Flies\Big.ini is too large (314572800 bytes; at most 4 MB)".
QString fileTooLargeMessage(const QString& shownName, qint64 size, qint64 limit);

// Reads a regular file whole when it holds at most limit bytes (also when it grows while
// read). Returns false with error set: the file is too large (the message above), or
// cannot be opened ("Cannot open file %s").
bool readWholeFile(const QString& path, const QString& shownName, qint64 limit, QByteArray& bytes,
                   QString& error);

} // namespace hw
