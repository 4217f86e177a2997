// sheet VIDEO FROM TO OUT.png [--columns N] [--every K]: a contact sheet of frames FROM..TO
// (every K-th), each shown through the clip device as the tutor shows it and labelled with
// its frame number, so that authors can pick StartFrame and StopFrame by eye.
//
// Layout (in pixels): a 28-high title line, then rows of cells 8 apart and 8 from the
// edges; a cell is the 160 x 120 picture with a 22-high label under it.
#include "Command.h"
#include "OutputFiles.h"

#include "hw/ContentPath.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QPainter>
#include <QTextStream>

namespace {

constexpr int kMargin = 8;
constexpr int kTitle = 28;
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 120;
constexpr int kLabel = 22;
constexpr int kMostFrames = 400; // a sheet of more would be too large to read

// Takes "--name N" out of args; false for a missing or bad number.
bool takeOption(QStringList& args, const QString& name, int& value)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0)
        return true;
    bool ok = false;
    value = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
    args.remove(i, std::min<qsizetype>(2, args.size() - i));
    return ok && value > 0;
}

int runSheet(const QStringList& args)
{
    QTextStream err(stderr);
    QStringList rest = args;
    int columns = 5, every = 1;
    bool ok = takeOption(rest, QStringLiteral("--columns"), columns)
        && takeOption(rest, QStringLiteral("--every"), every);
    bool fromOk = false, toOk = false;
    const int from = rest.size() == 4 ? rest[1].toInt(&fromOk) : -1;
    const int to = rest.size() == 4 ? rest[2].toInt(&toOk) : -1;
    if (!ok || !fromOk || !toOk || from < 0 || to < from || columns > 50) {
        err << "usage: hacklewright-tool sheet VIDEO FROM TO OUT.png [--columns N] [--every K]\n"
               "  frames FROM to TO (every K-th), N to a row (5 unless told)\n";
        return 2;
    }
    const int count = (to - from) / every + 1;
    if (count > kMostFrames) {
        err << "hacklewright-tool sheet: " << count << " frames are too many for one sheet (at most "
            << kMostFrames << "); use --every or a shorter range\n";
        return 2;
    }
    const QString video = hw::tool::commandLinePath(rest[0]);
    const QString opened = hw::resolveContentPath(video);
    if (const QString refusal = hw::tool::sameFileRefusal(opened.isEmpty() ? video : opened, rest[3]);
        !refusal.isEmpty()) {
        err << "hacklewright-tool sheet: " << refusal << '\n';
        return 2;
    }
    const int cols = std::min(columns, count);
    const int rows = (count + cols - 1) / cols;
    QImage sheet(kMargin + cols * (kThumbWidth + kMargin), kTitle + rows * (kThumbHeight + kLabel + kMargin),
                 QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(14);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(kMargin, 0, sheet.width() - 2 * kMargin, kTitle), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("%1   frames %2 to %3%4")
                   .arg(QFileInfo(rest[0]).fileName())
                   .arg(from)
                   .arg(to)
                   .arg(every > 1 ? QStringLiteral(", every %1").arg(every) : QString()));
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);

    QFrame panel;
    panel.setFrameStyle(QFrame::NoFrame);
    panel.resize(kThumbWidth, kThumbHeight);
    try {
        hw::TMediaPlayer player;
        player.setSoundOutput(hw::makeNullSoundOutput); // shows frames only: no sound server is asked
        player.setDisplay(&panel);
        player.setFileName(video);
        player.Open();
        if (to >= player.Length()) {
            err << "hacklewright-tool sheet: the video has " << player.Length() << " frames (0 to "
                << player.Length() - 1 << ")\n";
            return 2;
        }
        for (int i = 0; i < count; ++i) {
            const int frame = from + i * every;
            player.setPosition(frame);
            if (hw::PlayerInspection::displayedFrame(player) != frame) {
                err << "hacklewright-tool sheet: the device could not show frame " << frame << '\n';
                return 1;
            }
            const int x = kMargin + (i % cols) * (kThumbWidth + kMargin);
            const int y = kTitle + (i / cols) * (kThumbHeight + kLabel + kMargin);
            p.drawImage(QRect(x, y, kThumbWidth, kThumbHeight), panel.grab().toImage());
            p.drawText(QRect(x, y + kThumbHeight, kThumbWidth, kLabel), Qt::AlignCenter,
                       QString::number(frame));
        }
    } catch (const hw::Exception& e) {
        err << "hacklewright-tool sheet: " << e.message() << '\n';
        return 1;
    }
    p.end();
    if (QString error; !hw::tool::savePng(sheet, rest[3], error)) {
        err << "hacklewright-tool sheet: " << error << '\n';
        return 1;
    }
    return 0;
}

const bool registered = hw::tool::registerCommand(
    {"sheet", "sheet VIDEO FROM TO OUT.png [--columns N] [--every K]",
     "a contact sheet of a video's frames, each labelled with its number", runSheet});

} // namespace
