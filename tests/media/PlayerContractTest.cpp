// The player's contract: pending marks, modes, notices, errors and what the Display shows.
#include "Deadline.h"
#include "MediaFixtures.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using hw::PlayerInspection;
using hw::TMediaPlayer;
using hw::TMPModes;
using hw::TMPNotifyValues;
using namespace hw::test;

namespace {

constexpr int kFrames = 60;
constexpr int64_t kPeriodUs = 1000000 / 15 + 1; // a frame period, rounded up

class PlayerContract : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        hw::ClipFormat format; // MJPEG 320x240 at 15 fps
        ASSERT_TRUE(writeStampedClip(dir_->filePath(QStringLiteral("Lesson.avi")), format, kFrames));
        QDir(dir_->path()).mkpath(QStringLiteral("QuickTour"));
        ASSERT_TRUE(writeStampedClip(dir_->filePath(QStringLiteral("QuickTour/quicktour.avi")), format, 30));
    }
    static void TearDownTestSuite() { dir_.reset(); }
    void SetUp() override
    {
        panel_ = std::make_unique<QFrame>();
        panel_->resize(320, 240);
        player_ = std::make_unique<TMediaPlayer>();
        player_->setDisplay(panel_.get());
        clock_ = std::make_shared<hw::ManualClock>();
        log_.attach(*player_);
    }
    void TearDown() override
    {
        player_.reset();
        panel_.reset();
    }
    static QString lesson() { return dir_->filePath(QStringLiteral("Lesson.avi")); }

    void openLesson(bool manualClock = false)
    {
        if (manualClock)
            player_->setPresentationClock(clock_);
        player_->setFileName(lesson());
        player_->Open();
    }
    // Shows one frame the way the tutor does: a play from f to f without notice.
    void advanceToFrame(int f)
    {
        const int start = player_->StartPos(), end = player_->EndPos();
        player_->setStartPos(f);
        player_->setEndPos(f);
        player_->setNotify(false);
        player_->Play();
        player_->setStartPos(start);
        player_->setEndPos(end);
    }
    bool showsFrame(int f)
    {
        return PlayerInspection::displayedFrame(*player_) == f
            && stampOf(PlayerInspection::displayedPicture(*player_)) == f;
    }
    // Lets the manual clock run one frame period at a time until the play ends.
    bool runClockUntilStopped()
    {
        return waitFor([&] {
            if (player_->Mode() != TMPModes::mpPlaying)
                return true;
            if (clock_->waiters() > 0)
                clock_->advance(kPeriodUs);
            return false;
        });
    }

    // Waits until the worker waits for its next frame and returns that frame's due time.
    int64_t awaitNextDue()
    {
        int64_t due = -1;
        EXPECT_TRUE(waitFor([&] {
            due = clock_->awaitedUs();
            return due > clock_->nowUs();
        }));
        return due;
    }
    // Runs a play on the manual clock for the given frames, moving the clock to each due
    // time: every frame must appear in turn, each one period (at the play's speed) after
    // the one before.
    void expectFramesEvery(const std::vector<int>& frames, double periodUs)
    {
        ASSERT_TRUE(waitFor([&] { return showsFrame(frames[0]); })) << frames[0];
        const int64_t start = clock_->nowUs();
        for (size_t n = 1; n < frames.size(); ++n) {
            const int64_t due = awaitNextDue();
            ASSERT_EQ(PlayerInspection::displayedFrame(*player_), frames[n - 1]) << n; // nothing runs ahead
            EXPECT_NEAR(double(due - start), double(n) * periodUs, 2.0) << n;
            clock_->advance(due - clock_->nowUs());
            ASSERT_TRUE(waitFor([&] { return showsFrame(frames[n]); })) << frames[n];
        }
    }

    static inline std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QFrame> panel_;
    std::unique_ptr<TMediaPlayer> player_;
    std::shared_ptr<hw::ManualClock> clock_;
    NoticeLog log_;
};

void expectNotOpen(const std::function<void()>& call)
{
    try {
        call();
        ADD_FAILURE() << "no exception";
    } catch (const hw::EMCIDeviceError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("No MCI device open"));
    }
}

} // namespace

