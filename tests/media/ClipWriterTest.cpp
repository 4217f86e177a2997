#include "ClipReader.h"

#include "hw/clips/ClipWriter.h"
#include "hw/clips/FrameStamp.h"
#include "hw/clips/StampedFrame.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool writeClip(const QString& path, const hw::ClipFormat& format, int frames)
{
    hw::ClipWriter writer;
    if (!writer.open(path, format))
        return false;
    for (int n = 0; n < frames; ++n)
        if (!writer.addFrame(hw::makeStampedFrame(format.size, n)))
            return false;
    return writer.finish();
}

} // namespace

TEST(ClipWriter, EveryCodecKeepsEveryFrameReadable)
{
    QTemporaryDir dir;
    struct Case {
        const char* codec;
        int keyint;
        bool bFrames;
    };
    // Cinepak's encoder is slow: few frames.
    for (const Case& c :
         {Case{"mjpeg", 1, false}, Case{"mpeg4", 12, true}, Case{"cinepak", 4, false},
          Case{"msvideo1", 10, false}, Case{"rawvideo", 1, false}, Case{"libx264", 25, true}}) {
        const int frames = c.keyint == 4 ? 12 : 40;
        hw::ClipFormat format;
        format.codec = QString::fromLatin1(c.codec);
        format.keyframeInterval = c.keyint;
        format.bFrames = c.bFrames;
        const QString path = dir.filePath(format.codec + QStringLiteral(".avi"));
        ASSERT_TRUE(writeClip(path, format, frames)) << c.codec;

        const auto packets = hw::test::probeClip(path);
        EXPECT_EQ(packets.frameSlots, frames) << c.codec;
        EXPECT_GE(packets.keyframes, frames / c.keyint) << c.codec;
        const auto pictures = hw::test::decodeAll(path);
        ASSERT_EQ(int(pictures.size()), frames) << c.codec;
        for (int n = 0; n < frames; ++n)
            EXPECT_EQ(hw::readFrameStamp(pictures[size_t(n)]), n) << c.codec << " frame " << n;
    }
}

TEST(ClipWriter, EmptyFramesBecomeEmptyChunksAndErrorsAreReported)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gaps.avi"));
    hw::ClipWriter writer;
    hw::ClipFormat format;
    ASSERT_TRUE(writer.open(path, format));
    EXPECT_FALSE(writer.addEmptyFrame()); // nothing to repeat yet
    ASSERT_TRUE(writer.addFrame(hw::makeStampedFrame(format.size, 0)));
    ASSERT_TRUE(writer.addEmptyFrame());
    ASSERT_TRUE(writer.addEmptyFrame());
    ASSERT_TRUE(writer.addFrame(hw::makeStampedFrame(format.size, 3)));
    ASSERT_TRUE(writer.finish());
    const auto packets = hw::test::probeClip(path);
    EXPECT_EQ(packets.frameSlots, 4);
    EXPECT_EQ(packets.emptySlots, 2);

    hw::ClipWriter bad;
    format.codec = QStringLiteral("no-such-codec");
    EXPECT_FALSE(bad.open(dir.filePath(QStringLiteral("x.avi")), format));
    EXPECT_FALSE(bad.errorText().isEmpty());
    format.codec = QStringLiteral("mjpeg");
    EXPECT_FALSE(bad.open(dir.filePath(QStringLiteral("missing-folder/x.avi")), format));
    EXPECT_FALSE(bad.addFrame(QImage(320, 240, QImage::Format_RGB32)));

    // Sound goes only into a clip opened with a sensible sound rate.
    hw::ClipWriter silent;
    ASSERT_TRUE(silent.open(dir.filePath(QStringLiteral("silent.avi")), format));
    const int16_t hush[4] = {};
    EXPECT_FALSE(silent.addSound(hush, 4));
    EXPECT_FALSE(silent.errorText().isEmpty());
    format.soundRate = -1;
    EXPECT_FALSE(bad.open(dir.filePath(QStringLiteral("noise.avi")), format));
}
