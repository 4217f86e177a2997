#include "ClipDevice.h"

#include "DeviceError.h"
#include "FrameEngine.h"
#include "FrameOrder.h"
#include "NoticeEvent.h"
#include "PictureSink.h"
#include "SoundLog.h"
#include "SoundPlay.h"
#include "SoundTrack.h"
#include "VideoInput.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace hw {

using namespace media;

namespace {
// A stream's first few milliseconds can be lost while the sound server fits it into what
// it already plays: a play's sound starts after this much silence.
constexpr int64_t kSoundLeadInUs = 40000;
constexpr int64_t kSoundEndSlackUs = 10000;
} // namespace

std::unique_ptr<ClipDevice> ClipDevice::open(const QString& path, std::shared_ptr<PictureSink> sink,
                                             std::shared_ptr<PresentationClock> clock, QObject* noticeTarget,
                                             uint32_t& error)
{
    auto input = VideoInput::open(path, DecoderTuning{}, error);
    if (!input)
        return nullptr;
    std::unique_ptr<ClipDevice> dev(new ClipDevice);
    dev->frameSize_ = input->frameSize();
    dev->length_ = input->slotTable()->length;
    dev->fps_ = input->framesPerSecond();
    dev->order_ = std::make_shared<FrameOrder>(input->slotTable());
    dev->engine_ = std::make_unique<FrameEngine>(std::move(input), dev->order_, path);
    dev->sink_ = std::move(sink);
    dev->clock_ = clock ? std::move(clock) : makeSteadyClock();
    dev->target_ = noticeTarget;
    dev->path_ = path;
    dev->worker_ = std::thread([d = dev.get()] { d->run(); });
    error = kOk;
    return dev;
}

void ClipDevice::showCurrent()
{
    std::unique_lock lock(m_);
    if (mode_ == DeviceMode::Stopped)
        newJob(Job{JobKind::Show, position_, position_, 0, 0}, lock);
}

ClipDevice::~ClipDevice()
{
    {
        std::lock_guard lock(m_);
        quit_ = true;
        latestGen_ = latestGen_ + 1;
    }
    wake_.notify_all();
    clock_->wake();
    steady_->wake();
    if (sound_)
        sound_->cut();
    if (worker_.joinable())
        worker_.join();
    engine_.reset();
    sound_.reset();
}

int32_t ClipDevice::length() const
{
    return length_;
}

DeviceMode ClipDevice::mode() const
{
    std::lock_guard lock(m_);
    return mode_;
}

int32_t ClipDevice::position() const
{
    std::lock_guard lock(m_);
    return position_;
}

PlayStats ClipDevice::stats() const
{
    std::lock_guard lock(m_);
    return stats_;
}

void ClipDevice::waitForOrder() const
{
    order_->waitForScan();
}

uint64_t ClipDevice::newJob(const Job& job, std::unique_lock<std::mutex>&)
{
    job_ = job;
    job_.gen = latestGen_.load() + 1;
    latestGen_ = job_.gen;
    // Every command ends the sound under way at once: the worker may be busy decoding.
    if (sound_)
        sound_->cut();
    wake_.notify_all();
    clock_->wake();
    steady_->wake();
    return job_.gen;
}

uint64_t ClipDevice::holdJob(std::unique_lock<std::mutex>& lock)
{
    // The device stands where the command left it: on the last frame a play presented, or
    // on the start of a play or the target of a seek that has shown nothing yet. In the
    // second case that frame still has to be put on show.
    if (shown_ == std::min(position_, length_ - 1))
        return newJob(Job{}, lock);
    return newJob(Job{JobKind::Show, position_, position_, 0, 0}, lock);
}

void ClipDevice::endPendingNotice(Notice value)
{
    if (!noticePending_)
        return;
    noticePending_ = false;
    NoticeEvent::post(target_, value);
}

void ClipDevice::abortPendingNotice()
{
    std::lock_guard lock(m_);
    endPendingNotice(Notice::Aborted);
}

