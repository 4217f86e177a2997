// Two passes over the same speech. The key-phrase search listens all the time and is cheap,
// but with several phrases that share their first word it often names the wrong one; when it
// spots a phrase, a grammar search that allows only the listed phrases decides which one was
// said, over the last seconds of speech up to a little past the spot.
#include "PhraseSpotter.h"

#include <pocketsphinx.h>

#include <QTemporaryFile>

#include <algorithm>
#include <deque>
#include <iterator>
#include <optional>

namespace hw::listen {

namespace {

const char* const kModel = "/usr/share/pocketsphinx/model/en-us/en-us";
const char* const kDictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";

// Speech kept for the grammar: the longest phrase and the speech before it.
constexpr int64_t kKeptSamples = 3 * PhraseSpotter::kRate;
// How much of the speech before a spot the grammar hears.
constexpr int64_t kLookBack = 2 * PhraseSpotter::kRate + PhraseSpotter::kRate / 5;
// The key-phrase search may spot a phrase before its last word has ended: the grammar first
// hears this much past the spot, and waits for at most this much more when it hears no
// whole phrase yet.
constexpr int64_t kFirstWait = PhraseSpotter::kRate / 10;
constexpr int64_t kLongestWait = PhraseSpotter::kRate / 4;
// After a phrase, its own echo in the search is not a new phrase.
constexpr int64_t kDeafAfter = PhraseSpotter::kRate / 2;
constexpr int kSamplesPerFrame = PhraseSpotter::kRate / 100;

struct DecoderDeleter {
    void operator()(ps_decoder_t* d) const { ps_free(d); }
};
using Decoder = std::unique_ptr<ps_decoder_t, DecoderDeleter>;

Decoder makeDecoder(const char* kwsFile)
{
    cmd_ln_t* config = kwsFile ? cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", kModel, "-dict", kDictionary,
                                             "-kws", kwsFile, "-logfn", "/dev/null", nullptr)
                               // The grammar's word times are read: every frame is kept.
                               : cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", kModel, "-dict", kDictionary,
                                             "-remove_silence", "no", "-logfn", "/dev/null", nullptr);
    if (!config)
        throw PhraseListError("The speech recogniser cannot be set up");
    Decoder decoder(ps_init(config));
    cmd_ln_free_r(config); // the decoder keeps its own reference
    if (!decoder)
        throw PhraseListError(std::string("The speech recogniser's English model is missing (") + kModel
                              + ")");
    return decoder;
}

} // namespace

struct PhraseSpotter::Impl {
    std::vector<CommandPhrase> phrases;
    Decoder spotter;
    Decoder grammar;
    std::deque<int16_t> kept; // the last kKeptSamples fed
    int64_t fed = 0;          // samples fed in all
    int64_t deafUntil = 0;
    struct Spot {
        int64_t at;
    };
    std::optional<Spot> pending;

    std::optional<SpottedPhrase> decide(bool lastChance);
    SpokenCommand commandOf(const char* phrase) const
    {
        for (const CommandPhrase& p : phrases)
            if (p.phrase == phrase)
                return p.command;
        return phrases.front().command;
    }
};

PhraseSpotter::PhraseSpotter(const std::vector<CommandPhrase>& phrases)
    : d(std::make_unique<Impl>())
{
    if (phrases.empty())
        throw PhraseListError("No phrases to listen for");
    d->phrases = phrases;
    QTemporaryFile kws;
    if (!kws.open())
        throw PhraseListError("The speech recogniser cannot be set up (no temporary file)");
    std::string grammar = "#JSGF V1.0;\ngrammar commands;\npublic <command> = ";
    for (size_t i = 0; i < phrases.size(); ++i) {
        kws.write(QByteArray::fromStdString(phrases[i].phrase) + " /"
                  + QByteArray::number(phrases[i].threshold, 'g', 6) + "/\n");
        grammar += (i ? " | ( " : "( ") + phrases[i].phrase + " )";
    }
    grammar += ";\n";
    kws.flush();

    d->grammar = makeDecoder(nullptr);
    for (const CommandPhrase& p : phrases) {
        size_t start = 0;
        while (start < p.phrase.size()) {
            const size_t end = std::min(p.phrase.find(' ', start), p.phrase.size());
            const std::string word = p.phrase.substr(start, end - start);
            if (!ps_lookup_word(d->grammar.get(), word.c_str()))
                throw PhraseListError("\"" + word + "\" is not in the speech recogniser's dictionary");
            start = end + 1;
        }
    }
    if (ps_set_jsgf_string(d->grammar.get(), "commands", grammar.c_str()) < 0
        || ps_set_search(d->grammar.get(), "commands") < 0)
        throw PhraseListError("The speech recogniser cannot take the phrases");
    d->spotter = makeDecoder(kws.fileName().toLocal8Bit().constData());
    if (ps_start_utt(d->spotter.get()) < 0)
        throw PhraseListError("The speech recogniser cannot start");
}

