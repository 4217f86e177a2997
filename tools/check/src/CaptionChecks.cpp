#include "CaptionChecks.h"

#include "hw/AnsiText.h"
#include "hw/Exception.h"
#include "hw/media/CaptionTrack.h"

#include <QStringList>

#include <cmath>

namespace hw::check {

namespace {

QString timeText(int64_t ms)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000)
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString cueName(size_t index, const CaptionCue& cue)
{
    return QStringLiteral("cue %1 (%2 --> %3)")
        .arg(index + 1)
        .arg(timeText(cue.startMs), timeText(cue.endMs));
}

// The frame shown at ms, and the last frame a cue ending at ms covers. A clip's rate is at
// most 240 frames a second, so a frame number is smaller than its time in ms.
int64_t frameAt(int64_t ms, double fps)
{
    return static_cast<int64_t>(std::floor(static_cast<double>(ms) * fps / 1000.0));
}
int64_t lastFrameBefore(int64_t ms, double fps)
{
    return static_cast<int64_t>(std::ceil(static_cast<double>(ms) * fps / 1000.0)) - 1;
}

} // namespace

void checkCaptions(const QString& path, const QString& file, const ChainFile& chain, const VideoFacts& facts,
                   Findings& out)
{
    CaptionTrack track;
    try {
        track = CaptionTrack::read(path);
    } catch (const Exception& e) {
        out.error(QStringLiteral("captions-unreadable"), file, 0, e.message());
        return;
    }
    const auto& cues = track.cues();
    const int64_t clipMs
        = facts.fps > 0 ? static_cast<int64_t>(std::llround(facts.length * 1000.0 / facts.fps)) : 0;
    for (size_t i = 0; i < cues.size(); ++i) {
        const CaptionCue& cue = cues[i];
        if (clipMs > 0 && cue.endMs > clipMs)
            out.error(QStringLiteral("caption-past-end"), file, 0,
                      QStringLiteral("%1 ends after the video, which lasts %2")
                          .arg(cueName(i, cue), timeText(clipMs)));
        if (i > 0 && cue.startMs < cues[i - 1].endMs)
            out.warning(QStringLiteral("captions-overlap"), file, 0,
                        QStringLiteral("%1 starts before cue %2 has ended").arg(cueName(i, cue)).arg(i));
        if (facts.fps <= 0)
            continue;
        // The topic its first frame lies in, in either hand; it should end there too.
        const int64_t first = frameAt(cue.startMs, facts.fps);
        const int64_t last = lastFrameBefore(cue.endMs, facts.fps);
        for (const TopicValues& t : chain.steps) {
            if (!t.start || !t.stop || !t.offset)
                continue; // a bad value, reported with the topic
            bool crossed = false;
            for (int hand = 0; hand < 2 && !crossed; ++hand) {
                const int64_t start = int64_t{*t.start} + hand * int64_t{*t.offset};
                const int64_t stop = int64_t{*t.stop} + hand * (int64_t{*t.offset} - 1);
                if (first >= start && first <= stop && last > stop) {
                    out.warning(QStringLiteral("caption-crosses-topic"), file, 0,
                                QStringLiteral("%1 runs on past the end of \"%2\" (frame %3)")
                                    .arg(cueName(i, cue), ansiToQString(t.title))
                                    .arg(stop));
                    crossed = true;
                }
            }
            if (crossed)
                break;
        }
    }
}

} // namespace hw::check