void ClipDevice::finishLocked(const Job& job, DeviceMode mode, int32_t position, Notice notice)
{
    mode_ = mode;
    position_ = position;
    doneGen_ = job.gen;
    if (noticePending_ && noticeGen_ == job.gen)
        endPendingNotice(notice);
    done_.notify_all();
}

void ClipDevice::waitDone(uint64_t gen, std::unique_lock<std::mutex>& lock)
{
    done_.wait(lock, [&] { return doneGen_ >= gen || latestGen_.load() != gen || quit_.load(); });
}

void ClipDevice::waitIdle()
{
    std::unique_lock lock(m_);
    done_.wait(lock, [&] { return (job_.gen == taken_ && !busy_ && !idleMore_) || quit_.load(); });
}

uint32_t ClipDevice::play(int32_t from, int32_t to, bool notify, bool wait)
{
    if (from < 0 || to < 0 || from > length_ || to > length_ || from > to)
        return kOutOfRange;
    std::unique_lock lock(m_);
    // A new play with notice replaces the running one's notice; without, it cuts it short.
    const bool running = mode_ == DeviceMode::Playing || mode_ == DeviceMode::Paused;
    endPendingNotice(notify && running ? Notice::Superseded : Notice::Aborted);
    Job job{JobKind::Play, from, to, 0, 0};
    job.repeat = repeat_;
    job.speed = speed_;
    job.loopFrom = from;
    const uint64_t gen = newJob(job, lock);
    mode_ = DeviceMode::Playing;
    position_ = from;
    if (notify) {
        noticePending_ = true;
        noticeGen_ = gen;
    }
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::seek(int32_t frame, bool notify, bool wait)
{
    if (frame < 0 || frame > length_)
        return kOutOfRange;
    std::unique_lock lock(m_);
    endPendingNotice(Notice::Aborted);
    // A seek that waits while the worker has nothing to do is done right here: the caller
    // waits either way, and the hand-over to the worker and back would cost more than
    // decoding an intra frame.
    const bool inline_ = wait && !busy_ && job_.gen == taken_;
    uint64_t gen = 0;
    if (inline_) { // the same as newJob(), without waking the worker for nothing
        job_ = Job{JobKind::Seek, frame, frame, 0, latestGen_.load() + 1};
        gen = job_.gen;
        latestGen_ = gen;
        taken_ = gen;
        busy_ = true; // keeps the worker off the engine
        if (sound_)
            sound_->cut();
    } else {
        gen = newJob(Job{JobKind::Seek, frame, frame, 0, 0}, lock);
    }
    mode_ = DeviceMode::Seeking;
    position_ = frame;
    if (notify) {
        noticePending_ = true;
        noticeGen_ = gen;
    }
    if (inline_) {
        const Job job = job_;
        lock.unlock();
        if (dropCache_.exchange(false))
            engine_->dropCache();
        runShow(job);
        lock.lock();
        busy_ = false;
        idleMore_ = true;
        wake_.notify_all();
        done_.notify_all();
    } else if (wait) {
        waitDone(gen, lock);
    }
    return kOk;
}

uint32_t ClipDevice::stop(bool notify, bool wait)
{
    std::unique_lock lock(m_);
    endPendingNotice(Notice::Aborted);
    uint64_t gen = 0;
    if (mode_ == DeviceMode::Playing || mode_ == DeviceMode::Seeking || mode_ == DeviceMode::Paused) {
        gen = holdJob(lock);
        mode_ = DeviceMode::Stopped;
    }
    if (notify)
        NoticeEvent::post(target_, Notice::Successful);
    if (wait && gen)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::pause(bool notify, bool wait)
{
    std::unique_lock lock(m_);
    if (mode_ != DeviceMode::Playing)
        return kOk;
    paused_ = job_;
    const uint64_t gen = holdJob(lock);
    mode_ = DeviceMode::Paused;
    // The play's notice stays pending for the resume, unless this command asks for one.
    if (notify) {
        endPendingNotice(Notice::Superseded);
        NoticeEvent::post(target_, Notice::Successful);
    }
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::resume(bool notify, bool wait)
{
    std::unique_lock lock(m_);
    if (mode_ != DeviceMode::Paused)
        return kOutOfRange;
    Job job = paused_;
    job.from = position_ + 1;
    job.firstDelayUs = std::llround(1e6 / (fps_ * job.speed));
    const uint64_t gen = newJob(job, lock);
    mode_ = DeviceMode::Playing;
    if (notify) {
        endPendingNotice(Notice::Superseded);
        noticePending_ = true;
    }
    noticeGen_ = gen; // the paused play's notice, if still pending, now ends with this one
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

void ClipDevice::setPlayOptions(bool repeat, double speed)
{
    std::lock_guard lock(m_);
    repeat_ = repeat;
    speed_ = speed;
}

void ClipDevice::setSoundOutput(std::unique_ptr<SoundOutput> output)
{
    std::lock_guard lock(m_);
    sound_ = std::move(output);
}

void ClipDevice::setVolume(int percent, bool muted)
{
    volume_ = percent;
    muted_ = muted;
    std::lock_guard lock(m_);
    if (sound_)
        sound_->setVolume(effectiveVolume());
}

std::unique_ptr<SoundPlay> ClipDevice::startSound(const Job& job, int32_t last, int64_t leadInUs)
{
    // Muted at the start, the play is silent and the steady clock paces it.
    if (!sound_ || muted_)
        return nullptr;
    if (!trackTried_) {
        trackTried_ = true;
        QString why;
        track_ = SoundTrack::load(path_, why);
        if (!track_ && !why.isEmpty())
            qCWarning(lcSound, "The sound of %s cannot be played (%s); its pictures play silently",
                      qUtf8Printable(path_), qUtf8Printable(why));
    }
    if (!track_)
        return nullptr;
    SoundPlan plan;
    plan.fps = fps_;
    plan.speed = job.speed;
    plan.from = job.from;
    plan.last = last;
    plan.loopFrom = job.loopFrom;
    plan.repeat = job.repeat && job.loopFrom <= last;
    plan.leadInUs = leadInUs;
    auto play = std::make_unique<SoundPlay>(*track_, *sound_, *steady_, plan);
    if (!play->start(effectiveVolume(), [&] { return stale(job.gen); }))
        return nullptr;
    return play;
}

void ClipDevice::run()
{
    std::unique_lock lock(m_);
    while (!quit_) {
        if (busy_) { // the GUI thread is using the engine for a waiting seek
            wake_.wait(lock);
            continue;
        }
        if (job_.gen != taken_) {
            const Job job = job_;
            taken_ = job.gen;
            busy_ = true;
            lock.unlock();
            if (dropCache_.exchange(false))
                engine_->dropCache();
            switch (job.kind) {
            case JobKind::Show:
            case JobKind::Seek:
                runShow(job);
                break;
            case JobKind::Play:
                runPlay(job);
                break;
            case JobKind::None:
                break;
            }
            lock.lock();
            if (job.kind == JobKind::None || job.kind == JobKind::Show) {
                if (!stale(job.gen))
                    doneGen_ = job.gen;
            }
            busy_ = false;
            idleMore_ = true;
            done_.notify_all();
            continue;
        }
        if (idleMore_) {
            busy_ = true;
            const uint64_t current = taken_;
            lock.unlock();
            const bool more = engine_->idleWork(sink_->panel(), [this, current] { return stale(current); });
            lock.lock();
            busy_ = false;
            idleMore_ = more;
            done_.notify_all();
            continue;
        }
        wake_.wait(lock);
    }
}

void ClipDevice::runShow(const Job& job)
{
    const int32_t rank = std::min(job.from, length_ - 1);
    QImage picture;
    const auto result = engine_->picture(
        rank, sink_->panel(), [&] { return stale(job.gen); }, picture);
    std::lock_guard lock(m_);
    if (stale(job.gen) || result == FrameEngine::Result::Aborted)
        return;
    if (result == FrameEngine::Result::Ok) {
        sink_->present(std::move(picture), rank);
        shown_ = rank;
    }
    if (job.kind == JobKind::Seek)
        finishLocked(job, DeviceMode::Stopped, job.from,
                     result == FrameEngine::Result::Ok ? Notice::Successful : Notice::Failure);
}

void ClipDevice::runPlay(const Job& job)
{
    const int32_t last = std::min(job.to, length_ - 1);
    const bool loops = job.repeat && job.loopFrom <= last;
    int32_t k = job.from;
    if (k > last && loops)
        k = job.loopFrom; // a repeating play paused on its last frame goes on from the top
    if (k > last) {
        std::lock_guard lock(m_);
        if (!stale(job.gen))
            finishLocked(job, DeviceMode::Stopped, job.to, Notice::Successful);
        return;
    }
    const double period = 1e6 / (fps_ * job.speed);
    // With sound, the sound's clock paces the play: frame n is due when the listener hears
    // the sound it begins; without, the presentation clock does. The sound clock is polled
    // on the steady clock, fed on each poll.
    std::unique_ptr<SoundPlay> sound;
    int64_t start = 0;
    auto now = [&] { return sound ? sound->nowUs() : clock_->nowUs(); };
    // The end of a play with sound: the stream's time stops a few milliseconds short of
    // its last sample as it runs dry.
    auto waitFor = [&](int64_t due, bool end = false) {
        while (now() < due - (end ? kSoundEndSlackUs : 0)) {
            if (sound) {
                sound->feed();
                const int64_t left = due - sound->nowUs();
                if (left > 0)
                    steady_->waitUntil(steady_->nowUs() + std::min<int64_t>(left, 10000));
            } else {
                clock_->waitUntil(due);
            }
            if (stale(job.gen))
                return false;
        }
        return !stale(job.gen);
    };
    // Frames are due one period apart from the first, across the seams of a repeating play
    // too, so that starting over costs no more than any other frame.
    int64_t n = 0;
    for (;; ++n, ++k) {
        if (k > last) {
            if (!loops)
                break;
            k = job.loopFrom;
        }
        QImage picture;
        const auto result = engine_->picture(
            k, sink_->panel(), [&] { return stale(job.gen); }, picture);
        if (result == FrameEngine::Result::Aborted || stale(job.gen))
            return;
        if (result == FrameEngine::Result::Failed) {
            std::lock_guard lock(m_);
            if (!stale(job.gen))
                finishLocked(job, DeviceMode::Stopped, shown_ >= 0 ? shown_ : job.from, Notice::Failure);
            return;
        }
        if (n == 0) {
            Job first = job;
            first.from = k;
            sound = startSound(first, last, job.firstDelayUs + kSoundLeadInUs);
            // The first frame waits for its sound to be heard.
            start = sound ? sound->frameDueUs(0) : clock_->nowUs() + job.firstDelayUs;
        }
        const int64_t due = start + int64_t(double(n) * period); // never later than the clock says
        if (!waitFor(due))
            return;
        const int64_t late = now() - due;
        {
            std::lock_guard lock(m_);
            if (stale(job.gen))
                return;
            sink_->present(std::move(picture), k);
            shown_ = k;
            position_ = k;
            ++stats_.presented;
            if (late > period) {
                ++stats_.late;
            }
            stats_.maxLateUs = std::max(stats_.maxLateUs, late);
            if (stats_.offsetsUs.size() >= 100000)
                stats_.offsetsUs.erase(stats_.offsetsUs.begin(), stats_.offsetsUs.begin() + 50000);
            stats_.offsetsUs.push_back(int32_t(std::clamp<int64_t>(late, INT32_MIN, INT32_MAX)));
            if (sound)
                ++stats_.soundPaced;
        }
        // Behind by more than a frame (a slow decode): go on from now rather than rush. The
        // sound does not wait, so a play with sound catches up instead.
        if (late > period && !sound)
            start += late;
    }
    // With sound, the play ends when the last frame's sound has been heard.
    if (sound && !waitFor(start + int64_t(double(n) * period), true))
        return;
    std::lock_guard lock(m_);
    if (!stale(job.gen))
        finishLocked(job, DeviceMode::Stopped, job.to, Notice::Successful);
}

} // namespace hw
