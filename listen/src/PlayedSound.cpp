// The record keeps, for each play, what was written to its stream as 16 kHz mono, the volume
// it was played at, and the latest anchor between the stream's heard position and the steady
// clock. A play's sound reached the listener at anchor.at + (position - anchor.heard).
#include "hw/listen/PlayedSound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <mutex>
#include <vector>

namespace hw {

namespace {

constexpr int kRate = 16000;
// What is kept of each play, and how many plays: enough for the listener's look back.
constexpr int64_t kKeptSamples = 8 * kRate;
constexpr size_t kKeptPlays = 4;

int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Play {
    int rate = 44100;
    int channels = 2;
    int64_t written = 0;      // stream frames written
    double sourceAt = 0;      // where the next 16 kHz sample falls, in stream frames
    int64_t firstKept = 0;    // 16 kHz index of samples.front()
    std::deque<int16_t> samples;
    std::vector<int16_t> tail; // the last stream frame written, for interpolation across writes
    int64_t anchorAt = -1;    // steady clock, microseconds
    int64_t anchorHeard = 0;  // stream microseconds heard at anchorAt
    int64_t cutAt = -1;       // silence from here on
    std::vector<std::pair<int64_t, int>> volumes; // (steady µs, percent), in time order

    // The amplitude the server plays at: its volumes are on a cubic scale.
    double gainAt(int64_t at) const
    {
        int percent = volumes.empty() ? 100 : volumes.front().second;
        for (const auto& [when, p] : volumes)
            if (when <= at)
                percent = p;
        const double v = std::clamp(percent, 0, 100) / 100.0;
        return v * v * v;
    }
};

} // namespace

struct PlayedSound::Impl {
    mutable std::mutex playsMutex;
    std::deque<Play> plays;

    void begin(const SoundFormat& format, int volume)
    {
        std::lock_guard lock(playsMutex);
        if (!plays.empty() && plays.back().cutAt < 0)
            plays.back().cutAt = nowUs();
        Play play;
        play.rate = std::max(format.rate, 1);
        play.channels = format.channels == 1 ? 1 : 2;
        play.volumes.emplace_back(0, volume);
        plays.push_back(std::move(play));
        while (plays.size() > kKeptPlays)
            plays.pop_front();
    }

    // Mono 16 kHz by linear interpolation between the stream's frames: the canceller only
    // needs the speech band.
    void append(const int16_t* frames, size_t count)
    {
        std::lock_guard lock(playsMutex);
        if (plays.empty() || count == 0)
            return;
        Play& p = plays.back();
        const auto mono = [&](int64_t frame) -> double {
            const int16_t* f = frame < p.written ? p.tail.data() : frames + (frame - p.written) * p.channels;
            return p.channels == 1 ? f[0] : (f[0] + f[1]) / 2.0;
        };
        const double step = double(p.rate) / kRate;
        const int64_t end = p.written + int64_t(count);
        while (p.sourceAt + 1 < double(end)) {
            const auto at = int64_t(p.sourceAt);
            const double part = p.sourceAt - double(at);
            const double value = mono(at) * (1 - part) + mono(at + 1) * part;
            p.samples.push_back(int16_t(std::clamp(value, -32768.0, 32767.0)));
            p.sourceAt += step;
        }
        const int16_t* last = frames + (count - 1) * size_t(p.channels);
        p.tail.assign(last, last + p.channels);
        p.written = end;
        while (int64_t(p.samples.size()) > kKeptSamples) {
            p.samples.pop_front();
            ++p.firstKept;
        }
    }

    void anchor(int64_t heardUs)
    {
        std::lock_guard lock(playsMutex);
        if (!plays.empty() && heardUs > 0) {
            plays.back().anchorAt = nowUs();
            plays.back().anchorHeard = heardUs;
        }
    }

    void volume(int percent)
    {
        std::lock_guard lock(playsMutex);
        if (!plays.empty())
            plays.back().volumes.emplace_back(nowUs(), percent);
    }

    void cut()
    {
        std::lock_guard lock(playsMutex);
        if (!plays.empty() && plays.back().cutAt < 0)
            plays.back().cutAt = nowUs();
    }
};

class TappedOutput final : public SoundOutput {
public:
    TappedOutput(std::shared_ptr<PlayedSound> record, std::unique_ptr<SoundOutput> inner)
        : record_(std::move(record))
        , inner_(std::move(inner))
    {
    }
    bool begin(const SoundFormat& format, int volumePercent, const std::function<bool()>& overtaken) override
    {
        const bool begun = inner_->begin(format, volumePercent, overtaken);
        if (begun)
            record_->d->begin(format, volumePercent);
        return begun;
    }
    size_t writable() override { return inner_->writable(); }
    void write(const int16_t* frames, size_t count) override
    {
        record_->d->append(frames, count);
        inner_->write(frames, count);
    }
    void endOfData() override { inner_->endOfData(); }
    int64_t heardUs() override
    {
        const int64_t heard = inner_->heardUs();
        record_->d->anchor(heard);
        return heard;
    }
    void setVolume(int percent) override
    {
        record_->d->volume(percent);
        inner_->setVolume(percent);
    }
    void cut() override
    {
        record_->d->cut();
        inner_->cut();
    }
    void finish() override { inner_->finish(); }

private:
    std::shared_ptr<PlayedSound> record_;
    std::unique_ptr<SoundOutput> inner_;
};

PlayedSound::PlayedSound()
    : d(std::make_unique<Impl>())
{
}

PlayedSound::~PlayedSound() = default;

std::unique_ptr<SoundOutput> PlayedSound::tap(std::shared_ptr<PlayedSound> record, std::unique_ptr<SoundOutput> inner)
{
    if (!record || !inner)
        return inner;
    return std::make_unique<TappedOutput>(std::move(record), std::move(inner));
}

void PlayedSound::read(int64_t fromUs, int16_t* out, size_t count) const
{
    std::fill(out, out + count, int16_t(0));
    std::lock_guard lock(d->playsMutex);
    for (const Play& p : d->plays) {
        if (p.anchorAt < 0 || p.samples.empty())
            continue;
        for (size_t k = 0; k < count; ++k) {
            const int64_t at = fromUs + int64_t(k) * 1000000 / kRate;
            if (p.cutAt >= 0 && at >= p.cutAt)
                break;
            const int64_t heard = p.anchorHeard + (at - p.anchorAt);
            if (heard < 0)
                continue;
            const int64_t index = heard * kRate / 1000000 - p.firstKept;
            if (index < 0)
                continue;
            if (index >= int64_t(p.samples.size()))
                break;
            out[k] = int16_t(std::lround(p.samples[size_t(index)] * p.gainAt(at)));
        }
    }
}

} // namespace hw
