#pragma once
// A topic chain file (a pattern's steps or a section's topics) read value by value as the
// loader reads it, and the frame ranges of its topics against their video.
#include "Findings.h"

#include "hw/content/IniFile.h"

#include <optional>
#include <vector>

namespace hw::check {

// One topic as the file gives it. A value is empty when it breaks the integer rule (and is
// reported); a missing key is the loader's default, 0. Lines are 0 where the key is missing.
struct TopicValues {
    QByteArray title;
    std::optional<int32_t> start, stop, offset;
    int head = 0; // the [Topics N] line, 0 when the section is missing
    int startLine = 0, stopLine = 0, offsetLine = 0;

    // The line to name for a finding about one of the values: its own, else the head's.
    int lineOr(int keyLine) const { return keyLine ? keyLine : head; }
};

struct ChainFile {
    int count = 0;                  // topics the loader reads; -1 when the count is bad
    std::vector<TopicValues> steps; // N = 1 ... count
};

// Reads the count and every topic's values with the tutor's rule and reports each value
// that breaks it (all of them, where the tutor stops at the first), and each [Topics N]
// the count asks for that is missing.
ChainFile readChainFile(const IniFile& ini, const QString& file, const QByteArray& countKey, Findings& out);

struct VideoFacts {
    int length = 0; // frames, as the clip device counts them
    double fps = 0; // 0 when unknown
};

// Each topic's range, in either hand, against the video; left-handed ranges running into
// another topic's right-handed range; for steps (isSteps), those shorter than a second and
// those without a left-handed take. A finding names the line of the value at fault; a range
// that depends on a bad value is not checked.
void checkChainRanges(const ChainFile& chain, const QString& file, const QString& video,
                      const VideoFacts& facts, bool isSteps, Findings& out);

} // namespace hw::check
