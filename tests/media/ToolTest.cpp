// The authors' commands, run as the program they are: stamp-clip writes a clip, grab saves
// a frame as the video panel shows it (also at high pixel ratios), read-stamp reads it back;
// picture and sheet; the command line itself.
#include "BuiltTools.h"
#include "SoundFixtures.h"

#include "hw/clips/FrameStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using hw::test::ProcessRun;
using hw::test::toolPath;

struct ToolPlace {
    QString scale;       // QT_SCALE_FACTOR, when given
    QString folder;      // the working folder, when given
    QString soundServer; // PULSE_SERVER, when given
};

ToolPlace scaled(const QString& scale)
{
    ToolPlace place;
    place.scale = scale;
    return place;
}

// The tool's run, its standard output as text.
struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList& args, const ToolPlace& place = ToolPlace())
{
    QProcessEnvironment env = hw::test::offscreenEnvironment();
    if (!place.scale.isEmpty())
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), place.scale);
    if (!place.soundServer.isEmpty())
        env.insert(QStringLiteral("PULSE_SERVER"), place.soundServer);
    const ProcessRun run = hw::test::runTool(args, env, place.folder);
    return {run.exitCode, run.text(), run.err};
}

} // namespace

TEST(MediaTools, StampClipGrabAndReadStampAgree)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("Lesson.avi"));
    ASSERT_EQ(tool({QStringLiteral("stamp-clip"), clip, QStringLiteral("--codec"), QStringLiteral("mpeg4"),
                    QStringLiteral("--keyint"), QStringLiteral("10"), QStringLiteral("--bframes"),
                    QStringLiteral("--frames"), QStringLiteral("40"), QStringLiteral("--drop"),
                    QStringLiteral("5,6")})
                  .exitCode,
              0);
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip, QStringLiteral("23")}).out, QStringLiteral("23"));
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip, QStringLiteral("6")}).out, QStringLiteral("4"));

    for (const QString& scale : {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}) {
        const QString png = dir.filePath(QStringLiteral("frame-%1.png").arg(scale));
        const ToolRun grab = tool({QStringLiteral("grab"), clip, QStringLiteral("17"), png}, scaled(scale));
        ASSERT_EQ(grab.exitCode, 0) << grab.err.toStdString();
        const QImage saved(png);
        EXPECT_EQ(saved.width(), qRound(320 * scale.toDouble())) << "picture at the screen's own resolution";
        EXPECT_EQ(tool({QStringLiteral("read-stamp"), png}).out, QStringLiteral("17")) << scale.toStdString();
    }

    const ToolRun missing = tool({QStringLiteral("grab"), dir.filePath(QStringLiteral("none.avi")),
                                  QStringLiteral("1"), dir.filePath(QStringLiteral("x.png"))});
    EXPECT_GT(missing.exitCode, 0); // refused, not crashed
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Cannot find the specified file")));
    EXPECT_NE(
        tool({QStringLiteral("grab"), clip, QStringLiteral("40"), dir.filePath(QStringLiteral("x.png"))})
            .exitCode,
        0);
    EXPECT_EQ(tool({QStringLiteral("read-stamp"), clip + QStringLiteral(".png")}).exitCode, 2);
}

