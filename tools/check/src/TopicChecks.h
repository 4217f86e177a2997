#pragma once
// A topic chain file (a pattern's steps or a section's topics) read value by value as the
// loader reads it, and the frame ranges of its topics against their video.
#include "Findings.h"

#include "hw/content/Catalogue.h"
#include "hw/content/IniFile.h"

#include <vector>

namespace hw::check {

struct TopicLines {
    int head = 0;  // the [Topics N] line, 0 when the section is missing
    int start = 0; // the StartFrame line, 0 when it is missing
};

struct ChainFile {
    int count = 0;                 // topics the loader reads; -1 when the count is bad
    std::vector<TopicLines> lines; // per topic, N = 1 ... count
};

// Reads the count and every topic's integers with the tutor's rule and reports each value
// that breaks it (all of them, where the tutor stops at the first), and each [Topics N]
// the count asks for that is missing.
ChainFile readChainFile(const IniFile& ini, const QString& file, const QByteArray& countKey, Findings& out);

struct VideoFacts {
    int length = 0; // frames, as the clip device counts them
    double fps = 0; // 0 when unknown
};

// Each topic's range, in either hand, against the video; left-handed ranges running into
// another topic's right-handed range; steps shorter than a second (when isSteps).
void checkChainRanges(const tTopicRecord* chain, const ChainFile& lines, const QString& file,
                      const QString& video, const VideoFacts& facts, bool isSteps, Findings& out);

} // namespace hw::check
