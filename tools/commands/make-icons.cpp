// make-icons DIR NAME: draws the program's desktop icon into the icon theme's layout,
// DIR/SIZExSIZE/apps/NAME.png for every size the desktop gets.
#include "Command.h"

#include "hw/artwork/AppIcon.h"

#include <QDir>
#include <QTextStream>

namespace {

int makeIcons(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: hacklewright-tool make-icons DIR NAME\n";
        return 2;
    }
    for (const int size : hw::appIconSizes()) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[0]).arg(size);
        const QString file = folder + QLatin1Char('/') + args[1] + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !hw::renderAppIcon(size).save(file, "PNG")) {
            err << "make-icons: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"make-icons", "make-icons DIR NAME",
                                 "draw the desktop icon into DIR/SIZExSIZE/apps/NAME.png", makeIcons});

} // namespace