// picture reads bitmaps of several kinds as the gallery does; sheet labels each thumbnail
// with the number of the frame the clip device shows in it.
TEST(MediaTools, PictureAndSheetShowWhatTheTutorShows)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    QImage source(37, 21, QImage::Format_RGB32); // an odd width: rows need padding
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, (x * 7 + y * 11) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    for (const QImage::Format format :
         {QImage::Format_RGB888, QImage::Format_Indexed8, QImage::Format_Mono}) {
        const QString bmp = dir.filePath(QStringLiteral("in-%1.bmp").arg(int(format)));
        const QString png = dir.filePath(QStringLiteral("out-%1.png").arg(int(format)));
        ASSERT_TRUE(source.convertToFormat(format).save(bmp, "BMP"));
        const ToolRun run = tool({QStringLiteral("picture"), bmp, png});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), source) << int(format);
    }
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PK\x03\x04 not a bitmap at all");
    }
    const ToolRun bad = tool({QStringLiteral("picture"), broken, dir.filePath(QStringLiteral("x.png"))});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Bitmap image is not valid"))) << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.png"))));

    const QString clip = dir.filePath(QStringLiteral("Lesson.avi"));
    ASSERT_EQ(tool({QStringLiteral("stamp-clip"), clip, QStringLiteral("--codec"), QStringLiteral("mpeg4"),
                    QStringLiteral("--keyint"), QStringLiteral("10"), QStringLiteral("--bframes"),
                    QStringLiteral("--frames"), QStringLiteral("40")})
                  .exitCode,
              0);
    const QString sheetPng = dir.filePath(QStringLiteral("sheet.png"));
    const ToolRun sheet = tool({QStringLiteral("sheet"), clip, QStringLiteral("5"), QStringLiteral("27"),
                                sheetPng, QStringLiteral("--columns"), QStringLiteral("3"),
                                QStringLiteral("--every"), QStringLiteral("4")});
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err.toStdString();
    const QImage image(sheetPng);
    // Frames 5, 9, ..., 25 in rows of three: cells 8 apart below a 28-high title line, each a
    // 160 x 120 picture over a 22-high label.
    ASSERT_EQ(image.size(), QSize(8 + 3 * 168, 28 + 2 * 150));
    for (int i = 0; i < 6; ++i) {
        const QRect cell(8 + (i % 3) * 168, 28 + (i / 3) * 150, 160, 120);
        EXPECT_EQ(hw::readFrameStamp(image.copy(cell)).value_or(-1), 5 + 4 * i) << i;
        // The label under it is lettered (dark pixels on white).
        const QImage label = image.copy(cell.x(), cell.bottom() + 1, 160, 22);
        int dark = 0;
        for (int y = 0; y < label.height(); ++y)
            for (int x = 0; x < label.width(); ++x)
                dark += qGray(label.pixel(x, y)) < 100 ? 1 : 0;
        EXPECT_GT(dark, 20) << i;
    }
    EXPECT_EQ(
        tool({QStringLiteral("sheet"), clip, QStringLiteral("30"), QStringLiteral("40"), sheetPng}).exitCode,
        2);
}

// grab, sheet and picture never write over what they read, also when OUT reaches it by a
// link; a failing command leaves OUT as it was.
TEST(MediaTools, OutputNamingTheInputIsRefused)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("Lesson.avi"));
    ASSERT_EQ(
        tool({QStringLiteral("stamp-clip"), clip, QStringLiteral("--frames"), QStringLiteral("8")}).exitCode,
        0);
    const QString bmp = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(QImage(12, 8, QImage::Format_RGB888).save(bmp, "BMP"));
    const QString symbolic = dir.filePath(QStringLiteral("symbolic.png"));
    const QString hard = dir.filePath(QStringLiteral("hard.png"));
    ASSERT_TRUE(QFile::link(clip, symbolic));
    ASSERT_EQ(::link(QFile::encodeName(bmp).constData(), QFile::encodeName(hard).constData()), 0);
    auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray clipBytes = bytes(clip), bmpBytes = bytes(bmp);
    const QString lesson = QStringLiteral("LESSON.avi"); // found without regard to case
    ToolPlace inDir;
    inDir.folder = dir.path();
    const std::vector<std::pair<QStringList, ToolPlace>> runs = {
        {{QStringLiteral("grab"), clip, QStringLiteral("1"), clip}, {}},
        {{QStringLiteral("grab"), lesson, QStringLiteral("1"), QStringLiteral("Lesson.avi")}, inDir},
        {{QStringLiteral("grab"), clip, QStringLiteral("1"), symbolic}, {}},
        {{QStringLiteral("sheet"), clip, QStringLiteral("0"), QStringLiteral("3"), symbolic}, {}},
        {{QStringLiteral("picture"), bmp, bmp}, {}},
        {{QStringLiteral("picture"), bmp, hard}, {}},
    };
    for (const auto& [args, place] : runs) {
        const ToolRun run = tool(args, place);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("choose another output file"))) << run.err.toStdString();
    }
    EXPECT_EQ(bytes(clip), clipBytes);
    EXPECT_EQ(bytes(bmp), bmpBytes);
    const QString png = dir.filePath(QStringLiteral("kept.png"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(png));
    const QByteArray kept = bytes(png);
    EXPECT_GT(tool({QStringLiteral("grab"), clip, QStringLiteral("99"), png}).exitCode, 0);
    EXPECT_EQ(bytes(png), kept);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5) << "no partial file is left";
}