TEST_F(PlayerContract, ClosedPlayerRaisesOnlyWhereItMustAndKeepsItsMarks)
{
    TMediaPlayer fresh;
    EXPECT_TRUE(fresh.FileName().isEmpty());
    EXPECT_EQ(fresh.DeviceType(), hw::TMPDeviceTypes::dtAutoSelect);
    EXPECT_EQ(fresh.Display(), nullptr);
    EXPECT_FALSE(fresh.AutoOpen());
    EXPECT_TRUE(fresh.AutoRewind());
    EXPECT_TRUE(fresh.AutoEnable());
    EXPECT_FALSE(fresh.Shareable());
    EXPECT_TRUE(fresh.Visible());
    EXPECT_EQ(fresh.StartPos(), 0);
    EXPECT_EQ(fresh.EndPos(), 0);
    EXPECT_EQ(fresh.NotifyValue(), TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(fresh.Error(), 0u);

    EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
    EXPECT_NO_THROW(player_->Position());
    EXPECT_NO_THROW(player_->setTimeFormat(hw::TMPTimeFormats::tfFrames));
    player_->setStartPos(10);
    player_->setEndPos(12);
    player_->setNotify(false);
    expectNotOpen([&] { player_->Play(); });
    expectNotOpen([&] { player_->Stop(); });
    expectNotOpen([&] { player_->Pause(); });
    expectNotOpen([&] { player_->setPosition(3); });
    expectNotOpen([&] { player_->Length(); });
    EXPECT_NO_THROW(player_->Close());

    // The marks survived all of that. Open takes the pending Notify (it sends no notice),
    // but not StartPos and EndPos: the next Play runs 10..12 and, with no Notify pending,
    // sends a notice.
    openLesson();
    EXPECT_EQ(player_->TimeFormat(), hw::TMPTimeFormats::tfFrames);
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Position(), 0);
    EXPECT_EQ(player_->Length(), kFrames);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return player_->Mode() == TMPModes::mpStopped; }));
    EXPECT_EQ(player_->Position(), 12);
    EXPECT_TRUE(waitFor([&] { return showsFrame(12); }));
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    EXPECT_EQ(log_.values[0], TMPNotifyValues::nvSuccessful);
}

