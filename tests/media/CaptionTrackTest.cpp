// Caption files: read through FFmpeg's subtitle demuxers, found beside their video whatever
// the case, and refused with the file's name when they cannot be read.
#include "hw/media/CaptionTrack.h"
#include "hw/Exception.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace hw;

namespace {
QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << name;
    return path;
}
} // namespace

TEST(CaptionTrack, FoundBesideTheVideoAndReadWithOverlappingCues)
{
    QTemporaryDir dir;
    const QString video = write(dir, "Lesson.AVI", "");
    EXPECT_EQ(findCaptionFile(video), QString());
    write(dir, "LESSON.vtt",
          "WEBVTT\n\n00:00.500 --> 00:02.000\nFirst <b>turn</b>\n\n00:01.500 --> 00:03.000\nSecond\nline\n");
    const QString vtt = findCaptionFile(video);
    EXPECT_EQ(vtt, dir.filePath(QStringLiteral("LESSON.vtt")));

    const CaptionTrack track = CaptionTrack::read(vtt);
    ASSERT_EQ(track.cues().size(), 2u);
    EXPECT_EQ(track.cues()[1].startMs, 1500);
    EXPECT_EQ(track.cues()[1].endMs, 3000);
    EXPECT_EQ(track.textAt(499), QString());
    EXPECT_EQ(track.textAt(500), QStringLiteral("First turn"));
    EXPECT_EQ(track.textAt(1600), QStringLiteral("First turn\nSecond\nline"));
    EXPECT_EQ(track.textAt(3000), QString());

    // A SubRip file beside it is taken first.
    write(dir, "lesson.srt", "1\n00:00:01,000 --> 00:00:02,000\nOne\n");
    EXPECT_EQ(findCaptionFile(video), dir.filePath(QStringLiteral("lesson.srt")));
}

TEST(CaptionTrack, RefusesWhatIsNotACaptionFileNamingIt)
{
    QTemporaryDir dir;
    const QString files[] = {
        write(dir, "empty.srt", ""),
        write(dir, "junk.vtt", QByteArray("\x00\x01\xff\xfe garbage", 12)),
        write(dir, "notes.txt", "1\n00:00:01,000 --> 00:00:02,000\nOne\n"),
        dir.filePath(QStringLiteral("missing.srt")),
        dir.path() + QStringLiteral("/folder.srt"),
    };
    QDir(dir.path()).mkdir(QStringLiteral("folder.srt"));
    for (const QString& file : files) {
        try {
            CaptionTrack::read(file);
            ADD_FAILURE() << "read " << file.toStdString();
        } catch (const EContentError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot read captions ") + file))
                << e.message().toStdString();
        }
    }
}
