#include "SlotTable.h"

#include <algorithm>

namespace hw::media {

int SlotTable::slotOfDts(int64_t dts) const
{
    if (timestampIsSlot)
        return dts >= 0 && dts < length && !empty(static_cast<int>(dts)) ? static_cast<int>(dts) : -1;
    // Timestamps of the non-empty slots ascend; the empty ones are skipped by the search.
    int lo = 0, hi = length - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int probe = mid;
        while (probe <= hi && empty(probe))
            ++probe;
        if (probe > hi) {
            hi = mid - 1;
            continue;
        }
        if (stampOf(probe) == dts)
            return probe;
        if (stampOf(probe) < dts)
            lo = probe + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

int SlotTable::slotOfPacket(int64_t dts, int64_t pos, int64_t noTimestamp) const
{
    if (!position.empty()) {
        const auto it = std::lower_bound(position.begin(), position.end(), pos);
        return it != position.end() && *it == pos && pos >= 0 ? static_cast<int>(it - position.begin()) : -1;
    }
    return dts != noTimestamp ? slotOfDts(dts) : -1;
}

int SlotTable::gopOf(int slot) const
{
    auto it = std::upper_bound(keyframes.begin(), keyframes.end(), slot);
    return static_cast<int>(it - keyframes.begin()) - 1;
}

int SlotTable::gopEnd(int gop) const
{
    return gop + 1 < gops() ? keyframe(gop + 1) : length;
}

} // namespace hw::media