TEST_F(PlayerContract, OpenFindsContentPathsAndReportsWhatItCannotOpen)
{
    // Backslashes and another case, relative to the working directory.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    player_->setFileName(QStringLiteral("QuickTour\\QuickTour.avi"));
    EXPECT_NO_THROW(player_->Open());
    QDir::setCurrent(cwd);
    ASSERT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Length(), 30);

    // A missing file: the clip open before is closed, and the player stays closed. The
    // error names the file on a second line; the device's own text stays as it is.
    const QString missing = dir_->filePath(QStringLiteral("missing.avi"));
    player_->setFileName(missing);
    try {
        player_->Open();
        ADD_FAILURE() << "no exception";
    } catch (const hw::EMCIDeviceError& e) {
        EXPECT_NE(player_->Error(), 0u);
        EXPECT_EQ(
            player_->ErrorMessage(),
            QStringLiteral("Cannot find the specified file. Make sure the path and filename are correct."));
        EXPECT_EQ(e.message(), player_->ErrorMessage() + QStringLiteral("\n\"") + missing + QLatin1Char('"'));
    }
    EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
    expectNotOpen([&] { player_->Play(); });

    // Not a video, a damaged one, no name at all, a device that plays no video.
    {
        QTemporaryDir junk;
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile f(junk.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            return junk.filePath(name);
        };
        QFile lessonFile(lesson());
        ASSERT_TRUE(lessonFile.open(QIODevice::ReadOnly));
        const QByteArray clip = lessonFile.readAll();
        const QStringList bad{write(QStringLiteral("notes.avi"), "just some text\n"),
                              write(QStringLiteral("empty.avi"), QByteArray()),
                              write(QStringLiteral("truncated.avi"), clip.left(300)),
                              write(QStringLiteral("garbled.avi"), clip.left(64) + QByteArray(4000, '\x5a'))};
        // A named pipe is refused at once instead of being waited on.
        const QString pipe = junk.filePath(QStringLiteral("pipe.avi"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const bool inTime = finishesWithin(
            std::chrono::seconds(30),
            [&] {
                player_->setFileName(pipe);
                EXPECT_THROW(player_->Open(), hw::EMCIDeviceError);
            },
            [&] {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            });
        EXPECT_TRUE(inTime) << "Open blocked on a named pipe";
        for (const QString& path : bad) {
            player_->setFileName(path);
            EXPECT_THROW(player_->Open(), hw::EMCIDeviceError) << path.toStdString();
            EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
        }
        // A clip cut off half-way (its index lost with its end) opens with the frames it
        // holds, and shows them exactly.
        player_->setFileName(write(QStringLiteral("half.avi"), clip.left(clip.size() / 2)));
        ASSERT_NO_THROW(player_->Open());
        const int len = player_->Length();
        EXPECT_GT(len, 10);
        EXPECT_LE(len, kFrames);
        for (int f : {len - 2, 3, len / 2}) {
            player_->setPosition(f);
            EXPECT_EQ(stampOf(PlayerInspection::displayedPicture(*player_)), f);
        }
        player_->setPosition(len); // the end: whatever the damaged tail gives, no hang
        EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    }
    player_->setFileName(QString());
    EXPECT_THROW(player_->Open(), hw::EMCIDeviceError);
    player_->setFileName(lesson());
    player_->setDeviceType(hw::TMPDeviceTypes::dtCDAudio);
    EXPECT_THROW(player_->Open(), hw::EMCIDeviceError);
    player_->setDeviceType(hw::TMPDeviceTypes::dtAVIVideo);
    EXPECT_NO_THROW(player_->Open());
}

TEST_F(PlayerContract, OpenRefusesPlaylistsAndScriptsThatNameOtherFiles)
{
    // Each names the lesson clip beside it, which libavformat would open and play.
    const QString lessonName = QFileInfo(lesson()).fileName();
    const std::vector<std::pair<QString, QByteArray>> fakes{
        {QStringLiteral("script.avi"), "ffconcat version 1.0\nfile '" + lessonName.toUtf8() + "'\n"},
        {QStringLiteral("playlist.m3u8"),
         "#EXTM3U\n#EXT-X-TARGETDURATION:4\n#EXTINF:4.0,\n" + lessonName.toUtf8() + "\n#EXT-X-ENDLIST\n"}};
    for (const auto& [name, text] : fakes) {
        const QString path = dir_->filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        player_->setFileName(path);
        try {
            player_->Open();
            ADD_FAILURE() << "opened " << name.toStdString();
        } catch (const hw::EMCIDeviceError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Cannot open file ") + path);
            EXPECT_EQ(player_->ErrorMessage(), e.message());
        }
        EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
    }
}

TEST_F(PlayerContract, AnMp4IndexIsBelievedOnlyAsFarAsTheFileHoldsIt)
{
    QTemporaryDir dir;
    const QString mp4 = dir.filePath(QStringLiteral("Lesson.mp4"));
    ASSERT_TRUE(remuxToMp4(lesson(), mp4, {}));
    QFile made(mp4);
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    const QByteArray clip = made.readAll();
    // Sets a 32-bit field of a sample table box (offset counted from its version field).
    const auto patched = [](QByteArray bytes, const char* box, int offset, uint32_t value) {
        const qsizetype at = bytes.indexOf(box);
        EXPECT_GT(at, 0) << box;
        for (int i = 0; i < 4; ++i)
            bytes[at + 4 + offset + i] = char(value >> (24 - 8 * i));
        return bytes;
    };
    constexpr uint32_t kClaimed = 60000000;
    const QByteArray longTimes = patched(clip, "stts", 8, kClaimed);
    const QByteArray manySizes = patched(longTimes, "stsz", 8, kClaimed);
    // 60 million samples of 300 bytes, all in the one chunk: each one an index entry.
    const QByteArray fixedSize = patched(patched(manySizes, "stsz", 4, 300), "stsc", 12, kClaimed);
    for (const auto& [name, bytes] :
         {std::pair{"times", longTimes}, std::pair{"sizes", manySizes}, std::pair{"fixed-size", fixedSize}}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".mp4"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        player_->setFileName(path);
        try {
            player_->Open();
        } catch (const hw::EMCIDeviceError&) {
            EXPECT_EQ(player_->Mode(), TMPModes::mpNotReady);
            continue;
        }
        // Opened: with the frames the file holds, each one exact.
        EXPECT_LE(player_->Length(), kFrames);
        EXPECT_GT(player_->Length(), 0);
        for (int f : {0, player_->Length() / 2, player_->Length() - 1}) {
            player_->setPosition(f);
            EXPECT_EQ(stampOf(PlayerInspection::displayedPicture(*player_)), f) << f;
        }
    }
}

TEST_F(PlayerContract, SeeksAndSingleFramePlaysShowExactlyThatFrame)
{
    openLesson();
    EXPECT_TRUE(waitFor([&] { return showsFrame(0); }));
    for (int f : {17, 3, 59, 0, 58, 31, 32, 30, 60}) {
        player_->setPosition(f); // waits
        EXPECT_EQ(player_->Position(), f);
        EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
        const int shown = std::min(f, kFrames - 1); // the end position shows the last frame
        EXPECT_EQ(PlayerInspection::displayedFrame(*player_), shown);
        EXPECT_EQ(stampOf(PlayerInspection::displayedPicture(*player_)), shown);
        EXPECT_EQ(displayStamp(*player_), shown);
    }
    EXPECT_NE(PlayerInspection::displayedPicture(*player_).isNull(), true);

    // Reading Mode or Position between Notify := False and Play leaves the mark pending.
    player_->setStartPos(20);
    player_->setEndPos(20);
    player_->setNotify(false);
    (void)player_->Mode();
    (void)player_->Position();
    player_->Play();
    EXPECT_EQ(player_->StartPos(), 20);
    EXPECT_EQ(player_->EndPos(), 20);
    ASSERT_TRUE(waitFor([&] { return player_->Mode() == TMPModes::mpStopped && showsFrame(20); }));
    EXPECT_EQ(player_->Position(), 20);
    EXPECT_EQ(displayStamp(*player_), 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(log_.count(), 0);

    // Step forward and back as the tutor does: Stop (waits), then a one-frame seek.
    for (int step : {+1, +1, -1, -1, -1}) {
        player_->setNotify(false);
        player_->Stop();
        player_->setPosition(player_->Position() + step);
        EXPECT_TRUE(showsFrame(player_->Position()));
    }
    EXPECT_EQ(player_->Position(), 19);
}

TEST_F(PlayerContract, PlaysShowEveryFrameAndEndOnEndPosWithOneNotice)
{
    openLesson(true);
    // The topic range becomes pending, the first frame is shown, then Play runs the range.
    player_->setStartPos(10);
    player_->setEndPos(16);
    advanceToFrame(10);
    ASSERT_TRUE(waitFor([&] { return player_->Mode() == TMPModes::mpStopped && showsFrame(10); }));

    player_->setWait(false);
    player_->setNotify(true);
    player_->Play();
    EXPECT_EQ(player_->Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(log_.count(), 0);
    for (int f = 10; f <= 16; ++f) {
        ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*player_) == f; })) << f;
        EXPECT_EQ(stampOf(PlayerInspection::displayedPicture(*player_)), f);
        if (f < 16) {
            ASSERT_TRUE(waitFor([&] { return clock_->waiters() > 0; }));
            EXPECT_EQ(PlayerInspection::displayedFrame(*player_), f); // nothing runs ahead of the clock
            clock_->advance(kPeriodUs);
        }
    }
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    EXPECT_EQ(log_.values[0], TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Position(), 16);
    EXPECT_EQ(displayStamp(*player_), 16);

    // Standing on the last frame with nothing pending, a second Play with the range set
    // again replays it from its first frame.
    player_->setEndPos(16);
    if (player_->Position() == player_->EndPos())
        player_->setStartPos(10);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*player_) == 10; }));
    ASSERT_TRUE(runClockUntilStopped());
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));
    EXPECT_EQ(log_.values[1], TMPNotifyValues::nvSuccessful);
    EXPECT_TRUE(showsFrame(16));

    // After a Play that took both marks, a Play without new ones runs to the clip's end.
    player_->setPosition(55);
    player_->Play();
    ASSERT_TRUE(runClockUntilStopped());
    EXPECT_EQ(player_->Position(), kFrames);
    EXPECT_TRUE(showsFrame(kFrames - 1));
    ASSERT_TRUE(waitFor([&] { return log_.count() == 3; }));
}

