#include "FrameOrder.h"

#include "VideoInput.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace hw::media {

FrameOrder::FrameOrder(std::shared_ptr<const SlotTable> table) : slots_(std::move(table)) {}

FrameOrder::~FrameOrder()
{
    stop_ = true;
    if (scanner_.joinable())
        scanner_.join();
}

void FrameOrder::startScan(const QString& path)
{
    if (reordering_.exchange(true))
        return;
    {
        std::lock_guard lock(m_);
        slotToRank_.assign(size_t(slots_->length), kUnknown);
        rankToSlot_.reserve(size_t(slots_->length));
    }
    scanner_ = std::thread([this, path] { scan(path); });
}

int FrameOrder::slotAt(int rank) const
{
    if (rank < 0 || rank >= slots_->length)
        return kUnknown;
    if (!reordering_)
        return slots_->empty(rank) ? kRepeat : rank;
    std::lock_guard lock(m_);
    return rank < int(rankToSlot_.size()) ? rankToSlot_[size_t(rank)] : kUnknown;
}

int FrameOrder::rankOf(int slot) const
{
    if (slot < 0 || slot >= slots_->length)
        return kUnknown;
    if (!reordering_)
        return slot;
    std::lock_guard lock(m_);
    return slotToRank_[size_t(slot)];
}

void FrameOrder::append(int slot)
{
    std::lock_guard lock(m_);
    if (int(rankToSlot_.size()) >= slots_->length)
        return;
    if (slot >= 0 && slot < slots_->length && slotToRank_[size_t(slot)] == kUnknown) {
        slotToRank_[size_t(slot)] = int(rankToSlot_.size());
        rankToSlot_.push_back(slot);
    } else {
        rankToSlot_.push_back(kRepeat); // an output the slot table cannot name
    }
    // Dropped-frame slots follow the picture they repeat.
    for (int s = slot + 1; slot >= 0 && s < slots_->length && slots_->empty(s)
         && int(rankToSlot_.size()) < slots_->length; ++s) {
        slotToRank_[size_t(s)] = int(rankToSlot_.size());
        rankToSlot_.push_back(kRepeat);
    }
}

void FrameOrder::scan(QString path)
{
    uint32_t error = 0;
    // One thread and no loop filter: the scan needs the order of the pictures, not their looks.
    auto in = VideoInput::open(path, DecoderTuning{1, true}, error, slots_);
    if (in && in->seekToKeyframe(0)) {
        AVPacket* pkt = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&] {
            while (in->receive(frame) >= 0) {
                append(frame->pts == AV_NOPTS_VALUE ? -1 : int(frame->pts));
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
        av_frame_free(&frame);
        av_packet_free(&pkt);
    }
    if (stop_)
        return;
    // Slots the decoder never put out (damaged data) repeat the last picture.
    std::lock_guard lock(m_);
    while (int(rankToSlot_.size()) < slots_->length)
        rankToSlot_.push_back(kRepeat);
    complete_ = true;
}

} // namespace hw::media
