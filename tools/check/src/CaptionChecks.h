#pragma once
// The caption file beside a lesson video: that it reads, that its cues lie within the clip,
// do not overlap, and each stays within the topic it starts in.
#include "Findings.h"
#include "TopicChecks.h"

namespace hw::check {

// path: the caption file found; file: its name as the disc spells it.
void checkCaptions(const QString& path, const QString& file, const ChainFile& chain, const VideoFacts& facts,
                   Findings& out);

} // namespace hw::check
