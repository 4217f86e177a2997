// Frame exactness on clips in several codecs: after every seek, step and play the Display
// shows exactly the frame the ffmpeg program decodes as that number.
#include "MediaFixtures.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QFrame>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using hw::PlayerInspection;
using hw::TMediaPlayer;
using hw::TMPModes;
using namespace hw::test;

namespace {

struct ClipCase {
    const char* name;
    int frames;
    // Either made by the project's writer...
    const char* codec = nullptr;
    int keyint = 1;
    bool bFrames = false;
    std::set<int> empty;
    // ...or by the ffmpeg program with these arguments.
    QStringList ffmpegArgs;
    const char* extension = ".avi"; // the container ffmpeg writes
};

std::ostream& operator<<(std::ostream& os, const ClipCase& c)
{
    return os << c.name;
}

class Exactness : public ::testing::TestWithParam<ClipCase> {
protected:
    void SetUp() override
    {
        const ClipCase& c = GetParam();
        path_ = dir_.filePath(QString::fromLatin1(c.name) + QString::fromLatin1(c.extension));
        if (c.codec) {
            hw::ClipFormat format;
            format.codec = QString::fromLatin1(c.codec);
            format.keyframeInterval = c.keyint;
            format.bFrames = c.bFrames;
            ASSERT_TRUE(writeStampedClip(path_, format, c.frames, c.empty));
        } else {
            if (!haveFfmpeg())
                GTEST_SKIP() << "no ffmpeg program";
            ASSERT_TRUE(ffmpegStampedClip(path_, c.frames, c.ffmpegArgs));
        }
        reference_ = ffmpegStamps(path_);
        ASSERT_EQ(int(reference_.size()), c.frames) << "ffmpeg's own decode";
        // A dropped frame repeats the picture before it, as the platform's AVI player
        // shows it (ffmpeg fills the gap with the picture after it instead).
        for (int n : c.empty)
            reference_[size_t(n)] = reference_[size_t(n - 1)];
        panel_.resize(320, 240);
        player_.setDisplay(&panel_);
        player_.setFileName(path_);
        player_.Open();
    }

    // Shows frame n by a waiting seek and checks the picture against ffmpeg's frame n.
    void expectSeek(int n)
    {
        player_.setPosition(n);
        expectShown(n);
    }
    void expectShown(int n)
    {
        ASSERT_EQ(PlayerInspection::displayedFrame(player_), n);
        EXPECT_EQ(stampOf(PlayerInspection::displayedPicture(player_)).value_or(-1), reference_[size_t(n)])
            << "frame " << n;
    }
    std::vector<int> probeFrames() const
    {
        const int len = GetParam().frames;
        std::vector<int> frames{0, 1, len - 1, len / 2, len / 2 + 1, len / 3, 2, len - 2};
        for (int k : {10, 12, 25, 30, 250}) // around keyframes of the usual intervals
            for (int f : {k - 1, k, k + 1})
                if (f < len)
                    frames.push_back(f);
        std::mt19937 rng(42);
        for (int i = 0; i < 12; ++i)
            frames.push_back(int(rng() % unsigned(len)));
        std::shuffle(frames.begin() + 1, frames.end(), rng);
        return frames;
    }

    QTemporaryDir dir_;
    QString path_;
    std::vector<int> reference_;
    QFrame panel_;
    TMediaPlayer player_;
};

} // namespace

TEST_P(Exactness, SeeksStepsAndPlaysShowFfmpegsFrame)
{
    const int len = GetParam().frames;
    ASSERT_EQ(player_.Length(), len);
    for (int n = 0; n < len; ++n) { // the clips were made with frame n stamped n
        if (!GetParam().empty.count(n)) {
            ASSERT_EQ(reference_[size_t(n)], n);
        }
    }

    // Straight after Open, while the frame order may still be being learnt...
    for (int n : probeFrames())
        expectSeek(n);
    // ...and once the device has settled.
    PlayerInspection::waitUntilIdle(player_);
    for (int n : probeFrames())
        expectSeek(n);
    EXPECT_EQ(displayStamp(player_), reference_[size_t(player_.Position())]);

    // Steps back across a keyframe and forward again.
    player_.setPosition(std::min(len - 1, 27));
    for (int i = 0; i < 6 && player_.Position() > 0; ++i) {
        player_.setPosition(player_.Position() - 1);
        expectShown(player_.Position());
    }
    for (int i = 0; i < 8 && player_.Position() < len - 1; ++i) {
        player_.setPosition(player_.Position() + 1);
        expectShown(player_.Position());
    }

    // A play across keyframes shows every frame of the range in turn.
    auto clock = std::make_shared<hw::ManualClock>();
    player_.setPresentationClock(clock);
    player_.Open();
    const int from = std::max(0, len / 2 - 14), to = std::min(len - 1, from + 28);
    player_.setStartPos(from);
    player_.setEndPos(to);
    player_.Play();
    for (int f = from; f <= to; ++f) {
        ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(player_) == f; })) << f;
        expectShown(f);
        if (f < to) {
            ASSERT_TRUE(waitFor([&] { return clock->waiters() > 0; }));
            clock->advance(1000000 / 15 + 1);
        }
    }
    ASSERT_TRUE(waitFor([&] { return player_.Mode() == TMPModes::mpStopped; }));
    EXPECT_EQ(player_.Position(), to);
}

