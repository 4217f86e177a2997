// catalog [DIR]: loads a lesson library the way the tutor does and prints what it holds,
// so that authors see their content as the program reads it.
#include "Command.h"

#include "hw/content/Catalogue.h"
#include "hw/content/CatalogueText.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

int runCatalog(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() > 1) {
        err << "usage: hacklewright-tool catalog [DIR]\n";
        return 2;
    }
    QDir root = QDir::current();
    if (!args.isEmpty()) {
        if (!QFileInfo(args.first()).isDir()) {
            err << "hacklewright-tool catalog: no folder " << args.first() << '\n';
            return 2;
        }
        root = QDir(QFileInfo(args.first()).absoluteFilePath());
    }
    hw::Catalogue catalogue;
    const std::vector<hw::CatalogueError> errors = hw::initResources(catalogue, {}, root);
    out << hw::describeCatalogue(catalogue);
    out.flush();
    if (errors.empty())
        return 0;
    err << "Errors (" << errors.size() << ")\n" << hw::describeErrors(errors);
    return 1;
}

const bool registered = hw::tool::registerCommand(
    {"catalog", "catalog [DIR]", "load a lesson library (DIR or the current folder) and list it",
     runCatalog});

} // namespace
