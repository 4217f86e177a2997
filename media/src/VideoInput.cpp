#include "VideoInput.h"

#include "DeviceError.h"
#include "hw/media/LibavLog.h"
#include "hw/media/LocalMedia.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace hw::media {

std::unique_ptr<VideoInput> VideoInput::open(const QString& path, const DecoderTuning& tuning,
                                             uint32_t& error, std::shared_ptr<const SlotTable> known)
{
    std::unique_ptr<VideoInput> in(new VideoInput);
    routeLibavLog();
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        error = kFileNotFound;
        return nullptr;
    }
    const LocalOpen opened = openLocalMedia(in->fmt_, path);
    if (opened != LocalOpen::Opened) {
        error = opened == LocalOpen::NotLocalMedia ? kNotLocalMedia : kUnreadable;
        return nullptr;
    }
    int stream = -1;
    for (unsigned i = 0; i < in->fmt_->nb_streams; ++i) {
        const AVStream* st = in->fmt_->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
            && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            stream = st->index;
            break;
        }
    }
    if (stream < 0) {
        // Streams that only a probe can tell apart (some raw formats): ask the library.
        if (avformat_find_stream_info(in->fmt_.get(), nullptr) >= 0)
            stream = av_find_best_stream(in->fmt_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (stream < 0) {
            error = kNotAVideo;
            return nullptr;
        }
    }
    in->stream_ = stream;
    AVStream* st = in->fmt_->streams[stream];
    const AVCodecDescriptor* desc = avcodec_descriptor_get(st->codecpar->codec_id);
    in->mayReorder_ = desc && (desc->props & AV_CODEC_PROP_REORDER);
    in->canSkipNonRef_ = st->codecpar->codec_id == AV_CODEC_ID_H264;
    // The AVI header names the codec and the picture size; only an incomplete header needs
    // the library's probe, which decodes frames.
    if (st->codecpar->width <= 0 || st->codecpar->height <= 0 || st->codecpar->codec_id == AV_CODEC_ID_NONE)
        avformat_find_stream_info(in->fmt_.get(), nullptr);
    for (unsigned i = 0; i < in->fmt_->nb_streams; ++i)
        in->fmt_->streams[i]->discard
            = in->fmt_->streams[i]->index == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) {
        error = kNoDecoder;
        return nullptr;
    }
    in->dec_.reset(avcodec_alloc_context3(codec));
    if (!in->dec_ || avcodec_parameters_to_context(in->dec_.get(), st->codecpar) < 0) {
        error = kNoDecoder;
        return nullptr;
    }
    in->dec_->thread_count = tuning.threads;
    if (tuning.fastButInexact) {
        in->dec_->skip_loop_filter = AVDISCARD_ALL;
        in->dec_->flags2 |= AV_CODEC_FLAG2_FAST;
    }
    in->dec_->pkt_timebase = st->time_base;
    if (avcodec_open2(in->dec_.get(), codec, nullptr) < 0) {
        error = kNoDecoder;
        return nullptr;
    }

    AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = av_inv_q(st->time_base);
    in->fps_ = std::clamp(av_q2d(rate), 1.0, 240.0);
    // The container's word on the pixels' shape stands; without it the coded pictures tell.
    in->aspectFromContainer_ = st->sample_aspect_ratio.num > 0 && st->sample_aspect_ratio.den > 0;
    in->notePixelAspect(in->aspectFromContainer_ ? st->sample_aspect_ratio
                                                 : st->codecpar->sample_aspect_ratio);
    size_t matrixBytes = 0;
    const uint8_t* matrix = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &matrixBytes);
    if (matrix && matrixBytes >= 9 * sizeof(int32_t))
        in->turn_ = PictureTurn::fromDisplayMatrix(reinterpret_cast<const int32_t*>(matrix));
    if (known)
        in->slots_ = std::move(known);
    else if (!in->buildSlots(error))
        return nullptr;
    return in;
}

namespace {
// Whether the index's timestamps ascend strictly, as decode times do (the slots are found
// again by them).
bool indexAscends(AVStream* st, int entries)
{
    int64_t before = INT64_MIN;
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st, i);
        if (e->size <= 0)
            continue;
        if (e->timestamp <= before)
            return false;
        before = e->timestamp;
    }
    return true;
}
} // namespace

