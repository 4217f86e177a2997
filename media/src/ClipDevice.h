#pragma once
// The device behind a player: one open video, a worker thread that decodes and presents
// against the presentation clock, a sound thread for the clip's sound, and the device's own
// mode and position. Commands come from the GUI thread and return at once, or when the
// device has finished them if asked to wait. Completion notices are posted to the player.
//
// Threads
//   GUI           the commands and queries below. Each command replaces the worker's job
//                 under stateMutex_ and abandons the sound under way; none decodes.
//   worker        one per open clip (run()): takes the next job, decodes and presents
//                 pictures, paces plays (PlayPacer), posts notices and new-picture events;
//                 between jobs, the engine's idle work. It alone touches the FrameEngine.
//   sound thread  SoundThread: opens the clip's sound when a play first wants it, decodes
//                 ahead of the listener and feeds the sound output.
//   order scan    FrameOrder's: learns the frame order of a clip with B-frames.
//   (libpulse)    the sound output's main loop; its callbacks only set flags and signal.
//
// Lock order: a thread holding one of these takes only those below it.
//   stateMutex_                      the device's state (State)
//   SoundThread's request lock       the sound thread's start and finish requests
//   the sound output's lock          libpulse's main loop lock
//   the clocks' locks                wake() and waits of the presentation and steady clocks
//   PictureSink's lock               present() and panel(), taken under stateMutex_
// The worker decodes and waits on the clocks without stateMutex_; the sound thread and
// libpulse never take stateMutex_; FrameOrder's lock is never held while taking another.
#include "hw/media/PlaybackStats.h"
#include "hw/media/PresentationClock.h"
#include "hw/media/SoundOutput.h"

#include "DeviceState.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace hw {

namespace media {
class FrameEngine;
class FrameOrder;
class PictureSink;
class PlayPacer;
class SoundThread;
} // namespace media

class ClipDevice {
public:
    // Opens path (already resolved); null with error set on failure.
    static std::unique_ptr<ClipDevice> open(const QString& path, std::shared_ptr<media::PictureSink> sink,
                                            std::shared_ptr<PresentationClock> clock, QObject* noticeTarget,
                                            uint32_t& error);
    ~ClipDevice(); // stops the worker and the sound thread; no notice

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
    // loud: at once, for the play under way too. A play started muted runs its sound at
    // volume 0, so that unmuting is heard at once.
    void setSoundOutput(std::unique_ptr<SoundOutput> output);
    void setVolume(int percent, bool muted);
    // Ends a pending notice as Aborted, as a close does.
    void abortPendingNotice();

    // Blocks until the worker has nothing left to do, idle work included (tests, tools).
    void waitIdle();
    // The worker forgets its cached pictures before its next job.
    void dropCachedPictures() { dropCache_ = true; }
    PlaybackStats stats() const;
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
    // What the device is doing, as commands and the worker see it; guarded by stateMutex_
    // and written only by the transitions below.
    struct State {
        media::DeviceMode mode = media::DeviceMode::Stopped;
        int32_t position = 0;
        int32_t shown = -1;    // frame on show
        Job job;               // the latest job
        uint64_t taken = 0;    // last job the worker took
        uint64_t done = 0;     // last job the worker finished
        bool busy = false;     // the worker is inside a job or idle work
        bool idleMore = false; // the engine may have idle work left
        Job paused;            // the play a pause interrupted
        bool repeat = false;   // options for the next play
        double speed = 1;
        bool noticePending = false;
        uint64_t noticeGen = 0;
        PlaybackStats stats;
    };
    using Lock = std::unique_lock<std::mutex>;

    ClipDevice() = default;

    // Transitions, each under stateMutex_.
    // A command's new job for the worker: the running one goes stale, the sound stops.
    uint64_t replaceJob(const Job& job, Lock& lock);
    // A command ends the running job where the device stands (stop, pause).
    uint64_t holdJob(Lock& lock);
    // The worker takes the job it has not taken yet, if any.
    std::optional<Job> takeNextJob(Lock& lock);
    // The worker is done with a job; the device stands still in mode at position.
    void finishJob(const Job& job, media::DeviceMode mode, int32_t position, media::Notice notice);
    void endPendingNotice(media::Notice value);
    void presented(QImage picture, int32_t frame, int64_t lateUs, double periodUs, bool heard);

    void waitDone(uint64_t gen, Lock& lock);
    bool stale(uint64_t gen) const { return latestGen_.load() != gen || quit_.load(); }

    // The worker.
    void run();
    void runShow(const Job& job);
    void runPlay(const Job& job);
    // Steps of a play.
    // Where the play starts: job.from, or a repeating play's top; -1 when it is over.
    int32_t firstFrameOf(const Job& job, int32_t last) const;
    // Starts the play's sound on the sound thread; false when the play is silent.
    bool startSound(const Job& job, int32_t first, int32_t last);
    // Sets the pacer going once the first picture is ready: by the sound when it has begun.
    void startPacing(const Job& job, bool withSound, media::PlayPacer& pacer);
    // The play ends: with sound, when the last frame's sound has been heard.
    void endPlay(const Job& job, media::PlayPacer& pacer, int64_t frames);

    std::unique_ptr<media::FrameEngine> engine_;
    std::shared_ptr<media::FrameOrder> order_;
    std::shared_ptr<media::PictureSink> sink_;
    std::shared_ptr<PresentationClock> clock_;
    std::shared_ptr<PresentationClock> steady_ = makeSteadyClock(); // polls the sound clock
    std::unique_ptr<SoundOutput> sound_;
    std::unique_ptr<media::SoundThread> soundThread_;
    QString path_;
    std::atomic<int> volume_{100}; // what the listener should hear: 0 while muted
    QObject* target_ = nullptr;
    QSize frameSize_;
    int32_t length_ = 0;
    double fps_ = 15;

    mutable std::mutex stateMutex_;
    std::condition_variable jobChanged_; // the worker waits for jobs
    std::condition_variable jobDone_;    // commands wait for completion
    State state_;
    std::atomic<uint64_t> latestGen_{0};
    std::atomic<bool> quit_{false};
    std::atomic<bool> dropCache_{false};
    std::thread worker_;
};

} // namespace hw
