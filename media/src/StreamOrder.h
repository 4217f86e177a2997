#pragma once
// The order in which a straight decode puts out a stream's pictures, learnt without
// decoding them: from the container's presentation timestamps where they are complete
// (MP4, Matroska), or for H.264 from the picture order counts that libavcodec's parser
// reads from the slice headers (AVI). Empty when neither is sound for the file; the caller
// then decodes the file to learn the order.
#include "SlotTable.h"

#include <QString>

#include <atomic>
#include <vector>

namespace hw::media {

// The non-empty slots in output order. stop ends the work early (the result is empty).
std::vector<int> learnOutputOrder(const QString& path, const SlotTable& table, const std::atomic<bool>& stop);

} // namespace hw::media