bool VideoInput::buildSlots(uint32_t& error)
{
    AVStream* st = fmt_->streams[stream_];
    auto table = std::make_shared<SlotTable>();
    const bool avi = QByteArray(fmt_->iformat->name).split(',').contains("avi");
    const int entries = avformat_index_get_entries_count(st);
    // An entry whose packet lies past the file's end is a damaged index's claim: each
    // costs memory here, and none is a frame.
    const int64_t fileBytes = fmt_->pb ? avio_size(fmt_->pb) : -1;
    int pastTheEnd = 0;
    const auto inFile = [&](const AVIndexEntry* e) {
        const bool inside = fileBytes <= 0 || (e->pos >= 0 && e->pos + e->size <= fileBytes);
        pastTheEnd += inside ? 0 : 1;
        return inside;
    };
    // Matroska stores no decode times: libavformat makes them up from the presentation
    // times, differently after a seek, and its index holds presentation times (out of
    // order with B-frames). Its packets are found again by their byte positions.
    const bool madeUpDts = QByteArray(fmt_->iformat->name).split(',').contains("matroska");
    // Outside AVI the index may hold the keyframes alone (Matroska's cues): only a frame
    // count from the headers tells that it is whole.
    const bool indexComplete = entries > 0 && !madeUpDts
        && (avi || (st->nb_frames > 0 && entries >= st->nb_frames && indexAscends(st, entries)));
    if (indexComplete) {
        table->timestampIsSlot = avi;
        if (avi) {
            // Index timestamps count chunks; an empty chunk is a gap in them.
            const AVIndexEntry* last = avformat_index_get_entry(st, entries - 1);
            // Every slot takes at least a chunk header (8 bytes) in the file: a damaged header
            // or index that claims more is not believed, for each slot costs memory here.
            const int64_t most
                = std::min<int64_t>(std::max<int64_t>(entries, fileBytes / 8), SlotTable::kMostSlots);
            table->length = static_cast<int>(
                std::clamp<int64_t>(std::max<int64_t>(last->timestamp + 1, st->nb_frames), 1, most));
            table->timestamp.assign(static_cast<size_t>(table->length), SlotTable::kEmpty);
            for (int i = 0; i < entries; ++i) {
                const AVIndexEntry* e = avformat_index_get_entry(st, i);
                if (e->timestamp < 0 || e->timestamp >= table->length || e->size <= 0 || !inFile(e))
                    continue;
                table->timestamp[static_cast<size_t>(e->timestamp)] = e->timestamp;
                if (e->flags & AVINDEX_KEYFRAME)
                    table->keyframes.push_back(static_cast<int>(e->timestamp));
            }
        } else {
            for (int i = 0; i < entries; ++i) {
                const AVIndexEntry* e = avformat_index_get_entry(st, i);
                if (e->size <= 0 || !inFile(e))
                    continue;
                if (e->flags & AVINDEX_KEYFRAME)
                    table->keyframes.push_back(intSize(table->timestamp));
                table->timestamp.push_back(e->timestamp);
            }
            table->length = intSize(table->timestamp);
        }
        if (pastTheEnd > 0)
            qCWarning(lcMediaFile, "%s: %d of the %d index entries point past the end of the file; left out",
                      fmt_->url, pastTheEnd, entries);
    } else {
        // No usable index: walk the packets once (demuxing only, no decoding).
        const LibavPtr<AVPacket> packet(av_packet_alloc());
        AVPacket* pkt = packet.get();
        std::vector<int64_t> pts;
        bool dtsKnown = true;
        // A stream of more packets than slots can be numbered is cut there rather than
        // numbered around.
        while (intSize(table->timestamp) < SlotTable::kMostSlots && av_read_frame(fmt_.get(), pkt) >= 0) {
            if (pkt->stream_index == stream_ && pkt->size > 0
                && (pkt->dts != AV_NOPTS_VALUE || pkt->pts != AV_NOPTS_VALUE)) {
                if (pkt->flags & AV_PKT_FLAG_KEY)
                    table->keyframes.push_back(intSize(table->timestamp));
                dtsKnown = dtsKnown && !madeUpDts && pkt->dts != AV_NOPTS_VALUE
                    && (table->timestamp.empty() || pkt->dts > table->timestamp.back());
                table->timestamp.push_back(pkt->dts);
                table->position.push_back(pkt->pos);
                pts.push_back(pkt->pts);
            }
            av_packet_unref(pkt);
        }
        if (dtsKnown) {
            table->position.clear();
        } else if (std::adjacent_find(table->position.begin(), table->position.end(),
                                      [](int64_t a, int64_t b) { return a < 0 || b <= a; })
                   != table->position.end()) {
            table->timestamp.clear(); // packets that share a position cannot be told apart
            table->position.clear();
        } else {
            table->timestamp = std::move(pts);
        }
        table->length = intSize(table->timestamp);
        av_seek_frame(fmt_.get(), stream_, INT64_MIN, AVSEEK_FLAG_BACKWARD);
    }
    // A stream always starts decoding at its first packet, flagged or not.
    if (table->length > 0) {
        int first = 0;
        while (first < table->length && table->empty(first))
            ++first;
        if (first < table->length && (table->keyframes.empty() || table->keyframes.front() != first))
            table->keyframes.insert(table->keyframes.begin(), first);
    }
    std::sort(table->keyframes.begin(), table->keyframes.end());
    if (table->length <= 0 || table->keyframes.empty()) {
        error = table->length <= 0 ? kNotAVideo : kUnsupportedFormat;
        return false;
    }
    slots_ = std::move(table);
    return true;
}

