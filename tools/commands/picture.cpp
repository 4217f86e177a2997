// picture IN.bmp OUT.png: decodes a bitmap with the program's own reader, the one the
// gallery's pictures go through, and writes what it read as PNG, or prints the reader's
// message. Authors use it to see a pattern picture as the tutor will.
#include "Command.h"
#include "OutputFiles.h"

#include "hw/Exception.h"
#include "hw/content/Bitmap.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

int runPicture(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: hacklewright-tool picture IN.bmp OUT.png\n";
        return 2;
    }
    if (const QString refusal = hw::tool::sameFileRefusal(args[0], args[1]); !refusal.isEmpty()) {
        err << "hacklewright-tool picture: " << refusal << '\n';
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
    if (QString error; !hw::tool::savePng(picture, args[1], error)) {
        err << "hacklewright-tool picture: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << args[0] << ": " << picture.width() << " x " << picture.height() << '\n';
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"picture", "picture IN.bmp OUT.png",
                                 "decode a bitmap as the tutor does and save it as PNG", runPicture});

} // namespace
