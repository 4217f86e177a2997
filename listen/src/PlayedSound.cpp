// The record keeps, for each play, what was written to its stream as 16 kHz mono, the volume
// it was played at, and when the listener heard its first frame on the steady clock.
#include "hw/listen/PlayedSound.h"

#include "hw/Narrow.h"
#include "hw/media/LibavHandles.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <iterator>
#include <mutex>
#include <optional>
#include <vector>

namespace hw {

namespace {

constexpr int kRate = 16000;
// What is kept of each play, and how many plays: enough for the listener's look back.
constexpr int64_t kKeptSamples = 8 * kRate;
constexpr size_t kKeptPlays = 4;
constexpr int64_t kReplaceAfterUs = 20'000;
constexpr int64_t kSmoothing = 50;

int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Play {
    media::LibavPtr<SwrContext> converter; // the stream's frames to 16 kHz mono
    int64_t firstKept = 0;                 // 16 kHz index of samples.front()
    std::deque<int16_t> samples;
    int64_t anchorAt = -1; // steady clock when the first frame was heard, microseconds; -1 not yet
    int64_t cutAt = -1;    // silence from here on
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
        SwrContext* made = nullptr;
        AVChannelLayout in{};
        av_channel_layout_default(&in, format.channels == 1 ? 1 : 2);
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        const bool set = swr_alloc_set_opts2(&made, &mono, AV_SAMPLE_FMT_S16, kRate, &in, AV_SAMPLE_FMT_S16,
                                             std::max(format.rate, 1), 0, nullptr)
            == 0;
        play.converter.reset(made);
        if (!set || swr_init(play.converter.get()) != 0)
            play.converter.reset();
        play.volumes.emplace_back(0, volume);
        plays.push_back(std::move(play));
        while (plays.size() > kKeptPlays)
            plays.pop_front();
    }

    // Converted to 16 kHz mono with a proper low-pass: what the canceller cannot find in the
    // microphone (aliases a cruder conversion would make) it cannot take out either.
    void append(const int16_t* frames, size_t count)
    {
        std::lock_guard lock(playsMutex);
        if (plays.empty() || count == 0 || !plays.back().converter)
            return;
        Play& p = plays.back();
        // The converter counts in int; a write is a few thousand frames, never near it.
        const std::optional<int> frameCount = fitting<int>(count);
        if (!frameCount)
            return;
        const int room = swr_get_out_samples(p.converter.get(), *frameCount);
        if (room <= 0)
            return;
        std::vector<int16_t> out(static_cast<size_t>(room));
        auto* to = reinterpret_cast<uint8_t*>(out.data());
        const auto* from = reinterpret_cast<const uint8_t*>(frames);
        const int made = swr_convert(p.converter.get(), &to, room, &from, *frameCount);
        if (made > 0)
            p.samples.insert(p.samples.end(), out.begin(), out.begin() + made);
        while (std::ssize(p.samples) > kKeptSamples) {
            p.samples.pop_front();
            ++p.firstKept;
        }
    }

    // The stream and the steady clock run at one rate, so the play is placed by one number:
    // when its first frame was heard. Each report of the heard position refines it slowly,
    // since a single report may be a millisecond or two off and the canceller must not see
    // its reference jump; a report far off (the server starved, say) places it anew.
    void anchor(int64_t heardUs)
    {
        std::lock_guard lock(playsMutex);
        if (plays.empty() || heardUs <= 0)
            return;
        Play& p = plays.back();
        const int64_t startedAt = nowUs() - heardUs;
        if (p.anchorAt < 0 || std::abs(startedAt - p.anchorAt) > kReplaceAfterUs)
            p.anchorAt = startedAt;
        else
            p.anchorAt += (startedAt - p.anchorAt) / kSmoothing;
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
    { }
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
{ }

PlayedSound::~PlayedSound() = default;

std::unique_ptr<SoundOutput> PlayedSound::tap(std::shared_ptr<PlayedSound> record,
                                              std::unique_ptr<SoundOutput> inner)
{
    if (!record || !inner)
        return inner;
    return std::make_unique<TappedOutput>(std::move(record), std::move(inner));
}

void PlayedSound::read(int64_t fromUs, int16_t* out, size_t count) const
{
    std::fill(out, out + count, int16_t{0});
    std::lock_guard lock(d->playsMutex);
    for (const Play& p : d->plays) {
        if (p.anchorAt < 0 || p.samples.empty())
            continue;
        for (size_t k = 0; k < count; ++k) {
            const int64_t at = fromUs + static_cast<int64_t>(k) * 1000000 / kRate;
            if (p.cutAt >= 0 && at >= p.cutAt)
                break;
            const int64_t heard = at - p.anchorAt;
            if (heard < 0)
                continue;
            const int64_t index = heard * kRate / 1000000 - p.firstKept;
            if (index < 0)
                continue;
            if (index >= std::ssize(p.samples))
                break;
            // The gain is at most 1, so the sample stays in range.
            out[k] = static_cast<int16_t>(std::lround(p.samples[static_cast<size_t>(index)] * p.gainAt(at)));
        }
    }
}

} // namespace hw
