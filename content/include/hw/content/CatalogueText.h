#pragma once
// The catalogue as plain text, for content authors checking a lesson library.
#include "hw/content/Catalogue.h"

#include <QString>
#include <vector>

namespace hw {

// Every pattern (display name, base name, picture size, steps with their right- and
// left-handed frame ranges, materials) and every topic of the two sections.
QString describeCatalogue(const Catalogue& catalogue);
// One line per error: the file, then the message as the user sees it.
QString describeErrors(const std::vector<CatalogueError>& errors);

// The frames a topic plays for a hand (0 right, 1 left): start + k * offset through
// stop + k * (offset - 1), in 64 bits so that no sum overflows.
struct FrameRange {
    int64_t start = 0;
    int64_t stop = 0;
};
FrameRange topicFrames(const tTopicRecord& topic, int hand);

} // namespace hw
