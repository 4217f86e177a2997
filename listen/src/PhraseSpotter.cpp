// Two passes over the same speech. The key-phrase search listens all the time and is cheap,
// but with several phrases that share their first word it often names the wrong one, and at
// a threshold low enough to hear phrases over narration it also hears other speech as
// phrases. When it spots one, a grammar search decides, over the last seconds of speech up
// to a little past the spot: the grammar allows the listed phrases after any speech, or any
// speech alone (a loop of single sounds and common words), so speech that only resembles a
// phrase is taken as no phrase rather than as the nearest one, and a phrase heard right after
// common words, as part of a sentence, is not taken either. A phrase is taken when both
// searches name it, or when the grammar hears the same phrase three times in a row: the
// key-phrase search may spot a phrase early, and the grammar, given "tutor fa-", may hear
// "tutor again" once.
#include "PhraseSpotter.h"

#include <pocketsphinx.h>

#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

namespace hw::listen {

namespace {

const char* const kModel = "/usr/share/pocketsphinx/model/en-us/en-us";
const char* const kDictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";

// How much of the speech before a spot the grammar hears: the longest phrase said slowly.
// (Measured on the benchmark's phrases: hearing 2.2 s heard no more of them over narration,
// named the wrong phrase more often in quiet, and took a third more of the recogniser's time.)
constexpr int64_t kLookBack = PhraseSpotter::kRate * 6 / 5;
// Speech kept for the grammar: what it hears before a spot and after it.
constexpr int64_t kKeptSamples = 2 * PhraseSpotter::kRate;
// The key-phrase search may spot a phrase before its last word has ended, and it spots most
// phrases about 140 ms after their end. The grammar first hears this much past the spot, then
// again every kHearAgain while it hears no phrase that is over, up to kLongestWait past the
// spot. Each hearing decodes the seconds before the spot afresh: most of the recogniser's
// work. (Measured on the benchmark's phrases: a first hearing at 200 ms put the slowest
// decisions 420 ms past the end of speech, at 150 ms 396 ms, with as many phrases heard right;
// at 100 ms the grammar took the start of "tutor faster" for "tutor play".)
constexpr int64_t kFirstWait = PhraseSpotter::kRate * 3 / 20;
constexpr int64_t kHearAgain = PhraseSpotter::kRate / 20;
constexpr int64_t kLongestWait = PhraseSpotter::kRate * 3 / 10;
// The key-phrase search keeps what it spotted since it last started; it is started afresh
// after a phrase, or when it holds this many spots and none is being decided.
constexpr int kMostSpotsKept = 100;
// A phrase the key-phrase search never named is taken when the grammar hears it this many
// times in a row, the last at kLongestWait.
constexpr int kSteadyHearings = 3;
// After a phrase, its own echo in the search is not a new phrase.
constexpr int64_t kDeafAfter = PhraseSpotter::kRate / 2;
constexpr int kSamplesPerFrame = PhraseSpotter::kRate / 100;

struct DecoderDeleter {
    void operator()(ps_decoder_t* d) const { ps_free(d); }
};
using Decoder = std::unique_ptr<ps_decoder_t, DecoderDeleter>;

// The model's phones: each is also a one-sound word of the grammar's loop of any speech.
constexpr std::array<const char*, 39> kPhones
    = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
       "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
       "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};
// The commonest English words, and short words much like the sounds of "tutor", are also
// words of the loop, with all their pronunciations. A phrase is a command only when said on
// its own: where the grammar hears one of these words just before it, it is part of a
// sentence ("look at it again"), and taken as no phrase. (Measured on eight minutes of talk
// about tying full of the commands' words, in several voices: 14 false commands with the loop of
// single sounds, 4 with the words in it, 1 with phrases after words refused. Phrases said
// alone, over noise and over cancelled narration were heard alike; over narration that was
// not cancelled, 60 % were heard before and 18 % now: a command said into talk is refused.)
constexpr std::array<const char*, 24> kCommonWords
    = {"the", "of", "and", "to", "a",    "in", "is", "you", "that", "it", "he", "was",
       "for", "on", "are", "as", "with", "at", "do", "two", "her",  "i",  "be", "this"};
// The loop's words are named apart from the phrases' own words.
constexpr std::string_view kLoopSoundPrefix = "loopsound";
constexpr std::string_view kLoopWordPrefix = "loopword";

bool isLoopWord(std::string_view word)
{
    return word.starts_with(kLoopSoundPrefix) || word.starts_with(kLoopWordPrefix);
}

std::string loopWord(std::string_view prefix, std::string_view word)
{
    std::string name(prefix);
    for (char c : word)
        name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name;
}

// The dictionary's pronunciation of a word, if it has the word.
std::optional<std::string> pronunciation(ps_decoder_t* decoder, const std::string& word)
{
    std::unique_ptr<char, decltype(&free)> phones(ps_lookup_word(decoder, word.c_str()), &free);
    if (!phones)
        return std::nullopt;
    return std::string(phones.get());
}

// The loop of any speech, as words and their sounds: every sound of the model, and each
// pronunciation of the common words ("to", "to(2)", ...).
std::vector<std::pair<std::string, std::string>> anySpeechLoop(ps_decoder_t* decoder)
{
    std::vector<std::pair<std::string, std::string>> loop;
    for (const char* phone : kPhones)
        loop.emplace_back(loopWord(kLoopSoundPrefix, phone), phone);
    for (const std::string word : kCommonWords)
        for (int n = 1;; ++n) {
            const std::optional<std::string> phones
                = pronunciation(decoder, n == 1 ? word : word + "(" + std::to_string(n) + ")");
            if (!phones)
                break;
            loop.emplace_back(loopWord(kLoopWordPrefix, word + std::to_string(n)), *phones);
        }
    return loop;
}

// A word of the grammar's result as the phrase list spells it: not a filler ("<sil>",
// "[NOISE]") nor a word of the loop, and without the "(2)" of an alternative pronunciation.
std::optional<std::string> spokenWord(const char* word)
{
    if (!word || word[0] == '<' || word[0] == '[' || word[0] == '(' || isLoopWord(word))
        return std::nullopt;
    std::string_view w(word);
    return std::string(w.substr(0, w.find('(')));
}

Decoder makeDecoder(const char* kwsFile)
{
    cmd_ln_t* config = kwsFile
        ? cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", kModel, "-dict", kDictionary, "-kws", kwsFile,
                      "-logfn", "/dev/null", nullptr)
        // The grammar's word times are read: every frame is kept. Each sound of the loop is a
        // word, and every word has a price (-wip): high enough that the loop does not take over
        // a phrase that was said, low enough that speech merely like a phrase goes to the loop.
        // (Measured on the benchmark's phrases and talk about tying: at 1e-3 the talk gave
        // twice as many false commands; at 1e-1 phrases said over narration were missed more.)
        : cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", kModel, "-dict", kDictionary, "-remove_silence", "no",
                      "-wip", "1e-2", "-logfn", "/dev/null", nullptr);
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
    int lastSpotEnd = -1; // the key-phrase search's frame where its latest spot ended
    struct Spot {
        int64_t at;                         // where the key-phrase search spotted it
        int64_t nextHearing;                // when the grammar hears the speech next
        std::vector<SpokenCommand> named;   // what the key-phrase search has named since
        std::optional<SpokenCommand> heard; // what the grammar heard last time, and how often
        int timesHeard = 0;                 // in a row
        bool takes(const std::optional<SpottedPhrase>& phrase, bool lastChance);
    };
    std::optional<Spot> pending;

