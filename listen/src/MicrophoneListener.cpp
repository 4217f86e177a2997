// Listens on the microphone: what it hears, less the echo of what the program plays, goes
// to the phrase spotter.
#include "EchoCanceller.h"
#include "PhraseSpotter.h"
#include "PulseSoundInput.h"
#include "ThreadedListener.h"
#include "hw/listen/Listening.h"
#include "hw/listen/PlayedSound.h"

namespace hw {

namespace {

using listen::EchoCanceller;
using listen::PhraseSpotter;

// The program's sound is read this much later than the microphone's time, so that the
// canceller sees it before its echo however the two clocks' placings err.
constexpr int64_t kPlayedLeadUs = 60'000;

class MicrophoneListener final : public listen::ThreadedListener {
public:
    MicrophoneListener(const std::vector<CommandPhrase>& phrases, std::shared_ptr<PlayedSound> played)
        : spotter_(phrases)
        , played_(std::move(played))
    {
    }
    ~MicrophoneListener() override { join(); }

private:
    void interrupt() override { input_.interrupt(); }

    void listen() override
    {
        state(ListenState::Starting);
        if (!input_.open()) {
            if (!stopping())
                state(ListenState::NoMicrophone);
            return;
        }
        state(ListenState::Listening);
        std::vector<int16_t> heard, played(EchoCanceller::kFrame), clean;
        int64_t heardUs = 0;
        int64_t pendingFrom = 0; // the steady time of heard.front()
        while (!stopping()) {
            const size_t before = heard.size();
            int64_t blockUs = 0;
            if (!input_.read(heard, blockUs)) {
                if (!stopping())
                    state(ListenState::NoMicrophone);
                return;
            }
            if (heard.size() == before)
                continue;
            if (before == 0)
                pendingFrom = blockUs;
            heardUs = pendingFrom;
            size_t done = 0;
            clean.clear();
            for (; done + EchoCanceller::kFrame <= heard.size(); done += EchoCanceller::kFrame) {
                const int16_t* mic = heard.data() + done;
                const size_t at = clean.size();
                clean.resize(at + EchoCanceller::kFrame);
                if (played_) {
                    const int64_t frameUs = heardUs + int64_t(done) * 1'000'000 / PhraseSpotter::kRate;
                    played_->read(frameUs + kPlayedLeadUs, played.data(), played.size());
                    canceller_.process(mic, played.data(), clean.data() + at);
                } else {
                    std::copy(mic, mic + EchoCanceller::kFrame, clean.data() + at);
                }
            }
            heard.erase(heard.begin(), heard.begin() + std::ptrdiff_t(done));
            pendingFrom = heardUs + int64_t(done) * 1'000'000 / PhraseSpotter::kRate;
            for (const listen::SpottedPhrase& phrase : spotter_.feed(clean.data(), clean.size()))
                heard_({phrase.command, double(phrase.endSample) / PhraseSpotter::kRate});
        }
    }
    void heard_(const HeardCommand& command) { heard(command); }

    PhraseSpotter spotter_;
    std::shared_ptr<PlayedSound> played_;
    listen::PulseSoundInput input_;
    EchoCanceller canceller_;
};

} // namespace

std::unique_ptr<CommandListener> makeMicrophoneListener(std::vector<CommandPhrase> phrases,
                                                        std::shared_ptr<PlayedSound> played)
{
    return std::make_unique<MicrophoneListener>(phrases, std::move(played));
}

} // namespace hw
