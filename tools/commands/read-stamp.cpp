// read-stamp PICTURE | read-stamp VIDEO FRAME: prints the frame number stamped in a picture,
// or in the given frame of a video as the clip device shows it.
#include "Command.h"
#include "OutputFiles.h"

#include "hw/clips/FrameStamp.h"
#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QImageReader>
#include <QTextStream>

namespace {

int runReadStamp(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 1 && args.size() != 2) {
        err << "usage: hacklewright-tool read-stamp PICTURE\n"
               "       hacklewright-tool read-stamp VIDEO FRAME\n";
        return 2;
    }
    QImage picture;
    if (args.size() == 1) {
        QImageReader reader(args[0]);
        picture = reader.read();
        if (picture.isNull()) {
            err << "hacklewright-tool read-stamp: cannot read " << args[0] << ": " << reader.errorString()
                << '\n';
            return 2;
        }
    } else {
        bool ok = false;
        const int frame = args[1].toInt(&ok);
        if (!ok || frame < 0) {
            err << "hacklewright-tool read-stamp: bad frame number " << args[1] << '\n';
            return 2;
        }
        try {
            hw::TMediaPlayer player;
            player.setSoundOutput(hw::makeNullSoundOutput); // shows frames only: no sound server is asked
            player.setSoundOutput(hw::makeNullSoundOutput); // shows frames only: no sound server is asked
            player.setFileName(hw::tool::commandLinePath(args[0]));
            player.Open();
            if (frame >= player.Length()) {
                err << "hacklewright-tool read-stamp: the video has " << player.Length() << " frames\n";
                return 2;
            }
            player.setPosition(frame); // waits until the frame is shown
            picture = hw::PlayerInspection::displayedPicture(player);
        } catch (const hw::Exception& e) {
            err << "hacklewright-tool read-stamp: " << e.message() << '\n';
            return 2;
        }
    }
    const auto stamp = hw::readFrameStamp(picture);
    if (!stamp) {
        err << "no stamp\n";
        return 1;
    }
    out << *stamp << '\n';
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"read-stamp", "read-stamp PICTURE | VIDEO FRAME",
                                 "print the frame number stamped in a picture", runReadStamp});

} // namespace