PhraseSpotter::~PhraseSpotter()
{
    if (d && d->spotter)
        ps_end_utt(d->spotter.get());
}

std::vector<SpottedPhrase> PhraseSpotter::feed(const int16_t* samples, size_t count)
{
    std::vector<SpottedPhrase> spotted;
    // In blocks of 10 ms, so that a spot is known within 10 ms of the speech that made it.
    constexpr size_t kBlock = kSamplesPerFrame;
    for (size_t done = 0; done < count;) {
        const size_t n = std::min(kBlock, count - done);
        const int16_t* block = samples + done;
        ps_process_raw(d->spotter.get(), block, n, FALSE, FALSE);
        d->kept.insert(d->kept.end(), block, block + n);
        while (std::ssize(d->kept) > kKeptSamples)
            d->kept.pop_front();
        d->fed += static_cast<int64_t>(n); // at most a block
        done += n;

        if (ps_get_hyp(d->spotter.get(), nullptr)) {
            // Start the search afresh so that the same speech is not spotted again.
            ps_end_utt(d->spotter.get());
            ps_start_utt(d->spotter.get());
            if (!d->pending && d->fed >= d->deafUntil)
                d->pending = Impl::Spot{d->fed};
        }
        if (d->pending && d->fed >= d->pending->at + kFirstWait) {
            const bool lastChance = d->fed >= d->pending->at + kLongestWait;
            if (std::optional<SpottedPhrase> phrase = d->decide(lastChance)) {
                spotted.push_back(*phrase);
                d->deafUntil = d->fed + kDeafAfter;
                d->pending.reset();
            } else if (lastChance) {
                d->pending.reset();
            }
        }
    }
    return spotted;
}

std::optional<SpottedPhrase> PhraseSpotter::Impl::decide(bool lastChance)
{
    const int64_t from = std::max<int64_t>(fed - std::ssize(kept), pending->at - kLookBack);
    const std::vector<int16_t> speech(kept.end() - static_cast<std::ptrdiff_t>(fed - from), kept.end());
    ps_decoder_t* g = grammar.get();
    ps_start_utt(g);
    ps_process_raw(g, speech.data(), speech.size(), FALSE, TRUE);
    ps_end_utt(g);
    const char* hyp = ps_get_hyp(g, nullptr);
    if (!hyp || !*hyp)
        return std::nullopt;
    // Where the phrase's last word ends; a phrase whose end is the end of what was heard may
    // not be over yet.
    int lastFrame = -1;
    for (ps_seg_t* seg = ps_seg_iter(g); seg; seg = ps_seg_next(seg)) {
        const char* word = ps_seg_word(seg);
        if (!word || word[0] == '<' || word[0] == '[')
            continue;
        int start = 0, end = 0;
        ps_seg_frames(seg, &start, &end);
        lastFrame = end;
    }
    const int64_t end = from + int64_t{lastFrame + 1} * kSamplesPerFrame;
    if (!lastChance && end >= fed - kSamplesPerFrame * 3)
        return std::nullopt;
    return SpottedPhrase{commandOf(hyp), std::min(end, fed), fed};
}

} // namespace hw::listen
