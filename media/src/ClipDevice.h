#pragma once
// The device behind a player: one open video, a worker thread that decodes and presents
// against the presentation clock, and the device's own mode and position. Commands come
// from the GUI thread and return at once, or when the device has finished them if asked
// to wait. Completion notices are posted to the player.
#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include "DeviceState.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hw {

namespace media {
class FrameEngine;
class FrameOrder;
class PictureSink;
class SoundPlay;
class SoundTrack;

struct PlayStats {
    int presented = 0; // frames presented by plays
    int late = 0;      // of which later than one frame period
    int64_t maxLateUs = 0;
    // For each frame presented (the latest ones): the clock's time when it was put on show
    // minus its due time; for plays paced by their sound, the time heard minus the time its
    // sound began.
    std::vector<int32_t> offsetsUs;
    int soundPaced = 0; // frames presented by plays paced by their sound
};
} // namespace media

class ClipDevice {
public:
    // Opens path (already resolved); null with error set on failure.
    static std::unique_ptr<ClipDevice> open(const QString& path, std::shared_ptr<media::PictureSink> sink,
                                            std::shared_ptr<PresentationClock> clock, QObject* noticeTarget,
                                            uint32_t& error);
    ~ClipDevice(); // stops the worker; no notice

    // Puts the current frame on show in the background, without a change of mode (after
    // opening, or when the panel changed size).
    void showCurrent();

    int32_t length() const;
    media::DeviceMode mode() const;
    int32_t position() const;
    QSize frameSize() const { return frameSize_; }
    double framesPerSecond() const { return fps_; }

    // Each returns the device's result code (0 = done or under way). A refused command
    // changes nothing and sends no notice.
    uint32_t play(int32_t from, int32_t to, bool notify, bool wait);
    uint32_t seek(int32_t frame, bool notify, bool wait);
    uint32_t stop(bool notify, bool wait);
    uint32_t pause(bool notify, bool wait);
    uint32_t resume(bool notify, bool wait);
    // How the next play runs: over and over until a command ends it, and at a fraction of
    // the file's rate (1, 1/2 or 1/4). A play under way keeps the values it started with.
    void setPlayOptions(bool repeat, double speed);
    // Where plays send the clip's sound (right after open; none: silent plays), and how
    // loud: at once, for the play under way too.
    void setSoundOutput(std::unique_ptr<SoundOutput> output);
    void setVolume(int percent, bool muted);
    // Ends a pending notice as Aborted, as a close does.
    void abortPendingNotice();

    // Blocks until the worker has nothing left to do, idle work included (tests, tools).
    void waitIdle();
    // The worker forgets its cached pictures before its next job.
    void dropCachedPictures() { dropCache_ = true; }
    media::PlayStats stats() const;
    // Blocks until the frame order is learnt (at once when the clip needs no reordering).
    void waitForOrder() const;

private:
    enum class JobKind { None, Show, Seek, Play };
    struct Job {
        JobKind kind = JobKind::None;
        int32_t from = 0;
        int32_t to = 0; // final position of a play (may be length)
        int64_t firstDelayUs = 0;
        uint64_t gen = 0;
        bool repeat = false;
        double speed = 1;
        int32_t loopFrom = 0; // where a repeating play starts over (a resumed one included)
    };

    ClipDevice() = default;
    void run();
    void runShow(const Job& job);
    void runPlay(const Job& job);
    // The sound of a play, started; null when the play is silent.
    std::unique_ptr<media::SoundPlay> startSound(const Job& job, int32_t last, int64_t leadInUs);
    int effectiveVolume() const { return muted_ ? 0 : volume_.load(); }
    // Under the lock: replaces the worker's job; ends a pending notice as value.
    uint64_t newJob(const Job& job, std::unique_lock<std::mutex>& lock);
    // Under the lock: ends the running job where the device stands (stop, pause).
    uint64_t holdJob(std::unique_lock<std::mutex>& lock);
    void endPendingNotice(media::Notice value);
    void finishLocked(const Job& job, media::DeviceMode mode, int32_t position, media::Notice notice);
    void waitDone(uint64_t gen, std::unique_lock<std::mutex>& lock);
    bool stale(uint64_t gen) const { return latestGen_.load() != gen || quit_.load(); }

    std::unique_ptr<media::FrameEngine> engine_;
    std::shared_ptr<media::FrameOrder> order_;
    std::shared_ptr<media::PictureSink> sink_;
    std::shared_ptr<PresentationClock> clock_;
    std::shared_ptr<PresentationClock> steady_ = makeSteadyClock(); // polls the sound clock
    std::unique_ptr<SoundOutput> sound_;
    std::unique_ptr<media::SoundTrack> track_; // the worker's, loaded at the first play
    bool trackTried_ = false;
    QString path_;
    std::atomic<int> volume_{100};
    std::atomic<bool> muted_{false};
    QObject* target_ = nullptr;
    QSize frameSize_;
    int32_t length_ = 0;
    double fps_ = 15;

    mutable std::mutex m_;
    std::condition_variable wake_; // worker waits for jobs
    std::condition_variable done_; // commands wait for completion
    Job job_;
    uint64_t taken_ = 0;   // last job the worker took
    uint64_t doneGen_ = 0; // last job the worker finished
    bool busy_ = false;    // worker inside a job or idle work
    bool idleMore_ = false;
    std::atomic<uint64_t> latestGen_{0};
    std::atomic<bool> quit_{false};
    std::atomic<bool> dropCache_{false};
    media::DeviceMode mode_ = media::DeviceMode::Stopped;
    int32_t position_ = 0;
    int32_t shown_ = -1;  // rank on show
    Job paused_;          // the play a pause interrupted
    bool repeat_ = false; // options for the next play
    double speed_ = 1;
    bool noticePending_ = false;
    uint64_t noticeGen_ = 0;
    media::PlayStats stats_;
    std::thread worker_;
};

} // namespace hw
