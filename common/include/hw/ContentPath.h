#pragma once
// Content paths are written the way the disc's file system spells them: relative, with
// backslashes (sometimes slashes), compared without regard to case. On Linux each path
// component has to be looked up case-insensitively.
//
// A content path stays inside the library: one with a ".." component, one that starts at a
// root ("\Flies", on a drive ("C:Flies", "C:\Flies") is refused and resolves to nothing.
// The program's own absolute paths (a library's root joined with a content path) are
// accepted, with the same rule for their components.
#include <QDir>
#include <QHash>
#include <QString>
#include <QStringList>

namespace hw {

// Why a name read from content may not be looked up (a sentence naming it, for the user),
// or an empty string when it may.
QString contentPathRefusal(const QString& path);

// Resolves a content path written with either separator against root (the current
// directory when omitted), matching every component without regard to case. An exact
// match wins over a case-folded one. An absolute path that names an existing entry as it
// is written, backslashes and all, is that entry. Returns the absolute path of the existing
// file or folder, or an empty string when there is none or the path is refused.
QString resolveContentPath(const QString& path, const QDir& root = QDir::current());

// The same resolution for a caller that looks up many paths in one unchanging tree (the
// library check): each folder is listed at most once.
class ContentLookup {
public:
    explicit ContentLookup(const QDir& root);
    QString resolve(const QString& path) const;

private:
    QString findComponent(const QString& dir, const QString& name) const;

    QDir root_;
    // Per folder: each case-folded name and the first entry of it in listing order.
    mutable QHash<QString, QHash<QString, QString>> listings_;
};

// Lists the entries of folder (a content path, resolved as above) whose names match the
// wildcard pattern ("*.ini") without regard to case, in the order the file system returns
// them; files, folders, hidden and system entries alike. Returns names as listed.
QStringList listContentFolder(const QString& folder, const QString& pattern,
                              const QDir& root = QDir::current());

} // namespace hw
