#pragma once
// The clip device's sound thread. It opens the clip's sound when a play first wants it and
// keeps it open for the plays after, and runs the sound of one play at a time: seeks to its
// start, decodes ahead of the listener and feeds the output, until the play is over, a
// command abandons it or the device closes. An abandoned open, seek or decode ends within
// milliseconds. The thread never takes the device's mutex; its own lock is taken after it.
#include "SoundPlay.h"
#include "SoundSource.h"

#include "hw/media/SoundOutput.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace hw::media {

class SoundThread {
public:
    // volumePercent is read whenever a stream begins (0 while muted). The clip's sound is
    // opened at once, in the background, so that the first play finds it ready.
    SoundThread(QString path, SoundOutput& output, const std::atomic<int>& volumePercent);
    ~SoundThread();
    SoundThread(const SoundThread&) = delete;
    SoundThread& operator=(const SoundThread&) = delete;

    enum class Start { Pending, Sounding, Silent };
    // Starts the sound of a play; any sound under way is abandoned. Returns at once.
    void start(const SoundPlan& plan);
    // Abandons the sound under way (any thread).
    void abandon();
    // The play is over: no more is written and the output keeps its stream for the next play.
    void finish();
    // How the started play's sound stands, waiting up to timeoutUs while it is pending.
    Start waitStart(int64_t timeoutUs);
    // Most frames of sound held at once since the device opened.
    int64_t heldPeak() const { return heldPeak_.load(); }

private:
    void run();
    // The thread's: the sound of one play, until it is over or abandoned.
    void playSound(const SoundPlan& plan, uint64_t ticket);
    bool openSource();
    void report(uint64_t ticket, Start start);
    // Between plays (the first open) only the device's close abandons the thread's work.
    bool abandoned() const { return quit_.load() || (running_ != 0 && running_ != current_.load()); }

    const QString path_;
    SoundOutput& output_;
    const std::atomic<int>& volume_;
    std::unique_ptr<SoundSource> source_; // the thread's
    bool sourceTried_ = false;
    uint64_t running_ = 0; // the thread's: ticket of the play it runs, 0 before the first

    std::mutex requestMutex_; // guards the request and the start state below
    std::condition_variable changed_;
    SoundPlan plan_;
    uint64_t requested_ = 0; // ticket of the latest start
    uint64_t taken_ = 0;     // ticket the thread took last
    uint64_t finishing_ = 0; // ticket told that its play is over
    uint64_t startTicket_ = 0;
    Start start_ = Start::Silent;

    std::atomic<uint64_t> current_{0}; // the ticket that may sound; 0: none
    std::atomic<bool> quit_{false};
    std::atomic<int64_t> heldPeak_{0};
    std::thread thread_;
};

} // namespace hw::media
