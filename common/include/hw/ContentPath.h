#pragma once
// Content paths are written the way the disc's file system spells them: relative, with
// backslashes (sometimes slashes), compared without regard to case. On Linux each path
// component has to be looked up case-insensitively.
#include <QDir>
#include <QString>
#include <QStringList>

namespace hw {

// Resolves a content path written with either separator against root (the current
// directory when omitted), matching every component without regard to case. An exact
// match wins over a case-folded one. An absolute path that names an existing entry as it
// is written, backslashes and all, is that entry. Returns the absolute path of the existing file or
// folder, or an empty string when there is none.
QString resolveContentPath(const QString& path, const QDir& root = QDir::current());

// Lists the entries of folder (a content path, resolved as above) whose names match the
// wildcard pattern ("*.ini") without regard to case, in the order the file system returns
// them; files, folders, hidden and system entries alike. Returns names as listed.
QStringList listContentFolder(const QString& folder, const QString& pattern,
                              const QDir& root = QDir::current());

} // namespace hw
