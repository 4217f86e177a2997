// Listens to a sound file: the tool's instrument for trying phrases and thresholds, and the
// tests'.
#include "PhraseSpotter.h"
#include "SpeechFile.h"
#include "ThreadedListener.h"
#include "hw/listen/Listening.h"

namespace hw {

namespace {

class FileListener final : public listen::ThreadedListener {
public:
    FileListener(const std::vector<CommandPhrase>& phrases, const QString& path)
        : spotter_(phrases)
        , file_(path)
    { }
    ~FileListener() override { join(); }

private:
    void listen() override
    {
        state(ListenState::Listening);
        std::vector<int16_t> samples;
        while (!stopping()) {
            samples.clear();
            const bool more = file_.next(samples);
            for (const listen::SpottedPhrase& phrase : spotter_.feed(samples.data(), samples.size()))
                heard(listen::heardCommand(phrase));
            if (!more)
                break;
        }
        if (!stopping()) {
            // Speech that ends with the file still gets its phrase heard.
            const std::vector<int16_t> quiet(listen::PhraseSpotter::kRate / 2, 0);
            for (const listen::SpottedPhrase& phrase : spotter_.feed(quiet.data(), quiet.size()))
                heard(listen::heardCommand(phrase));
            state(ListenState::Ended);
        }
    }

    listen::PhraseSpotter spotter_;
    listen::SpeechFile file_;
};

} // namespace

std::unique_ptr<CommandListener> makeFileListener(std::vector<CommandPhrase> phrases, const QString& path)
{
    return std::make_unique<FileListener>(phrases, path);
}

} // namespace hw
