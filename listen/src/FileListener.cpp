// Listens to a sound file: the tool's instrument for trying phrases and thresholds, and the
// tests'. Given a second file of what was played while the first was recorded (both from the
// same moment), it takes that sound out as the microphone listener does.
#include "EchoCanceller.h"
#include "PhraseSpotter.h"
#include "SpeechFile.h"
#include "ThreadedListener.h"
#include "hw/listen/Listening.h"

#include <algorithm>
#include <optional>

namespace hw {

namespace {

using listen::EchoCanceller;

class FileListener final : public listen::ThreadedListener {
public:
    FileListener(const std::vector<CommandPhrase>& phrases, const QString& path, const QString& playedPath)
        : spotter_(phrases)
        , file_(path)
    {
        if (!playedPath.isEmpty()) {
            played_.emplace(playedPath);
            canceller_ = std::make_unique<EchoCanceller>();
        }
    }
    ~FileListener() override { join(); }

private:
    void listen() override
    {
        state(ListenState::Listening);
        std::vector<int16_t> samples, clean;
        bool more = true;
        while (more && !stopping()) {
            more = file_.next(samples);
            // The canceller takes whole frames; the last part frame waits for the next block.
            const size_t whole = canceller_ && more
                ? samples.size() / EchoCanceller::kFrame * EchoCanceller::kFrame
                : samples.size();
            hear(cancelled(samples.data(), whole, clean), clean.size());
            samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(whole));
        }
        if (!stopping()) {
            // Speech that ends with the file still gets its phrase heard.
            const std::vector<int16_t> quiet(listen::PhraseSpotter::kRate / 2, 0);
            hear(quiet.data(), quiet.size());
            state(ListenState::Ended);
        }
    }

    // The heard samples less the echo of what was played at the same time (all of `count`,
    // padded with silence to whole frames), or the samples themselves without a played file.
    const int16_t* cancelled(const int16_t* heard, size_t count, std::vector<int16_t>& out)
    {
        if (!canceller_) {
            out.assign(heard, heard + count);
            return out.data();
        }
        const size_t frames = (count + EchoCanceller::kFrame - 1) / EchoCanceller::kFrame;
        std::vector<int16_t> mic(heard, heard + count);
        mic.resize(frames * EchoCanceller::kFrame, 0);
        while (playedAhead_.size() < mic.size() && playedLeft_)
            playedLeft_ = played_->next(playedAhead_);
        playedAhead_.resize(std::max(playedAhead_.size(), mic.size()), 0);
        out.resize(mic.size());
        for (size_t f = 0; f < frames; ++f) {
            const size_t at = f * EchoCanceller::kFrame;
            canceller_->process(mic.data() + at, playedAhead_.data() + at, out.data() + at);
        }
        playedAhead_.erase(playedAhead_.begin(),
                           playedAhead_.begin() + static_cast<std::ptrdiff_t>(mic.size()));
        return out.data();
    }

    void hear(const int16_t* samples, size_t count)
    {
        for (const listen::SpottedPhrase& phrase : spotter_.feed(samples, count))
            heard(listen::heardCommand(phrase));
    }

    listen::PhraseSpotter spotter_;
    listen::SpeechFile file_;
    std::optional<listen::SpeechFile> played_;
    std::unique_ptr<EchoCanceller> canceller_;
    std::vector<int16_t> playedAhead_; // played samples read but not yet used
    bool playedLeft_ = true;
};

} // namespace

std::unique_ptr<CommandListener> makeFileListener(std::vector<CommandPhrase> phrases, const QString& path,
                                                  const QString& playedPath)
{
    return std::make_unique<FileListener>(phrases, path, playedPath);
}

} // namespace hw
