#include "ClipDevice.h"

#include "DeviceError.h"
#include "FrameEngine.h"
#include "FrameOrder.h"
#include "NoticeEvent.h"
#include "PictureSink.h"
#include "PlayPacer.h"
#include "SoundThread.h"
#include "VideoInput.h"
#include "hw/Narrow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace hw {

using namespace media;

namespace {
// A stream's first few milliseconds can be lost while the sound server fits it into what
// it already plays: a play's sound starts after this much silence.
constexpr int64_t kSoundLeadInUs = 40000;
// How long a play waits for its sound to begin before it goes on silently. A muted play
// waits less for a slow server: nobody would hear the difference.
constexpr int64_t kSoundStartWaitUs = 3000000;
constexpr int64_t kMutedSoundStartWaitUs = 1000000;
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

ClipDevice::~ClipDevice()
{
    {
        std::lock_guard lock(stateMutex_);
        quit_ = true;
        latestGen_ = latestGen_ + 1;
        if (soundThread_)
            soundThread_->abandon();
    }
    jobChanged_.notify_all();
    clock_->wake();
    steady_->wake();
    if (sound_)
        sound_->cut();
    if (worker_.joinable())
        worker_.join();
    soundThread_.reset();
    engine_.reset();
    sound_.reset();
}

void ClipDevice::showCurrent()
{
    Lock lock(stateMutex_);
    if (state_.mode == DeviceMode::Stopped)
        replaceJob(Job{JobKind::Show, state_.position, state_.position, 0, 0}, lock);
}

int32_t ClipDevice::length() const
{
    return length_;
}

DeviceMode ClipDevice::mode() const
{
    std::lock_guard lock(stateMutex_);
    return state_.mode;
}

int32_t ClipDevice::position() const
{
    std::lock_guard lock(stateMutex_);
    return state_.position;
}

PlaybackStats ClipDevice::stats() const
{
    std::lock_guard lock(stateMutex_);
    PlaybackStats s = state_.stats;
    if (soundThread_)
        s.soundHeldPeak = soundThread_->heldPeak();
    return s;
}

void ClipDevice::waitForOrder() const
{
    order_->waitForScan();
}

// ---- Transitions ----

uint64_t ClipDevice::replaceJob(const Job& job, Lock&)
{
    state_.job = job;
    state_.job.gen = latestGen_.load() + 1;
    latestGen_ = state_.job.gen;
    // Every command ends the sound under way at once: the worker may be busy decoding.
    if (soundThread_)
        soundThread_->abandon();
    if (sound_)
        sound_->cut();
    jobChanged_.notify_all();
    clock_->wake();
    steady_->wake();
    return state_.job.gen;
}

uint64_t ClipDevice::holdJob(Lock& lock)
{
    // The device stands where the command left it: on the last frame a play presented, or
    // on the start of a play or the target of a seek that has shown nothing yet. In the
    // second case that frame still has to be put on show.
    if (state_.shown == std::min(state_.position, length_ - 1))
        return replaceJob(Job{}, lock);
    return replaceJob(Job{JobKind::Show, state_.position, state_.position, 0, 0}, lock);
}

std::optional<ClipDevice::Job> ClipDevice::takeNextJob(Lock&)
{
    if (state_.job.gen == state_.taken)
        return std::nullopt;
    state_.taken = state_.job.gen;
    state_.busy = true;
    return state_.job;
}

void ClipDevice::finishJob(const Job& job, DeviceMode mode, int32_t position, Notice notice)
{
    state_.mode = mode;
    state_.position = position;
    state_.done = job.gen;
    if (state_.noticePending && state_.noticeGen == job.gen)
        endPendingNotice(notice);
    jobDone_.notify_all();
}

void ClipDevice::endPendingNotice(Notice value)
{
    if (!state_.noticePending)
        return;
    state_.noticePending = false;
    NoticeEvent::post(target_, value);
}

void ClipDevice::presented(QImage picture, int32_t frame, int64_t lateUs, double periodUs, bool heard)
{
    sink_->present(std::move(picture), frame);
    state_.shown = frame;
    state_.position = frame;
    PlaybackStats& s = state_.stats;
    ++s.presented;
    if (static_cast<double>(lateUs) > periodUs)
        ++s.late;
    s.maxLateUs = std::max(s.maxLateUs, lateUs);
    if (s.offsetsUs.size() >= 100000)
        s.offsetsUs.erase(s.offsetsUs.begin(), s.offsetsUs.begin() + 50000);
    s.offsetsUs.push_back(clamped<int32_t>(lateUs));
    if (heard)
        ++s.soundPaced;
}

void ClipDevice::abortPendingNotice()
{
    std::lock_guard lock(stateMutex_);
    endPendingNotice(Notice::Aborted);
}

void ClipDevice::waitDone(uint64_t gen, Lock& lock)
{
    jobDone_.wait(lock, [&] { return state_.done >= gen || latestGen_.load() != gen || quit_.load(); });
}

void ClipDevice::waitIdle()
{
    Lock lock(stateMutex_);
    jobDone_.wait(lock, [&] {
        return (state_.job.gen == state_.taken && !state_.busy && !state_.idleMore) || quit_.load();
    });
}

// ---- Commands ----

uint32_t ClipDevice::play(int32_t from, int32_t to, bool notify, bool wait)
{
    if (from < 0 || to < 0 || from > length_ || to > length_ || from > to)
        return kOutOfRange;
    Lock lock(stateMutex_);
    // A new play with notice replaces the running one's notice; without, it cuts it short.
    const bool running = state_.mode == DeviceMode::Playing || state_.mode == DeviceMode::Paused;
    endPendingNotice(notify && running ? Notice::Superseded : Notice::Aborted);
    Job job{JobKind::Play, from, to, 0, 0};
    job.repeat = state_.repeat;
    job.speed = state_.speed;
    job.loopFrom = from;
    const uint64_t gen = replaceJob(job, lock);
    state_.mode = DeviceMode::Playing;
    state_.position = from;
    if (notify) {
        state_.noticePending = true;
        state_.noticeGen = gen;
    }
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::seek(int32_t frame, bool notify, bool wait)
{
    if (frame < 0 || frame > length_)
        return kOutOfRange;
    Lock lock(stateMutex_);
    endPendingNotice(Notice::Aborted);
    const uint64_t gen = replaceJob(Job{JobKind::Seek, frame, frame, 0, 0}, lock);
    state_.mode = DeviceMode::Seeking;
    state_.position = frame;
    if (notify) {
        state_.noticePending = true;
        state_.noticeGen = gen;
    }
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::stop(bool notify, bool wait)
{
    Lock lock(stateMutex_);
    endPendingNotice(Notice::Aborted);
    uint64_t gen = 0;
    const DeviceMode mode = state_.mode;
    if (mode == DeviceMode::Playing || mode == DeviceMode::Seeking || mode == DeviceMode::Paused) {
        gen = holdJob(lock);
        state_.mode = DeviceMode::Stopped;
    }
    if (notify)
        NoticeEvent::post(target_, Notice::Successful);
    if (wait && gen)
        waitDone(gen, lock);
    return kOk;
}

uint32_t ClipDevice::pause(bool notify, bool wait)
{
    Lock lock(stateMutex_);
    if (state_.mode != DeviceMode::Playing)
        return kOk;
    state_.paused = state_.job;
    const uint64_t gen = holdJob(lock);
    state_.mode = DeviceMode::Paused;
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
    Lock lock(stateMutex_);
    if (state_.mode != DeviceMode::Paused)
        return kOutOfRange;
    Job job = state_.paused;
    job.from = state_.position + 1;
    job.firstDelayUs = std::llround(1e6 / (fps_ * job.speed));
    const uint64_t gen = replaceJob(job, lock);
    state_.mode = DeviceMode::Playing;
    if (notify) {
        endPendingNotice(Notice::Superseded);
        state_.noticePending = true;
    }
    state_.noticeGen = gen; // the paused play's notice, if still pending, now ends with this one
    if (wait)
        waitDone(gen, lock);
    return kOk;
}

void ClipDevice::setPlayOptions(bool repeat, double speed)
{
    std::lock_guard lock(stateMutex_);
    state_.repeat = repeat;
    state_.speed = speed;
}

void ClipDevice::setSoundOutput(std::unique_ptr<SoundOutput> output)
{
    std::lock_guard lock(stateMutex_);
    soundThread_.reset();
    sound_ = std::move(output);
    if (sound_)
        soundThread_ = std::make_unique<SoundThread>(path_, *sound_, volume_);
}

void ClipDevice::setVolume(int percent, bool muted)
{
    volume_ = muted ? 0 : percent;
    std::lock_guard lock(stateMutex_);
    if (sound_)
        sound_->setVolume(volume_.load());
}

// ---- The worker ----

void ClipDevice::run()
{
    Lock lock(stateMutex_);
    while (!quit_) {
        if (const std::optional<Job> job = takeNextJob(lock)) {
            lock.unlock();
            if (dropCache_.exchange(false))
                engine_->dropCache();
            switch (job->kind) {
            case JobKind::Show:
            case JobKind::Seek:
                runShow(*job);
                break;
            case JobKind::Play:
                runPlay(*job);
                break;
            case JobKind::None:
                break;
            }
            lock.lock();
            if ((job->kind == JobKind::None || job->kind == JobKind::Show) && !stale(job->gen))
                state_.done = job->gen;
            state_.busy = false;
            state_.idleMore = true;
            jobDone_.notify_all();
            continue;
        }
        if (state_.idleMore) {
            state_.busy = true;
            const uint64_t current = state_.taken;
            lock.unlock();
            const bool more = engine_->idleWork(sink_->panel(), [this, current] { return stale(current); });
            lock.lock();
            state_.busy = false;
            state_.idleMore = more;
            jobDone_.notify_all();
            continue;
        }
        jobChanged_.wait(lock);
    }
}

void ClipDevice::runShow(const Job& job)
{
    const int32_t frame = std::min(job.from, length_ - 1);
    QImage picture;
    const auto result = engine_->picture(
        frame, sink_->panel(), [&] { return stale(job.gen); }, picture);
    std::lock_guard lock(stateMutex_);
    if (stale(job.gen) || result == FrameEngine::Result::Aborted)
        return;
    if (result == FrameEngine::Result::Ok) {
        sink_->present(std::move(picture), frame);
        state_.shown = frame;
    }
    if (job.kind == JobKind::Seek)
        finishJob(job, DeviceMode::Stopped, job.from,
                  result == FrameEngine::Result::Ok ? Notice::Successful : Notice::Failure);
}

int32_t ClipDevice::firstFrameOf(const Job& job, int32_t last) const
{
    if (job.from <= last)
        return job.from;
    // A repeating play paused on its last frame goes on from the top.
    return job.repeat && job.loopFrom <= last ? job.loopFrom : -1;
}

bool ClipDevice::startSound(const Job& job, int32_t first, int32_t last)
{
    const bool repeat = job.repeat && job.loopFrom <= last;
    // A step (a one-frame play) is silent and leaves the output alone.
    if (!soundThread_ || (first == last && !repeat))
        return false;
    SoundPlan plan;
    plan.fps = fps_;
    plan.speed = job.speed;
    plan.from = first;
    plan.last = last;
    plan.loopFrom = job.loopFrom;
    plan.repeat = repeat;
    plan.leadInUs = job.firstDelayUs + kSoundLeadInUs;
    std::lock_guard lock(stateMutex_);
    if (stale(job.gen))
        return false;
    soundThread_->start(plan);
    return true;
}

void ClipDevice::startPacing(const Job& job, bool withSound, PlayPacer& pacer)
{
    if (withSound) {
        const int64_t wait = volume_.load() > 0 ? kSoundStartWaitUs : kMutedSoundStartWaitUs;
        if (soundThread_->waitStart(wait) == SoundThread::Start::Sounding && !stale(job.gen)) {
            // The first frame waits for its sound to be heard.
            pacer.startHeard(*sound_, job.firstDelayUs + kSoundLeadInUs);
            return;
        }
        std::lock_guard lock(stateMutex_);
        if (!stale(job.gen))
            soundThread_->abandon(); // too late to begin with the pictures
    }
    pacer.startSilent(job.firstDelayUs);
}

void ClipDevice::endPlay(const Job& job, PlayPacer& pacer, int64_t frames)
{
    if (pacer.heard() && !pacer.waitUntil(pacer.dueUs(frames), true))
        return;
    std::lock_guard lock(stateMutex_);
    if (stale(job.gen))
        return;
    if (pacer.heard())
        soundThread_->finish();
    finishJob(job, DeviceMode::Stopped, job.to, Notice::Successful);
}

void ClipDevice::runPlay(const Job& job)
{
    const int32_t last = std::min(job.to, length_ - 1);
    const bool loops = job.repeat && job.loopFrom <= last;
    int32_t k = firstFrameOf(job, last);
    if (k < 0) {
        std::lock_guard lock(stateMutex_);
        if (!stale(job.gen))
            finishJob(job, DeviceMode::Stopped, job.to, Notice::Successful);
        return;
    }
    const double period = 1e6 / (fps_ * job.speed);
    const auto overtaken = [&] { return stale(job.gen); };
    PlayPacer pacer(*clock_, *steady_, period, overtaken);
    // The sound thread finds and decodes the first sound while the first picture decodes.
    const bool withSound = startSound(job, k, last);
    int64_t n = 0;
    for (;; ++n, ++k) {
        if (k > last) {
            if (!loops)
                break;
            k = job.loopFrom;
        }
        QImage picture;
        const auto result = engine_->picture(k, sink_->panel(), overtaken, picture);
        if (result == FrameEngine::Result::Aborted || stale(job.gen))
            return;
        if (result == FrameEngine::Result::Failed) {
            std::lock_guard lock(stateMutex_);
            if (!stale(job.gen))
                finishJob(job, DeviceMode::Stopped, state_.shown >= 0 ? state_.shown : job.from,
                          Notice::Failure);
            return;
        }
        if (n == 0)
            startPacing(job, withSound, pacer);
        // A picture that comes after its successor is due is left out, so that the pictures
        // keep up with the sound; the play's last picture is always shown.
        const bool final = !loops && k == last;
        if (pacer.heard() && !final && pacer.nowUs() >= pacer.dueUs(n + 1)) {
            std::lock_guard lock(stateMutex_);
            ++state_.stats.dropped;
            continue;
        }
        const int64_t due = pacer.dueUs(n);
        if (!pacer.waitUntil(due))
            return;
        const int64_t late = pacer.nowUs() - due;
        {
            std::lock_guard lock(stateMutex_);
            if (stale(job.gen))
                return;
            presented(std::move(picture), k, late, period, pacer.heard());
        }
        if (static_cast<double>(late) > period && !pacer.heard())
            pacer.fellBehind(late);
    }
    endPlay(job, pacer, n);
}

} // namespace hw