bool VideoInput::notePixelAspect(AVRational sar)
{
    if (sar.num <= 0 || sar.den <= 0)
        return false;
    const double aspect = std::clamp(av_q2d(sar), 0.25, 4.0);
    if (aspect == pixelAspect_)
        return false;
    pixelAspect_ = aspect;
    return true;
}

bool VideoInput::learnShape(const AVFrame* picture)
{
    bool changed = !aspectFromContainer_ && notePixelAspect(picture->sample_aspect_ratio);
    // The message may come with the keyframes alone: the last one heard stays.
    const AVFrameSideData* matrix = av_frame_get_side_data(picture, AV_FRAME_DATA_DISPLAYMATRIX);
    if (matrix && matrix->size >= 9 * sizeof(int32_t)) {
        const PictureTurn turn
            = PictureTurn::fromDisplayMatrix(reinterpret_cast<const int32_t*>(matrix->data));
        changed = changed || !(turn == turn_);
        turn_ = turn;
    }
    return changed;
}

QSize VideoInput::codedSize() const
{
    return QSize(std::max(1, dec_->width > 0 ? dec_->width : fmt_->streams[stream_]->codecpar->width),
                 std::max(1, dec_->height > 0 ? dec_->height : fmt_->streams[stream_]->codecpar->height));
}

QSize VideoInput::frameSize() const
{
    const QSize coded = codedSize();
    return turn_.turned(
        QSize(std::max(1, static_cast<int>(std::lround(coded.width() * pixelAspect_))), coded.height()));
}

int VideoInput::decoderDelay() const
{
    return dec_->has_b_frames;
}

bool VideoInput::seekToKeyframe(int slot)
{
    avcodec_flush_buffers(dec_.get());
    const SlotTable& t = *slots_;
    if (slot <= t.keyframes.front())
        return av_seek_frame(fmt_.get(), stream_, t.stampOf(t.keyframes.front()), AVSEEK_FLAG_BACKWARD) >= 0
            || av_seek_frame(fmt_.get(), stream_, 0, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) >= 0;
    // The timestamp is the keyframe's own. MP4 seeks by presentation time, so "at or
    // before" its decode time lands a whole GOP early there; "at or after" lands on it (and
    // a container that lands later is caught by the engine, which starts a GOP earlier).
    const int flags = t.timestampIsSlot ? AVSEEK_FLAG_BACKWARD : 0;
    return av_seek_frame(fmt_.get(), stream_, t.stampOf(slot), flags) >= 0;
}

int VideoInput::readPacket(AVPacket* packet)
{
    for (;;) {
        const int rc = av_read_frame(fmt_.get(), packet);
        if (rc == AVERROR_EOF)
            return -2;
        if (rc < 0)
            return rc == AVERROR(EAGAIN) ? -1 : -3;
        if (packet->stream_index != stream_ || packet->size <= 0) {
            av_packet_unref(packet);
            continue;
        }
        const int slot = slots_->slotOfPacket(packet->dts, packet->pos, AV_NOPTS_VALUE);
        // The slot rides through the decoder in pts and comes out on the frame it made.
        packet->pts = slot >= 0 ? slot : AV_NOPTS_VALUE;
        packet->dts = AV_NOPTS_VALUE;
        return slot;
    }
}

int VideoInput::send(const AVPacket* packet)
{
    return avcodec_send_packet(dec_.get(), packet);
}
int VideoInput::receive(AVFrame* frame)
{
    return avcodec_receive_frame(dec_.get(), frame);
}

void VideoInput::skipNonReference(bool skip)
{
    if (canSkipNonRef_)
        dec_->skip_frame = skip ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
}

} // namespace hw::media
