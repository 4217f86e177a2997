// The clip device on arbitrary bytes named like a lesson video: Open either succeeds with a
// stopped clip at frame 0 or raises the device's error and leaves the player closed;
// one-frame plays, seeks and a whole play with its notice then behave as on any clip,
// showing only frames of the clip. Plays are paced by a clock that never waits, so that
// a long clip costs decoding time only, and their sound is decoded and taken as fast as it
// comes.
#include "FuzzTargets.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/PresentationClock.h"
#include "hw/media/TMediaPlayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <atomic>
#include <cstdio>

namespace hw::fuzz {
namespace {

class InstantClock : public PresentationClock {
public:
    int64_t nowUs() override { return now_.load(); }
    bool waitUntil(int64_t dueUs) override
    {
        int64_t now = now_.load();
        while (now < dueUs && !now_.compare_exchange_weak(now, dueUs)) { }
        return true;
    }
    void wake() override { }

private:
    std::atomic<int64_t> now_{0};
};

// Takes all the sound it is given at once, as fast as the clip's sound decodes, and tells
// what it took as heard: plays with sound run their sound path at decoding speed.
class DrainingOutput : public SoundOutput {
public:
    bool begin(const SoundFormat& format, int, const std::function<bool()>&) override
    {
        rate_ = format.rate;
        written_ = 0;
        return true;
    }
    size_t writable() override { return 4096; }
    void write(const int16_t*, size_t count) override { written_ += int64_t(count); }
    void endOfData() override { }
    int64_t heardUs() override { return rate_ > 0 ? written_.load() * 1000000 / rate_ : 0; }
    void setVolume(int) override { }
    void cut() override { }

private:
    int rate_ = 0;
    std::atomic<int64_t> written_{0};
};

// Longest play checked in one input; the whole clip when shorter.
constexpr int32_t kPlayedFrames = 120;

void checkShows(const TMediaPlayer& player, int32_t length, const char* when)
{
    const int32_t shown = PlayerInspection::displayedFrame(player);
    check(shown >= -1 && shown < std::max(length, 1),
          std::string("shows frame ") + std::to_string(shown) + " of " + std::to_string(length) + " " + when);
}

} // namespace

int clipDevice(const uint8_t* data, size_t size)
{
    initialize();
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Clip.avi"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }

    QWidget panel;
    panel.resize(320, 240);
    TMediaPlayer player;
    int notices = 0;
    player.OnNotify = [&](QObject*) { ++notices; };
    player.setDeviceType(TMPDeviceTypes::dtAVIVideo);
    player.setAutoRewind(false);
    player.setDisplay(&panel);
    player.setPresentationClock(std::make_shared<InstantClock>());
    player.setSoundOutput([] { return std::make_unique<DrainingOutput>(); });
    player.setTimeFormat(TMPTimeFormats::tfFrames);
    player.setFileName(path);
    try {
        player.Open();
    } catch (const EMCIDeviceError& e) {
        check(!e.message().isEmpty(), "an open error without text");
        check(player.Mode() == TMPModes::mpNotReady, "a refused open leaves the player open");
        return 0;
    }
    const int32_t length = player.Length();
    static const bool verbose = qEnvironmentVariableIsSet("HW_FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "clip: %d frames\n", length);
    check(length >= 0, "negative length");
    check(player.Mode() == TMPModes::mpStopped && player.Position() == 0, "a new clip is not stopped at 0");

    // One-frame plays: first, middle, last, and the ends of the range.
    for (int32_t f : {0, length / 2, length - 1, length, -1}) {
        player.setStartPos(f);
        player.setEndPos(f);
        player.setNotify(false);
        player.setWait(true);
        player.Play();
        PlayerInspection::waitUntilIdle(player);
        if (f >= 0 && f <= length) {
            check(player.Error() == 0, "a play inside the clip refused");
            // A frame the decoder cannot make ends the play on the picture on show.
            check(player.Position() == f || player.Position() == PlayerInspection::displayedFrame(player),
                  "a play from " + std::to_string(f) + " to itself ends on "
                      + std::to_string(player.Position()) + " of " + std::to_string(length));
            check(player.Mode() == TMPModes::mpStopped, "a one-frame play still runs");
        } else {
            check(player.Error() != 0, "a play outside the clip accepted");
        }
        checkShows(player, length, "after a one-frame play");
    }

    // Seeks, each waiting.
    for (int32_t f : {length - 1, 0, length / 3}) {
        if (f < 0)
            continue;
        player.setPosition(f);
        PlayerInspection::waitUntilIdle(player);
        check(player.Position() == f,
              "a seek to " + std::to_string(f) + " ends on " + std::to_string(player.Position()) + " of "
                  + std::to_string(length));
        checkShows(player, length, "after a seek");
    }

    // A whole play with its notice.
    if (length > 0) {
        const int32_t end = std::min(length - 1, kPlayedFrames);
        notices = 0;
        player.setStartPos(0);
        player.setEndPos(end);
        player.setNotify(true);
        player.setWait(true);
        player.Play();
        QDeadlineTimer deadline(20000);
        while (notices == 0 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        check(notices == 1, "a play with notice brought " + std::to_string(notices) + " notices");
        // Successful at its end; a frame the decoder cannot make ends it early as a Failure.
        const bool ended = player.NotifyValue() == TMPNotifyValues::nvSuccessful && player.Position() == end;
        const bool failed = player.NotifyValue() == TMPNotifyValues::nvFailure
            && (player.Position() == PlayerInspection::displayedFrame(player) || player.Position() == 0);
        check((ended || failed) && player.Mode() == TMPModes::mpStopped,
              "a play to " + std::to_string(end) + " ends on " + std::to_string(player.Position())
                  + " in mode " + std::to_string(int(player.Mode())) + ", notice "
                  + std::to_string(int(player.NotifyValue())));
        checkShows(player, length, "after a play");
    }
    player.Close();
    check(player.Mode() == TMPModes::mpNotReady, "closed but not NotReady");
    return 0;
}

} // namespace hw::fuzz
