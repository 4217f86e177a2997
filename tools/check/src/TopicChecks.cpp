#include "TopicChecks.h"

#include "hw/AnsiText.h"
#include "hw/Exception.h"
#include "hw/content/CatalogueText.h"
#include "hw/content/IntegerText.h"

#include <algorithm>

namespace hw::check {
namespace {

// The loader's own ceiling on topics per file.
constexpr int kMostTopics = 10000;

QByteArray topicSection(int n)
{
    return QByteArrayLiteral("Topics ") + QByteArray::number(n);
}

const char* handName(int hand)
{
    return hand == 0 ? "right-handed" : "left-handed";
}

} // namespace

ChainFile readChainFile(const IniFile& ini, const QString& file, const QByteArray& countKey, Findings& out)
{
    ChainFile chain;
    auto integer = [&](const QByteArray& section, const QByteArray& key, bool& ok) -> int32_t {
        try {
            ok = true;
            return strToInt(ini.readString(section, key, QByteArrayLiteral("0")));
        } catch (const Exception& e) {
            ok = false;
            out.error(QStringLiteral("bad-integer"), file, ini.lineOf(section, key), e.message());
            return 0;
        }
    };
    bool ok = false;
    const int32_t count = integer(QByteArrayLiteral("Info"), countKey, ok);
    if (!ok || count > kMostTopics) {
        chain.count = -1; // the loader reports a count beyond its ceiling itself
        return chain;
    }
    chain.count = std::max(0, count);
    for (int n = 1; n <= chain.count; ++n) {
        const QByteArray section = topicSection(n);
        TopicLines lines{ini.sectionLine(section), ini.lineOf(section, QByteArrayLiteral("StartFrame"))};
        if (!lines.head)
            out.error(
                QStringLiteral("topic-missing"), file, ini.lineOf(QByteArrayLiteral("Info"), countKey),
                QStringLiteral("%1 is %2 but there is no [%3] section: topic %4 is \"Unknown\" at frame 0")
                    .arg(ansiToQString(countKey))
                    .arg(count)
                    .arg(ansiToQString(section))
                    .arg(n));
        for (const char* key : {"StartFrame", "StopFrame", "Offset"})
            integer(section, QByteArray(key), ok);
        chain.lines.push_back(lines);
    }
    return chain;
}

void checkChainRanges(const tTopicRecord* chain, const ChainFile& lines, const QString& file,
                      const QString& video, const VideoFacts& facts, bool isSteps, Findings& out)
{
    const QString what = isSteps ? QStringLiteral("step") : QStringLiteral("topic");
    std::vector<const tTopicRecord*> topics;
    for (const tTopicRecord* t = chain; t; t = t->next)
        topics.push_back(t);
    auto lineOf = [&](size_t i) {
        if (i >= lines.lines.size())
            return 0;
        return lines.lines[i].start ? lines.lines[i].start : lines.lines[i].head;
    };
    for (size_t i = 0; i < topics.size(); ++i) {
        const tTopicRecord& t = *topics[i];
        if (i < lines.lines.size() && !lines.lines[i].head)
            continue; // its missing section is reported already
        const QByteArray title = t.title.size() > 40 ? t.title.left(40) + "..." : t.title;
        const QString name = QStringLiteral("%1 %2 \"%3\"").arg(what).arg(i + 1).arg(ansiToQString(title));
        for (int hand = 0; hand < 2; ++hand) {
            // Sections play the left-handed range too, after a pattern lesson left the hand
            // on "Tie Left Handed"; with offset 0 that range ends one frame early.
            const FrameRange r = topicFrames(t, hand);
            if (r.start > r.stop) {
                out.error(QStringLiteral("range-reversed"), file, lineOf(i),
                          QStringLiteral("%1: its %2 range %3..%4 starts after it stops")
                              .arg(name, QLatin1String(handName(hand)))
                              .arg(r.start)
                              .arg(r.stop));
            } else if (r.start < 0 || r.stop >= facts.length) {
                out.error(QStringLiteral("range-outside-video"), file, lineOf(i),
                          QStringLiteral("%1: its %2 range %3..%4 lies outside %5, whose frames are 0..%6")
                              .arg(name, QLatin1String(handName(hand)))
                              .arg(r.start)
                              .arg(r.stop)
                              .arg(video)
                              .arg(facts.length - 1));
            }
        }
        const FrameRange right = topicFrames(t, 0);
        if (isSteps && facts.fps > 0 && right.stop >= right.start
            && double(right.stop - right.start + 1) < facts.fps)
            out.warning(QStringLiteral("step-short"), file, lineOf(i),
                        QStringLiteral("%1 is %2 frames long, less than one second of its video (%3 frames)")
                            .arg(name)
                            .arg(right.stop - right.start + 1)
                            .arg(qRound(facts.fps)));
        if (t.offset == 0)
            continue;
        const FrameRange left = topicFrames(t, 1);
        for (size_t j = 0; j < topics.size(); ++j) {
            if (j == i)
                continue;
            const FrameRange other = topicFrames(*topics[j], 0);
            if (left.start <= other.stop && other.start <= left.stop && left.start <= left.stop
                && other.start <= other.stop)
                out.warning(
                    QStringLiteral("left-overlaps-right"), file, lineOf(i),
                    QStringLiteral("%1: its left-handed range %2..%3 runs into the right-handed range "
                                   "%4..%5 of %6 %7")
                        .arg(name)
                        .arg(left.start)
                        .arg(left.stop)
                        .arg(other.start)
                        .arg(other.stop)
                        .arg(what)
                        .arg(j + 1));
        }
    }
}

} // namespace hw::check
