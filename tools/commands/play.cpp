// play VIDEO [FROM TO] [--speed 1|0.5|0.25] [--repeat N] [--mute]: plays a range of a lesson
// video through the clip device, pictures and sound, the way the tutor plays a topic, so
// that an author can hear a step's narration against its frames.
#include "Command.h"
#include "OutputFiles.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QTextStream>
#include <QTimer>

namespace {

int runPlay(const QStringList& args)
{
    QTextStream err(stderr);
    QStringList rest = args;
    double speed = 1;
    int rounds = 0;
    bool mute = false;
    bool ok = true;
    if (const qsizetype i = rest.indexOf(QStringLiteral("--speed")); i >= 0 && i + 1 < rest.size()) {
        speed = rest[i + 1].toDouble(&ok);
        ok = ok && (speed == 1 || speed == 0.5 || speed == 0.25);
        rest.remove(i, 2);
    }
    if (const qsizetype i = rest.indexOf(QStringLiteral("--repeat")); ok && i >= 0 && i + 1 < rest.size()) {
        rounds = rest[i + 1].toInt(&ok);
        ok = ok && rounds > 0;
        rest.remove(i, 2);
    }
    if (const qsizetype i = rest.indexOf(QStringLiteral("--mute")); i >= 0) {
        mute = true;
        rest.remove(i);
    }
    int from = -1, to = -1;
    if (ok && rest.size() == 3) {
        bool a = false, b = false;
        from = rest[1].toInt(&a);
        to = rest[2].toInt(&b);
        ok = a && b && from >= 0 && to >= from;
    } else if (rest.size() != 1) {
        ok = false;
    }
    if (!ok) {
        err << "usage: hacklewright-tool play VIDEO [FROM TO] [--speed 1|0.5|0.25] [--repeat N] [--mute]\n"
               "  plays the whole video unless a frame range is given; --repeat plays the range N times\n";
        return 2;
    }
    QFrame panel;
    panel.resize(320, 240);
    try {
        hw::TMediaPlayer player;
        player.setDisplay(&panel);
        player.setFileName(hw::tool::commandLinePath(rest[0]));
        player.Open();
        if (to >= player.Length()) {
            err << "hacklewright-tool play: the video has " << player.Length() << " frames (0 to "
                << player.Length() - 1 << ")\n";
            return 2;
        }
        player.setSpeed(speed);
        player.setMuted(mute);
        player.setRepeat(rounds > 1);
        if (from >= 0) {
            player.setStartPos(from);
            player.setEndPos(to);
        }
        QEventLoop loop;
        player.OnNotify = [&](QObject*) { loop.quit(); };
        // A repeating play is stopped once it has shown its rounds.
        QTimer poll;
        const int frames = rounds * (to - from + 1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (rounds > 1 && hw::PlayerInspection::playbackStats(player).presented >= frames)
                player.Stop();
        });
        poll.start(5);
        player.Play();
        loop.exec();
        const auto stats = hw::PlayerInspection::playbackStats(player);
        QTextStream(stdout) << stats.presented << " frames shown, " << stats.soundPaced
                            << " paced by the sound, " << stats.late << " late, " << stats.dropped
                            << " dropped\n";
    } catch (const hw::Exception& e) {
        err << "hacklewright-tool play: " << e.message() << '\n';
        return 1;
    }
    return 0;
}

const bool registered = hw::tool::registerCommand(
    {"play", "play VIDEO [FROM TO] [--speed 1|0.5|0.25] [--repeat N] [--mute]",
     "plays a video's frames and sound as the tutor does, to hear a step against its frames", runPlay});

} // namespace
