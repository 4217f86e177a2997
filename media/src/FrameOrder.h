#pragma once
// Which slot's picture is shown at each frame (a frame is a number in display order, a slot
// one in decode order). Without reordering frame n shows slot n. With B-frames frame n is the
// n-th picture that a straight decode by the library puts out. A background task learns that
// order: first without decoding, from the container's timestamps or the H.264 parser (a pass
// over the file's packets, during which questions about the order wait for it), and where
// that is not sound by decoding the file once from its start. An empty slot shows the
// picture before it.
#include "SlotTable.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hw::media {

class FrameOrder {
public:
    static constexpr int kRepeat = -1;  // the frame shows the picture of the frame before it
    static constexpr int kUnknown = -2; // not learnt yet

    explicit FrameOrder(std::shared_ptr<const SlotTable> table);
    ~FrameOrder(); // stops a running scan

    const SlotTable& slotTable() const { return *slots_; }
    int length() const { return slots_->length; }

    bool reordering() const { return reordering_.load(); }
    // Switches to learnt order and starts the scan over path (once).
    void startScan(const QString& path);
    // Blocks until the scan has learnt the whole order (at once without reordering, or
    // when the scan is stopped).
    void waitForScan() const;

    // Slot shown at frame, kRepeat or kUnknown.
    int slotAt(int frame) const;
    // Frame a slot's picture is shown at, or kUnknown.
    int frameOf(int slot) const;

private:
    void scan(QString path);
    void append(int slot);
    void finishPacketPass(); // wakes the questions waiting for it
    void finishScan();       // fills the frames never put out, wakes waitForScan
    // Waits (with lock held on orderMutex_) while the packet pass runs, at most a few seconds.
    void waitForPacketPass(std::unique_lock<std::mutex>& lock) const;

    std::shared_ptr<const SlotTable> slots_;
    std::atomic<bool> reordering_{false};
    std::atomic<bool> complete_{false};
    std::atomic<bool> stop_{false};
    mutable std::mutex orderMutex_; // guards the order learnt so far and the packet pass
    mutable std::condition_variable packetPassDone_;
    mutable std::condition_variable scanDone_;
    bool packetPass_ = false; // guarded by orderMutex_
    std::vector<int> frameToSlot_;
    std::vector<int> slotToFrame_;
    std::thread scanner_;
};

} // namespace hw::media
