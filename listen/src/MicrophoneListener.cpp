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
constexpr int64_t kPlayedLeadUs = 30'000;
constexpr int64_t kReplaceAfterUs = 20'000;
constexpr int64_t kSmoothing = 50;

class MicrophoneListener final : public listen::ThreadedListener {
public:
    MicrophoneListener(const std::vector<CommandPhrase>& phrases, std::shared_ptr<PlayedSound> played)
        : spotter_(phrases)
        , played_(std::move(played))
    { }
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
        // The microphone's samples come at one steady rate: they are placed by when the first
        // was heard, refined slowly from each block's stamp (which jitters by a millisecond or
        // two), so that the canceller's reference never jumps.
        int64_t origin = -1; // steady time of sample 0, microseconds
        int64_t taken = 0;   // samples taken from the microphone
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
            const int64_t measured
                = blockUs - (taken + static_cast<int64_t>(before)) * 1'000'000 / PhraseSpotter::kRate;
            if (origin < 0 || std::abs(measured - origin) > kReplaceAfterUs)
                origin = measured;
            else
                origin += (measured - origin) / kSmoothing;
            size_t done = 0;
            clean.clear();
            for (; done + EchoCanceller::kFrame <= heard.size(); done += EchoCanceller::kFrame) {
                const int16_t* mic = heard.data() + done;
                const size_t at = clean.size();
                clean.resize(at + EchoCanceller::kFrame);
                if (played_) {
                    const int64_t frameUs
                        = origin + (taken + static_cast<int64_t>(done)) * 1'000'000 / PhraseSpotter::kRate;
                    played_->read(frameUs + kPlayedLeadUs, played.data(), played.size());
                    canceller_.process(mic, played.data(), clean.data() + at);
                } else {
                    std::copy(mic, mic + EchoCanceller::kFrame, clean.data() + at);
                }
            }
            heard.erase(heard.begin(), heard.begin() + static_cast<std::ptrdiff_t>(done));
            taken += static_cast<int64_t>(done);
            for (const listen::SpottedPhrase& phrase : spotter_.feed(clean.data(), clean.size()))
                ThreadedListener::heard(listen::heardCommand(phrase));
        }
    }

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
