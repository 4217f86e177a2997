// The authoring guide's commands, taken from docs/authoring.md where it marks them with
// <!-- guide-command -->, run in its order on a phone-style video made here: each runs
// clean on this ffmpeg, and the lesson video has the frames the guide's rule gives and
// keeps its sound.
#include "BuiltTools.h"
#include "MediaFixtures.h"

#include "hw/content/Bitmap.h"
#include "hw/media/TMediaPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList guideCommands()
{
    QFile guide(qEnvironmentVariable("HW_SOURCE_DIR") + QStringLiteral("/docs/authoring.md"));
    if (!guide.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList commands;
    bool marked = false;
    for (const QString& line : QString::fromUtf8(guide.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed() == QLatin1String("<!-- guide-command -->"))
            marked = true;
        else if (line.trimmed().isEmpty())
            marked = false;
        else if (marked)
            commands << line.trimmed();
    }
    return commands;
}

// Runs a command of the guide with the built tools first on the path.
hw::test::ProcessRun shell(const QString& command, const QString& folder)
{
    QProcessEnvironment env = hw::test::offscreenEnvironment();
    env.insert(QStringLiteral("PATH"),
               QFileInfo(hw::test::toolPath()).path() + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    return hw::test::runProcess(QStringLiteral("bash"), {QStringLiteral("-c"), command}, env, folder);
}

int framesOf(const QString& path)
{
    hw::TMediaPlayer player;
    player.setSoundOutput(hw::makeNullSoundOutput);
    player.setFileName(path);
    player.Open();
    return player.Length();
}

} // namespace

TEST(AuthoringGuide, CommandsRunCleanAndGiveTheFramesOfTheRule)
{
    if (!hw::test::haveFfmpeg())
        GTEST_SKIP() << "no ffmpeg";
    const QStringList commands = guideCommands();
    ASSERT_GE(commands.size(), 10) << "the guide's marked commands";
    QTemporaryDir dir;
    // 20 s of 16:9 H.264 with AAC sound at a phone's 29.97 frames a second: 600 frames over
    // 20.02 s, which the rule rounds to 300 at 15 frames a second.
    ASSERT_EQ(shell(QStringLiteral("ffmpeg -v error -f lavfi -i testsrc2=size=640x360:rate=30000/1001 "
                                   "-f lavfi -i sine=frequency=300:sample_rate=48000 -t 20.02 -c:v libx264 "
                                   "-preset ultrafast -pix_fmt yuv420p -c:a aac MyTying.mp4 && "
                                   "ffmpeg -v error -f lavfi -i testsrc2=size=800x600 -frames:v 1 -update 1 "
                                   "WoollyPhoto.jpg"),
                    dir.path())
                  .exitCode,
              0);
    for (const QString& command : commands) {
        const hw::test::ProcessRun run = shell(command, dir.path());
        EXPECT_EQ(run.exitCode, 0) << command.toStdString() << "\n" << run.err.toStdString();
        for (const char* alarm : {"deprecated pixel format", "image sequence pattern",
                                  "Incompatible pixel format", "No sound", "warning"})
            EXPECT_FALSE(run.err.contains(QLatin1String(alarm), Qt::CaseInsensitive))
                << command.toStdString() << "\n"
                << run.err.toStdString();
    }
    for (const char* video : {"Woolly.avi", "MyLessons/Flies/Woolly.avi"}) {
        const QString path = dir.filePath(QLatin1String(video));
        EXPECT_EQ(framesOf(path), 300) << video;
        const hw::test::ProcessRun probe = hw::test::runProcess(
            QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
             QStringLiteral("a"), QStringLiteral("-show_entries"), QStringLiteral("stream=codec_name"),
             QStringLiteral("-of"), QStringLiteral("csv=p=0"), path});
        EXPECT_EQ(probe.text(), QStringLiteral("pcm_s16le")) << video << ": the sound is kept";
    }
    for (const char* picture : {"Woolly.bmp", "MyLessons/Flies/Woolly.bmp"}) {
        const QString path = dir.filePath(QLatin1String(picture));
        EXPECT_EQ(hw::loadBitmapFile(path, QLatin1String(picture)).size(), QSize(120, 80)) << picture;
    }
}
