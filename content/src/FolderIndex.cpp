#include "FolderIndex.h"

#include "hw/ContentPath.h"

#include <QFileInfo>

namespace hw {

FolderIndex::FolderIndex(const QString& folder, const QDir& root)
{
    const QString dir = resolveContentPath(folder, root);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return;
    absolutePath_ = dir;
    names_ = listContentFolder(folder, QStringLiteral("*"), root);
    exact_.reserve(names_.size());
    folded_.reserve(names_.size());
    for (qsizetype i = 0; i < names_.size(); ++i) {
        exact_.insert(names_[i], i);
        const QString folded = names_[i].toCaseFolded();
        if (!folded_.contains(folded)) // the first of a kind in listing order
            folded_.insert(folded, i);
    }
}

QString FolderIndex::resolve(const QString& name) const
{
    auto found = exact_.constFind(name);
    if (found == exact_.constEnd()) {
        found = folded_.constFind(name.toCaseFolded());
        if (found == folded_.constEnd())
            return {};
    }
    return absolutePath_ + QLatin1Char('/') + names_[*found];
}

} // namespace hw
