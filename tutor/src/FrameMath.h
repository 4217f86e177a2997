#pragma once
// Frame arithmetic on 32-bit content values without overflow: computed in 64 bits and
// brought back into the device's 32-bit range, where a frame the clip does not have is the
// device's to reject.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace hw {

inline int32_t clampFrame(int64_t frame)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(frame, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// First frame of a topic in hand k (0 right, 1 left): start + k * offset.
inline int32_t handedStart(int32_t start, int k, int32_t offset)
{
    return clampFrame(int64_t{start} + int64_t{k} * offset);
}

// Last frame of a topic in hand k: stop + k * (offset - 1).
inline int32_t handedStop(int32_t stop, int k, int32_t offset)
{
    return clampFrame(int64_t{stop} + int64_t{k} * (int64_t{offset} - 1));
}

} // namespace hw
