#pragma once
// The entries of one content folder, looked up by name without regard to case. Listing a
// folder once and answering from memory keeps loading linear in the number of patterns,
// where resolving each picture path alone would list the folder again for every file
// whose case differs.
#include <QDir>
#include <QHash>
#include <QString>
#include <QStringList>

namespace hw {

class FolderIndex {
public:
    // folder is a content path ("Flies"); an absent folder gives an empty index.
    FolderIndex(const QString& folder, const QDir& root);

    bool exists() const { return !absolutePath_.isEmpty(); }
    // Entries in the file system's listing order.
    const QStringList& names() const { return names_; }
    // The absolute path of the entry named name (the exact spelling wins over one that
    // differs only in case, then the first in listing order), or an empty string.
    QString resolve(const QString& name) const;

private:
    QString absolutePath_;
    QStringList names_;
    QHash<QString, qsizetype> exact_;
    QHash<QString, qsizetype> folded_;
};

} // namespace hw
