#include "FrameOrder.h"
#include "hw/Narrow.h"
#include "hw/media/LibavHandles.h"

#include "StreamOrder.h"
#include "VideoInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace hw::media {

FrameOrder::FrameOrder(std::shared_ptr<const SlotTable> table)
    : slots_(std::move(table))
{ }

namespace {
// Longer than a pass over the packets of any lesson video takes; past it the decoder goes
// on with its own numbering rather than keep a caller waiting.
constexpr auto kLongestPacketPass = std::chrono::seconds(5);
} // namespace

FrameOrder::~FrameOrder()
{
    {
        std::lock_guard lock(orderMutex_);
        stop_ = true;
    }
    scanDone_.notify_all();
    finishPacketPass();
    if (scanner_.joinable())
        scanner_.join();
}

void FrameOrder::startScan(const QString& path)
{
    if (reordering_.exchange(true))
        return;
    {
        std::lock_guard lock(orderMutex_);
        slotToFrame_.assign(static_cast<size_t>(slots_->length), kUnknown);
        frameToSlot_.reserve(static_cast<size_t>(slots_->length));
        packetPass_ = true;
    }
    scanner_ = std::thread([this, path] { scan(path); });
}

int FrameOrder::slotAt(int frame) const
{
    if (frame < 0 || frame >= slots_->length)
        return kUnknown;
    if (!reordering_)
        return slots_->empty(frame) ? kRepeat : frame;
    std::unique_lock lock(orderMutex_);
    waitForPacketPass(lock);
    return std::cmp_less(frame, frameToSlot_.size()) ? frameToSlot_[static_cast<size_t>(frame)] : kUnknown;
}

int FrameOrder::frameOf(int slot) const
{
    if (slot < 0 || slot >= slots_->length)
        return kUnknown;
    if (!reordering_)
        return slot;
    std::unique_lock lock(orderMutex_);
    waitForPacketPass(lock);
    return slotToFrame_[static_cast<size_t>(slot)];
}

void FrameOrder::append(int slot)
{
    std::lock_guard lock(orderMutex_);
    // frameToSlot_ never holds more than the table's slots, so its size is a frame number.
    if (intSize(frameToSlot_) >= slots_->length)
        return;
    if (slot >= 0 && slot < slots_->length && slotToFrame_[static_cast<size_t>(slot)] == kUnknown) {
        slotToFrame_[static_cast<size_t>(slot)] = intSize(frameToSlot_);
        frameToSlot_.push_back(slot);
    } else {
        frameToSlot_.push_back(kRepeat); // an output the slot table cannot name
    }
    // Dropped-frame slots follow the picture they repeat.
    for (int s = slot + 1;
         slot >= 0 && s < slots_->length && slots_->empty(s) && intSize(frameToSlot_) < slots_->length; ++s) {
        slotToFrame_[static_cast<size_t>(s)] = intSize(frameToSlot_);
        frameToSlot_.push_back(kRepeat);
    }
}

void FrameOrder::waitForPacketPass(std::unique_lock<std::mutex>& lock) const
{
    if (packetPass_)
        packetPassDone_.wait_for(lock, kLongestPacketPass, [this] { return !packetPass_; });
}

void FrameOrder::finishPacketPass()
{
    {
        std::lock_guard lock(orderMutex_);
        packetPass_ = false;
    }
    packetPassDone_.notify_all();
}

void FrameOrder::scan(QString path)
{
    const std::vector<int> order = learnOutputOrder(path, *slots_, stop_);
    if (!order.empty()) {
        for (int slot : order)
            append(slot);
        finishScan();
        finishPacketPass();
        return;
    }
    finishPacketPass();
    uint32_t error = 0;
    // One thread and no loop filter: the scan needs the order of the pictures, not their looks.
    auto in = VideoInput::open(path, DecoderTuning{1, true}, error, slots_);
    if (in && in->seekToKeyframe(0)) {
        const LibavPtr<AVPacket> packet(av_packet_alloc());
        const LibavPtr<AVFrame> decoded(av_frame_alloc());
        AVPacket* pkt = packet.get();
        AVFrame* frame = decoded.get();
        auto drain = [&] {
            while (in->receive(frame) >= 0) {
                append(slots_->carriedSlot(frame->pts));
                av_frame_unref(frame);
            }
        };
        while (!stop_) {
            const int slot = in->readPacket(pkt);
            if (slot == -2 || slot == -3)
                break;
            in->send(pkt);
            av_packet_unref(pkt);
            drain();
        }
        if (!stop_) {
            in->send(nullptr);
            drain();
        }
    }
    if (stop_)
        return;
    finishScan();
}

void FrameOrder::finishScan()
{
    {
        // Slots the decoder never put out (damaged data) repeat the last picture.
        std::lock_guard lock(orderMutex_);
        while (intSize(frameToSlot_) < slots_->length)
            frameToSlot_.push_back(kRepeat);
        complete_ = true;
    }
    scanDone_.notify_all();
}

void FrameOrder::waitForScan() const
{
    if (!reordering_)
        return;
    std::unique_lock lock(orderMutex_);
    scanDone_.wait(lock, [this] { return complete_.load() || stop_.load(); });
}

} // namespace hw::media
