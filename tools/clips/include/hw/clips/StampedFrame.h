#pragma once
// A test picture for frame n: moving content (so that inter-frame codecs have real work),
// the frame number in large digits, and the machine-readable stamp along the bottom.
#include <QImage>
#include <QSize>

#include <cstdint>

namespace hw {

QImage makeStampedFrame(const QSize& size, int32_t frame);

} // namespace hw