TEST_F(PlayerContract, StoppedAndSupersededPlaysReportSo)
{
    openLesson(true);
    player_->setStartPos(5);
    player_->setEndPos(40);
    player_->Play(); // notice by default
    ASSERT_TRUE(
        waitFor([&] { return PlayerInspection::displayedFrame(*player_) == 5 && clock_->waiters() > 0; }));
    clock_->advance(kPeriodUs);
    ASSERT_TRUE(
        waitFor([&] { return PlayerInspection::displayedFrame(*player_) == 6 && clock_->waiters() > 0; }));

    // Stop as the tutor does: no wait, no notice of its own; the play's notice is Aborted,
    // delivered later and not inside the call.
    player_->setWait(false);
    player_->setNotify(false);
    player_->Stop();
    EXPECT_EQ(log_.count(), 0);
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Position(), 6);
    EXPECT_TRUE(showsFrame(6));
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    EXPECT_EQ(log_.values[0], TMPNotifyValues::nvAborted);
    EXPECT_EQ(player_->NotifyValue(), TMPNotifyValues::nvAborted);

    // Play resumes from the frame where it stopped.
    player_->Play();
    EXPECT_TRUE(waitFor([&] { return clock_->waiters() > 0; }));
    EXPECT_EQ(PlayerInspection::displayedFrame(*player_), 6);
    // A second Play with notice while the first runs: the first is Superseded.
    player_->setStartPos(50);
    player_->setEndPos(52);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));
    EXPECT_EQ(log_.values[1], TMPNotifyValues::nvSuperseded);
    ASSERT_TRUE(runClockUntilStopped());
    ASSERT_TRUE(waitFor([&] { return log_.count() == 3; }));
    EXPECT_EQ(log_.values[2], TMPNotifyValues::nvSuccessful);
    EXPECT_TRUE(showsFrame(52));

    // A Stop on a stopped clip is harmless; a seek during a play aborts its notice.
    player_->Stop();
    player_->setStartPos(0);
    player_->setEndPos(30);
    player_->Play();
    player_->setPosition(44);
    ASSERT_TRUE(waitFor([&] { return log_.count() == 4; }));
    EXPECT_EQ(log_.values[3], TMPNotifyValues::nvAborted);
    EXPECT_TRUE(showsFrame(44));
    QCoreApplication::processEvents();
    EXPECT_EQ(log_.count(), 4);

    // Once a play from f is issued, f is the current frame: a Stop or a Pause sent at once,
    // before the worker has shown anything, leaves Position on f and puts f on show.
    for (const bool pause : {false, true}) {
        player_->setPosition(10);
        advanceToFrame(pause ? 33 : 30);
        player_->setStartPos(pause ? 33 : 30);
        player_->setEndPos(39);
        player_->Play();
        if (pause)
            player_->Pause();
        else
            player_->Stop();
        EXPECT_EQ(player_->Position(), pause ? 33 : 30) << "pause " << pause;
        ASSERT_TRUE(waitFor([&] { return showsFrame(player_->Position()); })) << "pause " << pause;
        player_->Stop();
        player_->setPosition(player_->Position() + 1); // the tutor's step stays in the range
        EXPECT_TRUE(showsFrame(pause ? 34 : 31));
    }
}

