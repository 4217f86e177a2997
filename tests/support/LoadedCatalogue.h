#pragma once
// A lesson library read through the catalogue loader, with what the loader reported on the
// way: the gallery names in the order they came, and the errors.
#include "hw/content/Catalogue.h"

#include <QByteArray>
#include <QDir>
#include <QList>

#include <memory>
#include <vector>

namespace hw::test {

struct LoadedCatalogue {
    Catalogue catalogue;
    QList<QByteArray> gallery;
    std::vector<CatalogueError> errors;
};

inline std::unique_ptr<LoadedCatalogue> loadCatalogue(const QDir& root)
{
    auto loaded = std::make_unique<LoadedCatalogue>();
    loaded->errors = initResources(
        loaded->catalogue, [&](const QByteArray& name) { loaded->gallery.append(name); }, root);
    return loaded;
}

} // namespace hw::test
