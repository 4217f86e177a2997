// make-artwork DIR: draws the program's built-in pictures into DIR/artwork and DIR/recipes.
// The output is committed under assets/; run it again after changing the drawings.
#include "Command.h"

#include "hw/artwork/Artwork.h"

#include <QTextStream>

namespace {

int makeArtwork(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: hacklewright-tool make-artwork DIR\n";
        return 2;
    }
    QString error;
    if (!hw::writeArtwork(args.first(), &error)) {
        err << "make-artwork: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "make-artwork: wrote " << hw::artworkPictures().size() << " pictures under "
                        << args.first() << '\n';
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"make-artwork", "make-artwork DIR",
                                 "draw the built-in artwork and recipe pictures into DIR", makeArtwork});

} // namespace
