#pragma once
// Spots the phrases of a phrase list in a stream of 16 kHz mono speech (PocketSphinx's
// key-phrase search with the en-us model Debian installs). Not thread-safe: one thread feeds.
#include "hw/listen/CommandPhrases.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace hw::listen {

struct SpottedPhrase {
    SpokenCommand command = SpokenCommand::Play;
    int64_t endSample = 0;     // where the phrase ended, counted from the first sample fed
    int64_t decidedSample = 0; // how much had been fed when it was decided
};

class PhraseSpotter {
public:
    // Throws PhraseListError when the recogniser cannot take the phrases (a word not in its
    // dictionary, say) or its model is missing.
    explicit PhraseSpotter(const std::vector<CommandPhrase>& phrases);
    ~PhraseSpotter();
    PhraseSpotter(const PhraseSpotter&) = delete;
    PhraseSpotter& operator=(const PhraseSpotter&) = delete;

    static constexpr int kRate = 16000;
    // Feeds the next samples; returns the phrases that ended in what has been fed so far and
    // were not returned before, in order.
    std::vector<SpottedPhrase> feed(const int16_t* samples, size_t count);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The phrase as a listener reports it: times in seconds from the first sample fed.
inline HeardCommand heardCommand(const SpottedPhrase& phrase)
{
    return {phrase.command, static_cast<double>(phrase.endSample) / PhraseSpotter::kRate,
            static_cast<double>(phrase.decidedSample - phrase.endSample) / PhraseSpotter::kRate};
}

} // namespace hw::listen
