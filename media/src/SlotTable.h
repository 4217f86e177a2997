#pragma once
// The frame slots of a video stream in decode order, from the container's index: which
// slots hold a packet, which of them are keyframes, and how to find a slot again from a
// demuxed packet. In an AVI every chunk is a slot and an empty chunk (a dropped frame) is a
// slot without a packet that repeats the picture before it.
#include "hw/Narrow.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hw::media {

struct SlotTable {
    int length = 0;                 // number of slots: the clip's Length in frames
    std::vector<int64_t> timestamp; // per slot: the packet's timestamp, or kEmpty
    std::vector<int> keyframes;     // slots that start a decode, ascending
    bool timestampIsSlot = false;   // AVI: a packet's dts is its slot number
    // Containers that give no decode timestamps (Matroska, whose made-up ones change after a
    // seek) are found by the packets' byte positions, which ascend in decode order;
    // timestamp then holds each packet's presentation timestamp, for seeking.
    std::vector<int64_t> position; // per slot, when not empty

    static constexpr int64_t kEmpty = INT64_MIN;
    // Slots are counted in int (frame numbers are); a table never grows past this.
    static constexpr int kMostSlots = INT32_MAX - 1;

    // slot and gop are inside the table: the callers index what they were handed by it.
    bool empty(int slot) const { return stampOf(slot) == kEmpty; }
    int64_t stampOf(int slot) const { return timestamp[static_cast<size_t>(slot)]; }
    int keyframe(int gop) const { return keyframes[static_cast<size_t>(gop)]; }
    int gops() const { return intSize(keyframes); }
    // The slot a decoded frame carries in its pts (VideoInput::readPacket puts it there), or
    // -1: no pts, or one that names no slot and must not be cut down into one that does.
    int carriedSlot(int64_t pts) const { return pts >= 0 && pts < length ? static_cast<int>(pts) : -1; }
    // The slot of a demuxed packet's dts, or -1 when it matches none.
    int slotOfDts(int64_t dts) const;
    // The slot of a demuxed packet by its dts or, for a table keyed by position, its byte
    // position; -1 when it matches none. noTimestamp is the library's "no value" mark.
    int slotOfPacket(int64_t dts, int64_t pos, int64_t noTimestamp) const;
    // Index in keyframes of the last keyframe at or before slot, or -1.
    int gopOf(int slot) const;
    // First slot after the GOP that begins at keyframes[gop].
    int gopEnd(int gop) const;
};

} // namespace hw::media
