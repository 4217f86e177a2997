#pragma once
// The device behind a player: one open video, a worker thread that decodes and presents
// against the presentation clock, and the device's own mode and position. Commands come
// from the GUI thread and return at once, or when the device has finished them if asked
// to wait. Completion notices are posted to the player.
#include "hw/media/PresentationClock.h"
#include "hw/media/TMediaPlayer.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace hw {

namespace media {
class FrameEngine;
class FrameOrder;
class PictureSink;

struct PlayStats {
    int presented = 0;    // frames presented by plays
    int late = 0;         // of which later than one frame period
    int64_t maxLateUs = 0;
};
} // namespace media

class ClipDevice {
public:
    // Opens path (already resolved); null with error set on failure.
    static std::unique_ptr<ClipDevice> open(const QString& path, std::shared_ptr<media::PictureSink> sink,
                                            std::shared_ptr<PresentationClock> clock,
                                            QObject* noticeTarget, uint32_t& error);
    ~ClipDevice(); // stops the worker; no notice

    // Puts the current frame on show in the background, without a change of mode (after
    // opening, or when the panel changed size).
    void showCurrent();

    int32_t length() const;
    TMPModes mode() const;
    int32_t position() const;
    QSize frameSize() const { return frameSize_; }

    // Each returns the device's result code (0 = done or under way). A refused command
    // changes nothing and sends no notice.
    uint32_t play(int32_t from, int32_t to, bool notify, bool wait);
    uint32_t seek(int32_t frame, bool notify, bool wait);
    uint32_t stop(bool notify, bool wait);
    uint32_t pause(bool notify, bool wait);
    uint32_t resume(bool notify, bool wait);
    // Ends a pending notice as Aborted, as a close does.
    void abortPendingNotice();

    // Blocks until the worker has nothing left to do, idle work included (tests, tools).
    void waitIdle();
    // The worker forgets its cached pictures before its next job.
    void dropCachedPictures() { dropCache_ = true; }
    media::PlayStats stats() const;
    bool orderComplete() const;

private:
    enum class JobKind { None, Show, Seek, Play };
    struct Job {
        JobKind kind = JobKind::None;
        int32_t from = 0;
        int32_t to = 0;       // final position of a play (may be length)
        int64_t firstDelayUs = 0;
        uint64_t gen = 0;
    };

    ClipDevice() = default;
    void run();
    void runShow(const Job& job);
    void runPlay(const Job& job);
    // Under the lock: replaces the worker's job; ends a pending notice as value.
    uint64_t newJob(const Job& job, std::unique_lock<std::mutex>& lock);
    // Under the lock: ends the running job where the device stands (stop, pause).
    uint64_t holdJob(std::unique_lock<std::mutex>& lock);
    void endPendingNotice(TMPNotifyValues value);
    void finishLocked(const Job& job, TMPModes mode, int32_t position, TMPNotifyValues notice);
    void waitDone(uint64_t gen, std::unique_lock<std::mutex>& lock);
    bool stale(uint64_t gen) const { return latestGen_.load() != gen || quit_.load(); }

    std::unique_ptr<media::FrameEngine> engine_;
    std::shared_ptr<media::FrameOrder> order_;
    std::shared_ptr<media::PictureSink> sink_;
    std::shared_ptr<PresentationClock> clock_;
    QObject* target_ = nullptr;
    QSize frameSize_;
    int32_t length_ = 0;
    double fps_ = 15;

    mutable std::mutex m_;
    std::condition_variable wake_;   // worker waits for jobs
    std::condition_variable done_;   // commands wait for completion
    Job job_;
    uint64_t taken_ = 0;             // last job the worker took
    uint64_t doneGen_ = 0;           // last job the worker finished
    bool busy_ = false;              // worker inside a job or idle work
    bool idleMore_ = false;
    std::atomic<uint64_t> latestGen_{0};
    std::atomic<bool> quit_{false};
    std::atomic<bool> dropCache_{false};
    TMPModes mode_ = TMPModes::mpStopped;
    int32_t position_ = 0;
    int32_t shown_ = -1;             // rank on show
    int32_t playTo_ = 0;             // end of the play a pause interrupted
    bool noticePending_ = false;
    uint64_t noticeGen_ = 0;
    media::PlayStats stats_;
    std::thread worker_;
};

} // namespace hw
