#include "SoundThread.h"

#include "SoundLog.h"

#include <chrono>

namespace hw::media {

namespace {
// How often a sounding play tops its window up and feeds the output.
constexpr auto kFeedPeriod = std::chrono::milliseconds(10);
} // namespace

SoundThread::SoundThread(QString path, SoundOutput& output, const std::atomic<int>& volumePercent)
    : path_(std::move(path))
    , output_(output)
    , volume_(volumePercent)
{
    thread_ = std::thread([this] { run(); });
}

SoundThread::~SoundThread()
{
    {
        std::lock_guard lock(requestMutex_);
        quit_ = true;
    }
    changed_.notify_all();
    output_.cut();
    thread_.join();
}

void SoundThread::start(const SoundPlan& plan)
{
    {
        std::lock_guard lock(requestMutex_);
        plan_ = plan;
        ++requested_;
        current_ = requested_;
        startTicket_ = requested_;
        start_ = Start::Pending;
    }
    changed_.notify_all();
}

void SoundThread::abandon()
{
    {
        std::lock_guard lock(requestMutex_);
        current_ = 0;
        if (start_ == Start::Pending)
            start_ = Start::Silent;
    }
    changed_.notify_all();
}

void SoundThread::finish()
{
    {
        std::lock_guard lock(requestMutex_);
        finishing_ = current_.load();
    }
    changed_.notify_all();
}

SoundThread::Start SoundThread::waitStart(int64_t timeoutUs)
{
    std::unique_lock lock(requestMutex_);
    changed_.wait_for(lock, std::chrono::microseconds(timeoutUs), [&] { return start_ != Start::Pending; });
    return start_;
}

void SoundThread::report(uint64_t ticket, Start start)
{
    {
        std::lock_guard lock(requestMutex_);
        if (startTicket_ != ticket || start_ != Start::Pending)
            return;
        start_ = start;
    }
    changed_.notify_all();
}

void SoundThread::run()
{
    openSource();
    std::unique_lock lock(requestMutex_);
    for (;;) {
        changed_.wait(lock, [&] { return quit_ || requested_ != taken_; });
        if (quit_)
            return;
        taken_ = requested_;
        const SoundPlan plan = plan_;
        const uint64_t ticket = taken_;
        lock.unlock();
        running_ = ticket;
        playSound(plan, ticket);
        report(ticket, Start::Silent); // when it has not begun
        lock.lock();
    }
}

bool SoundThread::openSource()
{
    if (source_ || sourceTried_)
        return source_ != nullptr;
    QString why;
    source_ = SoundSource::open(
        path_, [this] { return abandoned(); }, why);
    if (abandoned()) {
        source_.reset(); // tried again by the next play
        return false;
    }
    sourceTried_ = true;
    if (!source_ && !why.isEmpty())
        qCWarning(lcSound, "The sound of %s cannot be played (%s); its pictures play silently",
                  qUtf8Printable(path_), qUtf8Printable(why));
    return source_ != nullptr;
}

void SoundThread::playSound(const SoundPlan& plan, uint64_t ticket)
{
    if (abandoned() || !openSource())
        return;
    SoundPlay play(*source_, output_, plan);
    // The first part of the sound is made before the stream begins, so that it begins
    // with sound.
    if (!play.prime())
        return;
    int volume = volume_.load();
    if (!output_.begin(source_->format(), volume, [this] { return abandoned(); }))
        return;
    // A change of volume while the stream began may have found no stream to change.
    if (volume_.load() != volume)
        output_.setVolume(volume_.load());
    report(ticket, Start::Sounding);
    bool writing = true;
    std::unique_lock lock(requestMutex_);
    while (!abandoned() && finishing_ != ticket) {
        lock.unlock();
        if (writing)
            writing = play.pump();
        heldPeak_ = std::max(heldPeak_.load(), play.heldPeak());
        lock.lock();
        changed_.wait_for(lock, kFeedPeriod, [&] { return abandoned() || finishing_ == ticket; });
    }
    const bool over = finishing_ == ticket && !abandoned();
    lock.unlock();
    if (over)
        output_.finish();
}

} // namespace hw::media