    std::vector<SpokenCommand> spottedAgain();
    void restartSpotting();
    std::optional<SpottedPhrase> hearPhrase(bool lastChance) const;
    std::optional<SpokenCommand> commandOf(const std::string& phrase) const
    {
        for (const CommandPhrase& p : phrases)
            if (p.phrase == phrase)
                return p.command;
        return std::nullopt;
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
    d->grammar = makeDecoder(nullptr);
    const std::vector<std::pair<std::string, std::string>> loop = anySpeechLoop(d->grammar.get());
    std::string grammar = "#JSGF V1.0;\ngrammar commands;\n<any> = ";
    for (size_t i = 0; i < loop.size(); ++i) {
        if (ps_add_word(d->grammar.get(), loop[i].first.c_str(), loop[i].second.c_str(), i + 1 == loop.size())
            < 0)
            throw PhraseListError("The speech recogniser's English model lacks the sounds " + loop[i].second);
        grammar += (i ? " | " : "") + loop[i].first;
    }
    grammar += ";\n<phrase> = ";
    for (size_t i = 0; i < phrases.size(); ++i) {
        kws.write(QByteArray::fromStdString(phrases[i].phrase) + " /"
                  + QByteArray::number(phrases[i].threshold, 'g', 6) + "/\n");
        grammar += (i ? " | ( " : "( ") + phrases[i].phrase + " )";
    }
    // A phrase is the last thing heard: the grammar hears only a little past the spot.
    grammar += ";\npublic <command> = <any>+ | ( <any>* <phrase> );\n";
    kws.flush();

    for (const CommandPhrase& p : phrases) {
        size_t start = 0;
        while (start < p.phrase.size()) {
            const size_t end = std::min(p.phrase.find(' ', start), p.phrase.size());
            const std::string word = p.phrase.substr(start, end - start);
            if (!pronunciation(d->grammar.get(), word))
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

        const std::vector<SpokenCommand> named = d->spottedAgain();
        if (!named.empty() && !d->pending && d->fed >= d->deafUntil)
            d->pending = Impl::Spot{d->fed, d->fed + kFirstWait, {}, std::nullopt, 0};
        if (d->pending)
            d->pending->named.insert(d->pending->named.end(), named.begin(), named.end());
        if (d->pending && d->fed >= d->pending->nextHearing) {
            Impl::Spot& spot = *d->pending;
            spot.nextHearing += kHearAgain;
            const bool lastChance = d->fed >= spot.at + kLongestWait;
            const std::optional<SpottedPhrase> phrase = d->hearPhrase(lastChance);
            if (spot.takes(phrase, lastChance)) {
                spotted.push_back(*phrase);
                // The search starts afresh, so that the same speech is not spotted again.
                d->restartSpotting();
                d->deafUntil = d->fed + kDeafAfter;
                d->pending.reset();
            } else if (lastChance) {
                d->pending.reset();
            }
        }
    }
    return spotted;
}

// Whether the phrase the grammar heard now (if any) is taken.
bool PhraseSpotter::Impl::Spot::takes(const std::optional<SpottedPhrase>& phrase, bool lastChance)
{
    if (!phrase) {
        heard.reset();
        timesHeard = 0;
        return false;
    }
    timesHeard = heard == phrase->command ? timesHeard + 1 : 1;
    heard = phrase->command;
    return std::find(named.begin(), named.end(), phrase->command) != named.end()
        || (lastChance && timesHeard >= kSteadyHearings);
}

// The phrases the key-phrase search has spotted ending after the last one it spotted.
// It is not started afresh at each spot, as a phrase said just after speech that was spotted
// would then be missed: the search would start in its middle.
std::vector<SpokenCommand> PhraseSpotter::Impl::spottedAgain()
{
    std::vector<SpokenCommand> again;
    if (!ps_get_hyp(spotter.get(), nullptr))
        return again;
    int spots = 0;
    for (ps_seg_t* seg = ps_seg_iter(spotter.get()); seg; seg = ps_seg_next(seg), ++spots) {
        int start = 0, end = 0;
        ps_seg_frames(seg, &start, &end);
        if (end > lastSpotEnd) {
            lastSpotEnd = end;
            std::string phrase = ps_seg_word(seg); // as listed, with a space at its end
            while (!phrase.empty() && phrase.back() == ' ')
                phrase.pop_back();
            if (const std::optional<SpokenCommand> command = commandOf(phrase))
                again.push_back(*command);
        }
    }
    if (spots > kMostSpotsKept && !pending)
        restartSpotting();
    return again;
}

void PhraseSpotter::Impl::restartSpotting()
{
    ps_end_utt(spotter.get());
    ps_start_utt(spotter.get());
    lastSpotEnd = -1;
}

// The phrase the grammar hears in the speech before the spot and what has come since, if
// one was said and is over.
std::optional<SpottedPhrase> PhraseSpotter::Impl::hearPhrase(bool lastChance) const
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
    // The phrase heard, and where its last word ends; a phrase whose end is the end of what
    // was heard may not be over yet.
    std::string said;
    bool afterWords = false; // whether common words came before the phrase
    int lastFrame = -1;
    for (ps_seg_t* seg = ps_seg_iter(g); seg; seg = ps_seg_next(seg)) {
        const char* segWord = ps_seg_word(seg);
        afterWords = afterWords || (segWord && std::string_view(segWord).starts_with(kLoopWordPrefix));
        const std::optional<std::string> word = spokenWord(segWord);
        if (!word)
            continue;
        said += (said.empty() ? "" : " ") + *word;
        int start = 0, end = 0;
        ps_seg_frames(seg, &start, &end);
        lastFrame = end;
    }
    const std::optional<SpokenCommand> command = commandOf(said);
    if (!command || afterWords)
        return std::nullopt;
    const int64_t end = from + int64_t{lastFrame + 1} * kSamplesPerFrame;
    if (!lastChance && end >= fed - kSamplesPerFrame * 3)
        return std::nullopt;
    return SpottedPhrase{*command, std::min(end, fed), fed};
}

} // namespace hw::listen
