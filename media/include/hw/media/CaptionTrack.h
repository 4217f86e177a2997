#pragma once
// The captions of a lesson video: timed cues from a caption file beside it (SubRip `.srt` or
// WebVTT `.vtt`), read through FFmpeg's subtitle demuxers and decoders. Cue times are on the
// clip's timeline.
#include <QString>

#include <cstdint>
#include <vector>

namespace hw {

struct CaptionCue {
    int64_t startMs = 0;
    int64_t endMs = 0; // after the last moment it is shown
    QString text;      // plain text, lines separated by '\n'
};

class CaptionTrack {
public:
    // Reads a caption file, chosen by its extension (any case). Throws EContentError naming
    // the file when it cannot be read or holds no cue.
    static CaptionTrack read(const QString& path);

    const std::vector<CaptionCue>& cues() const { return cues_; }
    // What is shown at ms: the text of every cue that covers it, one under the other; empty
    // when none does.
    QString textAt(int64_t ms) const;

private:
    std::vector<CaptionCue> cues_; // by start time
};

// The caption file of a video: NAME.srt, else NAME.vtt, in the video's folder, found without
// regard to case; empty when there is none.
QString findCaptionFile(const QString& videoPath);

} // namespace hw
