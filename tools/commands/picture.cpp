// picture IN.bmp OUT.png: decodes a bitmap with the program's own reader, the one the
// gallery's pictures go through, and writes what it read as PNG, or prints the reader's
// message. Authors use it to see a pattern picture as the tutor will.
#include "Command.h"

#include "hw/Exception.h"
#include "hw/content/Bitmap.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QTextStream>

namespace {

int runPicture(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: hacklewright-tool picture IN.bmp OUT.png\n";
        return 2;
    }
    const QFileInfo in(args[0]);
    QImage picture;
    try {
        picture = hw::loadBitmapFile(in.absoluteFilePath(), args[0]);
    } catch (const hw::Exception& e) {
        err << "hacklewright-tool picture: " << args[0] << ": " << e.message() << '\n';
        return 1;
    }
    if (picture.isNull()) {
        err << "hacklewright-tool picture: " << args[0] << " is empty: the program shows an empty picture\n";
        return 1;
    }
    QImageWriter writer(args[1], "png");
    if (!writer.write(picture)) {
        err << "hacklewright-tool picture: cannot write " << args[1] << ": " << writer.errorString() << '\n';
        return 1;
    }
    QTextStream(stdout) << args[0] << ": " << picture.width() << " x " << picture.height() << '\n';
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"picture", "picture IN.bmp OUT.png",
                                 "decode a bitmap as the tutor does and save it as PNG", runPicture});

} // namespace