// Every command answers -h and --help with its usage and makes nothing; an option it does
// not take is refused, never taken for a file or folder name.
TEST(MediaTools, CommandLineAnswersHelpAndRefusesUnknownOptions)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    ToolPlace inDir;
    inDir.folder = dir.path();
    const ToolRun list = tool({QStringLiteral("--help")}, inDir);
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.contains(QStringLiteral("\n  check "))) << list.out.toStdString();
    for (const char* name : {"card", "catalog", "check", "grab", "make-artwork", "make-demo", "make-icons",
                             "picture", "play", "read-stamp", "sheet", "stamp-clip"}) {
        const QString command = QString::fromLatin1(name);
        for (const QString& ask : {QStringLiteral("-h"), QStringLiteral("--help")}) {
            const ToolRun help = tool({command, ask}, inDir);
            EXPECT_EQ(help.exitCode, 0) << name << help.err.toStdString();
            EXPECT_TRUE(
                help.out.startsWith(QStringLiteral("usage: hacklewright-tool ") + command + QLatin1Char(' ')))
                << name << " " << help.out.toStdString();
        }
        const ToolRun wrong = tool({command, QStringLiteral("--frobnicate"), QStringLiteral("x")}, inDir);
        EXPECT_EQ(wrong.exitCode, 2) << name;
        EXPECT_TRUE(wrong.err.contains(QStringLiteral("unknown option --frobnicate"))) << name;
    }
    EXPECT_EQ(
        tool({QStringLiteral("help"), QStringLiteral("sheet")}, inDir).out.section(QLatin1Char('\n'), 0, 0),
        QStringLiteral("usage: hacklewright-tool sheet VIDEO FROM TO OUT.png [--columns N] [--every K]"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        << QDir(dir.path())
               .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
               .join(QLatin1Char(' '))
               .toStdString();

    // check: a folder named in another case is a note; --strict counts warnings, --portable notes.
    QTemporaryDir quiet, named;
    QDir(named.path()).mkdir(QStringLiteral("flies"));
    auto checkExit = [&](const QTemporaryDir& library, const QString& flag) {
        return tool({QStringLiteral("check"), library.path(), flag}).exitCode;
    };
    EXPECT_EQ(checkExit(named, QStringLiteral("--json")), 0);
    EXPECT_EQ(checkExit(named, QStringLiteral("--strict")), 1); // the sections are missing
    EXPECT_EQ(checkExit(named, QStringLiteral("--portable")), 1);
    EXPECT_EQ(checkExit(quiet, QStringLiteral("--portable")), 0);
}

// Only play reaches for the sound server: the commands that show frames never ask it, even
// for a clip with sound.
TEST(MediaTools, OnlyPlayAsksForTheSoundServer)
{
    if (!QFileInfo::exists(toolPath()))
        GTEST_SKIP() << "hacklewright-tool not built";
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("Narrated.avi"));
    if (!hw::test::writeSoundClip(clip, 20, hw::test::toneSound(20, 440)))
        GTEST_SKIP() << "ffmpeg cannot write a clip with sound here";
    ToolPlace noServer;
    noServer.soundServer = QStringLiteral("unix:") + dir.filePath(QStringLiteral("none"));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("grab"), clip, QStringLiteral("5"), png},
          QStringList{QStringLiteral("sheet"), clip, QStringLiteral("0"), QStringLiteral("4"), png},
          QStringList{QStringLiteral("read-stamp"), clip, QStringLiteral("5")}}) {
        const ToolRun run = tool(args, noServer);
        EXPECT_EQ(run.exitCode, 0) << args.first().toStdString() << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("No sound"))) << args.first().toStdString();
    }
    const ToolRun play
        = tool({QStringLiteral("play"), clip, QStringLiteral("0"), QStringLiteral("2")}, noServer);
    EXPECT_EQ(play.exitCode, 0) << play.err.toStdString();
    EXPECT_TRUE(play.err.contains(QStringLiteral("No sound"))) << "play asks, and learns there is none";
}
