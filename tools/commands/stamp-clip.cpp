// stamp-clip OUT.avi [options]: writes a test clip whose every frame shows its frame number
// in large digits and in the machine-readable stamp, for checking what a player shows.
#include "Command.h"

#include "hw/clips/ClipWriter.h"
#include "hw/clips/StampedFrame.h"

#include <QTextStream>

#include <set>

namespace {

const char* const kUsage
    = "usage: hacklewright-tool stamp-clip OUT.avi [--codec NAME] [--size WxH] [--fps N]\n"
      "         [--frames N] [--keyint N] [--bframes] [--quality Q] [--drop F,F,...]\n"
      "  codec: an FFmpeg encoder (mjpeg, mpeg4, cinepak, msvideo1, rawvideo, libx264); default mjpeg\n"
      "  drop:  frame numbers written as dropped-frame slots (they repeat the frame before)\n";

int runStampClip(const QStringList& args)
{
    QTextStream err(stderr);
    hw::ClipFormat format;
    int frames = 150;
    std::set<int> drop;
    QString out;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        bool ok = true;
        if (a == QLatin1String("--codec")) {
            format.codec = value();
            ok = !format.codec.isEmpty();
        } else if (a == QLatin1String("--size")) {
            const QStringList wh = value().split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (wh.size() == 2)
                format.size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            ok = okW && okH && format.size.width() >= 48 && format.size.height() >= 16;
        } else if (a == QLatin1String("--fps")) {
            format.framesPerSecond = value().toInt(&ok);
            ok = ok && format.framesPerSecond > 0;
        } else if (a == QLatin1String("--frames")) {
            frames = value().toInt(&ok);
            ok = ok && frames > 0 && frames <= (1 << 20);
        } else if (a == QLatin1String("--keyint")) {
            format.keyframeInterval = value().toInt(&ok);
            ok = ok && format.keyframeInterval > 0;
        } else if (a == QLatin1String("--bframes")) {
            format.bFrames = true;
        } else if (a == QLatin1String("--quality")) {
            format.quality = value().toInt(&ok);
        } else if (a == QLatin1String("--drop")) {
            for (const QString& f : value().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool okF = false;
                drop.insert(f.toInt(&okF));
                ok = ok && okF;
            }
        } else if (!a.startsWith(QLatin1String("--")) && out.isEmpty()) {
            out = a;
        } else {
            ok = false;
        }
        if (!ok) {
            err << "hacklewright-tool stamp-clip: bad argument " << a << "\n" << kUsage;
            return 2;
        }
    }
    if (out.isEmpty()) {
        err << kUsage;
        return 2;
    }
    hw::ClipWriter writer;
    if (!writer.open(out, format)) {
        err << "hacklewright-tool stamp-clip: " << writer.errorText() << '\n';
        return 1;
    }
    for (int n = 0; n < frames; ++n) {
        const bool ok = drop.count(n) && n > 0 && n + 1 < frames
            ? writer.addEmptyFrame()
            : writer.addFrame(hw::makeStampedFrame(format.size, n));
        if (!ok) {
            err << "hacklewright-tool stamp-clip: " << writer.errorText() << '\n';
            return 1;
        }
    }
    if (!writer.finish()) {
        err << "hacklewright-tool stamp-clip: " << writer.errorText() << '\n';
        return 1;
    }
    return 0;
}

const bool registered
    = hw::tool::registerCommand({"stamp-clip",
                                 "stamp-clip OUT.avi [--codec NAME] [--size WxH] [--fps N] [--frames N] "
                                 "[--keyint N] [--bframes] [--quality Q] [--drop F,F,...]",
                                 "write a clip whose frames show their own numbers", runStampClip});

} // namespace