ClipCase writerCase(const char* name, int frames, const char* codec, int keyint, bool bFrames = false,
                    std::set<int> empty = {})
{
    ClipCase c{name, frames, codec, keyint, bFrames, std::move(empty), {}};
    return c;
}

ClipCase ffmpegCase(const char* name, int frames, std::initializer_list<const char*> options,
                    const char* extension = ".avi")
{
    QStringList args;
    for (const char* option : options)
        args << QString::fromLatin1(option);
    ClipCase c{name, frames, nullptr, 1, false, {}, std::move(args), extension};
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, Exactness,
    ::testing::Values(
        writerCase("writer_mjpeg", 90, "mjpeg", 1), writerCase("writer_mpeg4_bframes", 90, "mpeg4", 12, true),
        writerCase("writer_cinepak", 24, "cinepak", 8), // Cinepak's encoder is slow: few frames
        writerCase("writer_msvideo1", 60, "msvideo1", 10),
        writerCase("writer_h264_bframes", 90, "libx264", 25, true),
        writerCase("writer_mjpeg_dropped_frames", 60, "mjpeg", 1, false, {5, 6, 20, 41}),
        writerCase("writer_mpeg4_dropped_frames", 60, "mpeg4", 10, false, {3, 11, 12, 30}),
        ffmpegCase("ffmpeg_cinepak", 24,
                   {"-c:v", "cinepak", "-g", "8", "-max_strips", "1", "-max_extra_cb_iterations", "0"}),
        ffmpegCase("ffmpeg_mpeg4_bframes", 120, {"-c:v", "mpeg4", "-bf", "2", "-g", "12", "-q:v", "4"}),
        ffmpegCase("ffmpeg_h264_gop250", 300,
                   {"-c:v", "libx264", "-g", "250", "-preset", "veryfast", "-threads", "1", "-pix_fmt",
                    "yuv420p"}),
        ffmpegCase("ffmpeg_h264_open_gop", 120,
                   {"-c:v", "libx264", "-g", "30", "-bf", "3", "-preset", "veryfast", "-threads", "1",
                    "-pix_fmt", "yuv420p", "-x264-params", "open-gop=1:scenecut=0"}),
        // Other containers: the order comes from their timestamps.
        ffmpegCase("mp4_h264_bframes", 300,
                   {"-c:v", "libx264", "-g", "250", "-bf", "3", "-preset", "veryfast", "-threads", "1",
                    "-pix_fmt", "yuv420p"},
                   ".mp4"),
        ffmpegCase("mkv_h264_bframes", 300,
                   {"-c:v", "libx264", "-g", "250", "-bf", "3", "-preset", "veryfast", "-threads", "1",
                    "-pix_fmt", "yuv420p"},
                   ".mkv"),
        ffmpegCase("mkv_h264_open_gop", 120,
                   {"-c:v", "libx264", "-g", "30", "-bf", "3", "-preset", "veryfast", "-threads", "1",
                    "-pix_fmt", "yuv420p", "-x264-params", "open-gop=1:scenecut=0"},
                   ".mkv"),
        // Matroska gives no decode times: the demuxer makes them up, out of order for HEVC.
        ffmpegCase("mkv_hevc_bframes", 90,
                   {"-c:v", "libx265", "-g", "30", "-preset", "veryfast", "-pix_fmt", "yuv420p",
                    "-x265-params", "log-level=error:bframes=4:pools=1:frame-threads=1"},
                   ".mkv"),
        ffmpegCase("mkv_hevc10_bframes", 90,
                   {"-c:v", "libx265", "-g", "30", "-preset", "veryfast", "-pix_fmt", "yuv420p10le",
                    "-x265-params", "log-level=error:bframes=4:pools=1:frame-threads=1"},
                   ".mkv"),
        ffmpegCase("mkv_mpeg4_bframes", 90, {"-c:v", "mpeg4", "-bf", "2", "-g", "12", "-q:v", "4"}, ".mkv")),
    [](const ::testing::TestParamInfo<ClipCase>& clip) { return std::string(clip.param.name); });