TEST_F(PlayerContract, PauseResumesTowardTheSameEnd)
{
    openLesson(true);
    player_->Pause(); // neither playing nor paused: nothing happens
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    player_->setStartPos(2);
    player_->setEndPos(5);
    player_->Play();
    ASSERT_TRUE(
        waitFor([&] { return PlayerInspection::displayedFrame(*player_) == 2 && clock_->waiters() > 0; }));
    player_->Pause();
    EXPECT_EQ(player_->Mode(), TMPModes::mpPaused);
    EXPECT_EQ(player_->Position(), 2);
    player_->Pause(); // resume, with a notice of its own that replaces the play's
    EXPECT_EQ(player_->Mode(), TMPModes::mpPlaying);
    ASSERT_TRUE(runClockUntilStopped());
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));
    EXPECT_EQ(log_.values[0], TMPNotifyValues::nvSuperseded);
    EXPECT_EQ(log_.values[1], TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(player_->Position(), 5);
    EXPECT_TRUE(showsFrame(5));

    // Resume with Notify pending False: the paused play's own notice still arrives.
    player_->setStartPos(7);
    player_->setEndPos(9);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return clock_->waiters() > 0; }));
    player_->Pause();
    player_->setNotify(false);
    player_->Pause();
    ASSERT_TRUE(runClockUntilStopped());
    ASSERT_TRUE(waitFor([&] { return log_.count() == 3; }));
    EXPECT_EQ(log_.values[2], TMPNotifyValues::nvSuccessful);
    EXPECT_TRUE(showsFrame(9));

    // Back to back: a play without notice cuts short one with notice (Aborted), one with
    // notice takes over a running play's notice (Superseded), and a Stop aborts it.
    player_->setStartPos(0);
    player_->setEndPos(59);
    player_->Play();
    player_->setStartPos(10);
    player_->setNotify(false);
    player_->Play();
    player_->setStartPos(20);
    player_->Play();
    player_->setStartPos(30);
    player_->Play();
    player_->Stop();
    ASSERT_TRUE(waitFor([&] { return log_.count() == 6; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::vector<TMPNotifyValues>(log_.values.begin() + 3, log_.values.end()),
              (std::vector<TMPNotifyValues>{TMPNotifyValues::nvAborted, TMPNotifyValues::nvSuperseded,
                                            TMPNotifyValues::nvAborted}));
}

TEST_F(PlayerContract, AutoRewindAndRefusedCommands)
{
    openLesson(true);
    player_->setPosition(kFrames); // the end
    player_->Play();               // AutoRewind: from the start again
    ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*player_) == 0; }));
    player_->Stop();

    // With StartPos pending there is no rewind.
    player_->setPosition(kFrames);
    player_->setStartPos(kFrames);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return player_->Mode() == TMPModes::mpStopped; }));
    EXPECT_EQ(player_->Position(), kFrames);
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));

    // Without AutoRewind, Play at the end ends at once with a Successful notice.
    player_->setAutoRewind(false);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return log_.count() == 3; }));
    EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(player_->Position(), kFrames);

    // Out of range: the device refuses; Error is set, nothing raised, no notice.
    const int before = log_.count();
    player_->setStartPos(kFrames + 5);
    EXPECT_NO_THROW(player_->Play());
    EXPECT_NE(player_->Error(), 0u);
    EXPECT_NO_THROW(player_->setPosition(-1));
    EXPECT_NE(player_->Error(), 0u);
    player_->setStartPos(9);
    player_->setEndPos(3);
    player_->Play();
    EXPECT_NE(player_->Error(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(log_.count(), before);
    player_->setPosition(4);
    EXPECT_EQ(player_->Error(), 0u);
    player_->setTimeFormat(hw::TMPTimeFormats::tfHMS);
    EXPECT_NE(player_->Error(), 0u);
}

TEST_F(PlayerContract, NoticesOfWaitingCommandsAndCloseInsideOnNotify)
{
    openLesson();
    // A waiting command with notice: it has finished when it returns, the notice follows.
    player_->setNotify(true);
    player_->setPosition(12);
    EXPECT_TRUE(showsFrame(12));
    EXPECT_EQ(log_.count(), 0);
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));

    // The splash: Wait := True; Open; Notify := True; Play; and Close inside OnNotify.
    int notices = 0;
    player_->OnNotify = [&](QObject*) {
        ++notices;
        player_->setNotify(false);
        player_->Close();
    };
    player_->setWait(true);
    player_->setFileName(dir_->filePath(QStringLiteral("QuickTour/quicktour.avi")));
    player_->Open();
    player_->setNotify(true);
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return notices == 1 && player_->Mode() == TMPModes::mpNotReady; }, 30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(player_->NotifyValue(), TMPNotifyValues::nvSuccessful);

    // A Play that waits returns when the range has been shown.
    player_->OnNotify = nullptr;
    openLesson();
    player_->setStartPos(3);
    player_->setEndPos(6);
    player_->setWait(true);
    player_->Play();
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_TRUE(showsFrame(6));
}

