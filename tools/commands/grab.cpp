// grab VIDEO FRAME OUT.png: shows one frame of a lesson video through the clip device, the
// way the tutor shows a topic's first frame, and saves what the video panel shows. Authors
// use it to find the frame numbers for their INI files.
#include "Command.h"
#include "OutputFiles.h"

#include "hw/ContentPath.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QFrame>
#include <QTextStream>

namespace {

// The file the clip device opens for a video named on the command line.
QString resolveVideo(const QString& video)
{
    const QString found = hw::resolveContentPath(video);
    return found.isEmpty() ? video : found;
}

int runGrab(const QStringList& args)
{
    QTextStream err(stderr);
    QStringList rest = args;
    QSize panelSize(320, 240);
    if (const qsizetype i = rest.indexOf(QStringLiteral("--size")); i >= 0 && i + 1 < rest.size()) {
        const QStringList wh = rest[i + 1].split(QLatin1Char('x'));
        if (wh.size() == 2)
            panelSize = QSize(wh[0].toInt(), wh[1].toInt());
        rest.remove(i, 2);
    }
    bool ok = false;
    const int frame = rest.size() == 3 ? rest[1].toInt(&ok) : -1;
    if (!ok || frame < 0 || panelSize.width() < 16 || panelSize.height() < 16) {
        err << "usage: hacklewright-tool grab VIDEO FRAME OUT.png [--size WxH]\n"
               "  the panel is 320x240 unless --size says otherwise\n";
        return 2;
    }
    const QString video = hw::tool::commandLinePath(rest[0]);
    if (const QString refusal = hw::tool::sameFileRefusal(resolveVideo(video), rest[2]); !refusal.isEmpty()) {
        err << "hacklewright-tool grab: " << refusal << '\n';
        return 2;
    }
    QFrame panel;
    panel.setFrameStyle(QFrame::NoFrame);
    panel.resize(panelSize);
    try {
        hw::TMediaPlayer player;
        player.setSoundOutput(hw::makeNullSoundOutput); // shows frames only: no sound server is asked
        player.setDisplay(&panel);
        player.setFileName(video);
        player.Open();
        if (frame >= player.Length()) {
            err << "hacklewright-tool grab: the video has " << player.Length() << " frames (0 to "
                << player.Length() - 1 << ")\n";
            return 2;
        }
        // A play from the frame to itself, as the tutor shows a topic's first frame.
        player.setStartPos(frame);
        player.setEndPos(frame);
        player.setNotify(false);
        player.setWait(true);
        player.Play();
        if (hw::PlayerInspection::displayedFrame(player) != frame) {
            err << "hacklewright-tool grab: the device could not show frame " << frame << '\n';
            return 1;
        }
        if (QString error; !hw::tool::savePng(panel.grab().toImage(), rest[2], error)) {
            err << "hacklewright-tool grab: " << error << '\n';
            return 1;
        }
    } catch (const hw::Exception& e) {
        err << "hacklewright-tool grab: " << e.message() << '\n';
        return 1;
    }
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"grab", "grab VIDEO FRAME OUT.png [--size WxH]",
                                 "save a frame of a video as the video panel shows it", runGrab});

} // namespace
