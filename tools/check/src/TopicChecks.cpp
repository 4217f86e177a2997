#include "TopicChecks.h"

#include "hw/AnsiText.h"
#include "hw/Exception.h"
#include "hw/content/IntegerText.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace hw::check {
namespace {

// The loader's own ceiling on topics per file.
constexpr int kMostTopics = 10000;

QByteArray topicSection(int n)
{
    return QByteArrayLiteral("Topics ") + QByteArray::number(n);
}

struct Range {
    int64_t start = 0;
    int64_t stop = 0;
};

QString rangeText(const Range& r)
{
    return QStringLiteral("%1..%2").arg(r.start).arg(r.stop);
}

// The right-handed ranges of a file, asked which of them another topic's left-handed range
// runs into. Sorted by start once, with the latest few stops of every prefix and every stop
// in order, each question is answered by binary searches: how many there are, and a few of
// them to name, however many topics a file has.
class RightRanges {
public:
    static constexpr size_t kNamed = 3; // ranges named in a finding; the rest are counted

    void add(const Range& r, size_t topic)
    {
        if (r.start <= r.stop)
            ranges_.push_back({r, topic});
    }
    void prepare()
    {
        // Stable: among equal ranges the first topics are the ones named.
        std::stable_sort(ranges_.begin(), ranges_.end(),
                         [](const Entry& a, const Entry& b) { return a.range.start < b.range.start; });
        stops_.reserve(ranges_.size());
        latest_.resize(ranges_.size() * kKept);
        std::array<const Entry*, kKept> running{};
        for (size_t k = 0; k < ranges_.size(); ++k) {
            const Entry* e = &ranges_[k];
            stops_.push_back(e->range.stop);
            // Keep the kKept latest stops, latest first.
            for (size_t j = 0; j < kKept && e; ++j)
                if (!running[j] || e->range.stop > running[j]->range.stop)
                    std::swap(running[j], e);
            std::copy(running.begin(), running.end(),
                      latest_.begin() + static_cast<std::ptrdiff_t>(k * kKept));
        }
        std::sort(stops_.begin(), stops_.end());
    }