TEST_F(PlayerContract, DestroyingThePlayerOrItsDisplayWhilePlayingIsSafe)
{
    openLesson();
    player_->Play();
    ASSERT_TRUE(waitFor([&] { return PlayerInspection::displayedFrame(*player_) >= 1; }));
    panel_.reset(); // the Display goes while the clip plays
    EXPECT_EQ(player_->Display(), nullptr);
    EXPECT_EQ(player_->Mode(), TMPModes::mpPlaying);
    player_->setPosition(5);
    EXPECT_TRUE(showsFrame(5)); // the picture is still produced, shown nowhere

    QFrame other;
    other.resize(160, 120);
    player_->setDisplay(&other);
    player_->setPosition(9);
    EXPECT_EQ(displayStamp(*player_), 9);
    EXPECT_EQ(PlayerInspection::displayedPicture(*player_).size(), QSize(160, 120));
    player_->Play();
    player_.reset(); // the player goes while the clip plays
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(PlayerContract, RepeatingPlayLoopsTheRangeSeamlesslyUntilACommandEndsIt)
{
    openLesson(true);
    player_->setRepeat(true);
    EXPECT_TRUE(player_->repeat());
    player_->setStartPos(20);
    player_->setEndPos(23);
    player_->Play();
    // Three rounds: the range's frames in order, the last one each time, one period at the seam.
    std::vector<int> rounds;
    for (int r = 0; r < 3; ++r)
        rounds.insert(rounds.end(), {20, 21, 22, 23});
    player_->setRepeat(false); // a play under way keeps repeating
    expectFramesEvery(rounds, 1e6 / 15);
    EXPECT_EQ(player_->Mode(), TMPModes::mpPlaying);
    EXPECT_EQ(log_.count(), 0);
    player_->Stop();
    ASSERT_TRUE(waitFor([&] { return log_.count() == 1; }));
    EXPECT_EQ(log_.values[0], TMPNotifyValues::nvAborted);
    EXPECT_EQ(player_->Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player_->Position(), 23);

    // A seek ends a repeating play too, and a pause keeps it repeating on resume.
    player_->setRepeat(true);
    player_->setStartPos(40);
    player_->setEndPos(41);
    player_->Play();
    expectFramesEvery({40, 41, 40}, 1e6 / 15);
    player_->Pause();
    player_->Pause();
    expectFramesEvery({40, 41, 40, 41}, 1e6 / 15);
    // The resume's own notice replaced the play's. (The waits above may all have been met
    // without the event loop running, so the notice is waited for.)
    ASSERT_TRUE(waitFor([&] { return log_.count() == 2; }));
    EXPECT_EQ(log_.values[1], TMPNotifyValues::nvSuperseded);
    const int before = log_.count();
    player_->setPosition(5);
    ASSERT_TRUE(waitFor([&] { return log_.count() == before + 1; }));
    EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvAborted);
    EXPECT_TRUE(showsFrame(5));

    // Repeat off again: the next play ends on EndPos as always.
    player_->setRepeat(false);
    player_->setStartPos(7);
    player_->setEndPos(9);
    player_->Play();
    expectFramesEvery({7, 8, 9}, 1e6 / 15);
    ASSERT_TRUE(waitFor([&] { return log_.count() == before + 2; }));
    EXPECT_EQ(log_.values.back(), TMPNotifyValues::nvSuccessful);
    EXPECT_EQ(player_->Position(), 9);
}

TEST_F(PlayerContract, SlowPlaysShowEveryFrameForTheLongerPeriodWhileSeeksStayImmediate)
{
    openLesson(true);
    player_->setSpeed(0.3); // the nearest of the speeds offered
    EXPECT_EQ(player_->speed(), 0.25);
    for (const double speed : {0.5, 0.25}) {
        player_->setSpeed(speed);
        player_->setStartPos(10);
        player_->setEndPos(15);
        player_->Play();
        expectFramesEvery({10, 11, 12, 13, 14, 15}, 1e6 / 15 / speed);
        ASSERT_TRUE(waitFor([&] { return player_->Mode() == TMPModes::mpStopped; }));
        EXPECT_EQ(player_->Position(), 15);
        // A seek does not wait for the clock.
        player_->setPosition(3);
        EXPECT_TRUE(showsFrame(3));
    }
    EXPECT_TRUE(waitFor([&] { return log_.count() == 2; }));
}