    struct Overlaps {
        std::vector<std::pair<size_t, Range>> named; // (topic, range), by topic
        size_t count = 0;                            // all of them
    };
    // The right-handed ranges of topics other than topic (whose own is own) that share a
    // frame with r.
    Overlaps overlapping(const Range& r, size_t topic, const Range& own) const
    {
        Overlaps out;
        const auto end = std::upper_bound(ranges_.begin(), ranges_.end(), r.stop,
                                          [](int64_t stop, const Entry& e) { return stop < e.range.start; });
        if (end == ranges_.begin())
            return out;
        // Those starting by r's stop, less those that stop before r starts.
        const auto before = std::lower_bound(stops_.begin(), stops_.end(), r.start);
        out.count = static_cast<size_t>(end - ranges_.begin()) - static_cast<size_t>(before - stops_.begin());
        if (own.start <= own.stop && own.start <= r.stop && own.stop >= r.start)
            --out.count;
        const size_t prefix = static_cast<size_t>(end - ranges_.begin()) - 1;
        for (size_t j = 0; j < kKept; ++j) {
            const Entry* e = latest_[prefix * kKept + j];
            if (!e || e->range.stop < r.start)
                break;
            if (e->topic != topic && out.named.size() < kNamed)
                out.named.emplace_back(e->topic, e->range);
        }
        std::sort(out.named.begin(), out.named.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        return out;
    }

private:
    static constexpr size_t kKept = kNamed + 1; // one more: the topic's own range may be among them
    struct Entry {
        Range range;
        size_t topic = 0;
    };
    std::vector<Entry> ranges_;
    std::vector<int64_t> stops_;
    std::vector<const Entry*> latest_; // kKept per prefix of ranges_, latest stop first
};

} // namespace

ChainFile readChainFile(const IniFile& ini, const QString& file, const QByteArray& countKey, Findings& out)
{
    ChainFile chain;
    auto integer = [&](const QByteArray& section, const QByteArray& key) -> std::optional<int32_t> {
        try {
            return strToInt(ini.readString(section, key, QByteArrayLiteral("0")));
        } catch (const Exception& e) {
            out.error(QStringLiteral("bad-integer"), file, ini.lineOf(section, key), e.message());
            return std::nullopt;
        }
    };
    const std::optional<int32_t> count = integer(QByteArrayLiteral("Info"), countKey);
    if (!count || *count > kMostTopics) {
        chain.count = -1; // the loader reports a count beyond its ceiling itself
        return chain;
    }
    chain.count = std::max(0, *count);
    chain.steps.reserve(static_cast<size_t>(chain.count));
    for (int n = 1; n <= chain.count; ++n) {
        const QByteArray section = topicSection(n);
        TopicValues t;
        t.head = ini.sectionLine(section);
        if (!t.head)
            out.error(
                QStringLiteral("topic-missing"), file, ini.lineOf(QByteArrayLiteral("Info"), countKey),
                QStringLiteral("%1 is %2 but there is no [%3] section: topic %4 is \"Unknown\" at frame 0")
                    .arg(ansiToQString(countKey))
                    .arg(*count)
                    .arg(ansiToQString(section))
                    .arg(n));
        // Section and key names are read without regard to case: "title" is "Title" too.
        t.title = ini.readString(section, QByteArrayLiteral("title"), QByteArrayLiteral("Unknown"));
        t.start = integer(section, QByteArrayLiteral("StartFrame"));
        t.stop = integer(section, QByteArrayLiteral("StopFrame"));
        t.offset = integer(section, QByteArrayLiteral("Offset"));
        t.startLine = ini.lineOf(section, QByteArrayLiteral("StartFrame"));
        t.stopLine = ini.lineOf(section, QByteArrayLiteral("StopFrame"));
        t.offsetLine = ini.lineOf(section, QByteArrayLiteral("Offset"));
        chain.steps.push_back(std::move(t));
    }
    return chain;
}

void checkChainRanges(const ChainFile& chain, const QString& file, const QString& video,
                      const VideoFacts& facts, bool isSteps, Findings& out)
{
    const QString what = isSteps ? QStringLiteral("step") : QStringLiteral("topic");
    auto nameOf = [&](size_t i) {
        const QByteArray& title = chain.steps[i].title;
        return QStringLiteral("%1 %2 \"%3\"")
            .arg(what)
            .arg(i + 1)
            .arg(ansiToQString(title.size() > 40 ? title.left(40) + "..." : title));
    };
    // A topic can be checked when its section is there (a missing one is reported already)
    // and the values a range needs are sound.
    auto hasRight = [](const TopicValues& t) { return t.head && t.start && t.stop; };
    // False when the range cannot be played. A range past the end is reported at its
    // StopFrame, one before frame 0 at its StartFrame, whichever hand it is.
    auto checkRange = [&](size_t i, const Range& r, const char* hand, int reversedLine, int outsideLine) {
        if (r.start > r.stop) {
            out.error(QStringLiteral("range-reversed"), file, reversedLine,
                      QStringLiteral("%1: its %2 range %3 starts after it stops")
                          .arg(nameOf(i), QLatin1String(hand), rangeText(r)));
            return false;
        }
        if (r.start < 0 || r.stop >= facts.length) {
            out.error(QStringLiteral("range-outside-video"), file, outsideLine,
                      QStringLiteral("%1: its %2 range %3 lies outside %4, whose frames are 0..%5")
                          .arg(nameOf(i), QLatin1String(hand), rangeText(r), video)
                          .arg(facts.length - 1));
            return false;
        }
        return true;
    };

    RightRanges rights;
    for (size_t i = 0; i < chain.steps.size(); ++i)
        if (hasRight(chain.steps[i]))
            rights.add({*chain.steps[i].start, *chain.steps[i].stop}, i);
    rights.prepare();

    std::vector<size_t> withoutLeft; // steps whose Offset is 0
    size_t checkable = 0;
    for (size_t i = 0; i < chain.steps.size(); ++i) {
        const TopicValues& t = chain.steps[i];
        if (!hasRight(t))
            continue;
        const Range right{*t.start, *t.stop};
        const int outsideLine = t.lineOr(right.start < 0 ? t.startLine : t.stopLine);
        if (!checkRange(i, right, "right-handed", t.lineOr(t.stopLine), outsideLine))
            continue; // the left-handed range follows from it, and would repeat the finding
        const int64_t frames = right.stop - right.start + 1;
        if (isSteps && facts.fps > 0 && static_cast<double>(frames) < facts.fps)
            out.warning(QStringLiteral("step-short"), file, t.lineOr(t.stopLine),
                        QStringLiteral("%1 is %2 frames long, less than one second of its video (%3 frames)")
                            .arg(nameOf(i))
                            .arg(frames)
                            .arg(qRound(facts.fps)));
        if (!t.offset)
            continue;
        ++checkable;
        // The tutor's left-handed rule: the range moves by the offset and ends one frame
        // earlier. Sections play it too, after a pattern lesson left the hand on "Tie Left
        // Handed".
        const Range left{right.start + *t.offset, right.stop + *t.offset - 1};
        const int offsetLine = t.lineOr(t.offsetLine);
        if (!checkRange(i, left, "left-handed", offsetLine,
                        t.lineOr(left.start < 0 ? t.startLine : t.stopLine)))
            continue;
        if (*t.offset == 0) {
            withoutLeft.push_back(i);
            continue;
        }
        const RightRanges::Overlaps hits = rights.overlapping(left, i, right);
        if (hits.named.empty())
            continue;
        QStringList named;
        for (const auto& [other, range] : hits.named)
            named << QStringLiteral("%1 %2 (%3)").arg(what).arg(other + 1).arg(rangeText(range));
        const size_t more = hits.count - hits.named.size();
        QString whose;
        if (hits.count == 1)
            whose = QStringLiteral("the right-handed range %1 of %2 %3")
                        .arg(rangeText(hits.named.front().second), what)
                        .arg(hits.named.front().first + 1);
        else if (more == 0)
            whose = QStringLiteral("the right-handed ranges of %1 and %2")
                        .arg(named.mid(0, named.size() - 1).join(QStringLiteral(", ")), named.last());
        else
            whose = QStringLiteral("the right-handed ranges of %1 and %2 more")
                        .arg(named.join(QStringLiteral(", ")))
                        .arg(more);
        out.warning(QStringLiteral("left-overlaps-right"), file, offsetLine,
                    QStringLiteral("%1: its left-handed range %2 runs into %3")
                        .arg(nameOf(i), rangeText(left), whose));
    }

    // Offset 0 is how sections are written; in a pattern it leaves "Tie Left Handed" playing
    // the right-handed take a frame short.
    if (!isSteps || withoutLeft.empty())
        return;
    auto leftOf = [&](size_t i) {
        const TopicValues& t = chain.steps[i];
        return rangeText({*t.start, static_cast<int64_t>(*t.stop) - 1});
    };
    if (withoutLeft.size() == checkable) {
        const size_t first = withoutLeft.front();
        out.warning(
            QStringLiteral("no-left-take"), file, chain.steps[first].lineOr(chain.steps[first].offsetLine),
            QStringLiteral("no step has a left-handed take (Offset is 0 throughout): \"Tie Left Handed\" "
                           "plays each step's right-handed frames but the last, e.g. %1 %2")
                .arg(nameOf(first), leftOf(first)));
        return;
    }
    for (size_t i : withoutLeft)
        out.warning(
            QStringLiteral("no-left-take"), file, chain.steps[i].lineOr(chain.steps[i].offsetLine),
            QStringLiteral("%1: Offset is 0, so \"Tie Left Handed\" plays its right-handed frames but "
                           "the last, %2, where the other steps have a left-handed take")
                .arg(nameOf(i), leftOf(i)));
}

} // namespace hw::check
