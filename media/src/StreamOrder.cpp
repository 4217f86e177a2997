#include "StreamOrder.h"
#include "hw/media/LibavHandles.h"

#include "hw/media/LocalMedia.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <memory>
#include <set>

namespace hw::media {
namespace {

// One picture as the demuxer hands it over, in decode order.
struct Picture {
    int slot = -1;
    int64_t pts = AV_NOPTS_VALUE;
    int64_t period = 0; // H.264: pictures since the last IDR picture share one
    int64_t poc = 0;
};

// Whether an H.264 access unit holds an IDR slice (NAL type 5). lengthSize is the size of
// the NAL length fields of a stream stored as in MP4 ("avcC"), 0 for start codes.
bool holdsIdrSlice(const uint8_t* data, int size, int lengthSize)
{
    int at = 0;
    while (at < size) {
        int nal = -1, next = size;
        if (lengthSize > 0) {
            if (at + lengthSize > size)
                return false;
            int64_t length = 0;
            for (int i = 0; i < lengthSize; ++i)
                length = length << 8 | data[at + i];
            nal = at + lengthSize;
            next = static_cast<int>(std::min<int64_t>(size, nal + length));
        } else {
            // The next start code (00 00 01) and the one after it.
            int sc = at;
            while (sc + 2 < size && !(data[sc] == 0 && data[sc + 1] == 0 && data[sc + 2] == 1))
                ++sc;
            if (sc + 3 >= size)
                return false;
            nal = sc + 3;
            next = nal;
            while (next + 2 < size && !(data[next] == 0 && data[next + 1] == 0 && data[next + 2] == 1))
                ++next;
            if (next + 2 >= size)
                next = size;
        }
        if (nal < size && (data[nal] & 0x1F) == 5)
            return true;
        if (next <= at)
            return false;
        at = next;
    }
    return false;
}

} // namespace

std::vector<int> learnOutputOrder(const QString& path, const SlotTable& table, const std::atomic<bool>& stop)
{
    LibavPtr<AVFormatContext> fmt;
    if (openLocalMedia(fmt, path) != LocalOpen::Opened)
        return {};
    // The video stream VideoInput chooses: the first that is not a cover picture.
    int stream = -1;
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        const bool video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO
            && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
        if (video && stream < 0)
            stream = st->index;
        fmt->streams[i]->discard = video && stream == st->index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    if (stream < 0)
        return {};
    const AVCodecParameters* par = fmt->streams[stream]->codecpar;
    const bool avi = QByteArray(fmt->iformat->name).split(',').contains("avi");

    // The parser is needed only where the container has no presentation timestamps.
    LibavPtr<AVCodecContext> ctx;
    LibavPtr<AVCodecParserContext> parser;
    int lengthSize = 0;
    if (avi && par->codec_id == AV_CODEC_ID_H264) {
        ctx.reset(avcodec_alloc_context3(nullptr));
        parser.reset(av_parser_init(AV_CODEC_ID_H264));
        if (!ctx || !parser || avcodec_parameters_to_context(ctx.get(), par) < 0)
            return {};
        parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        if (par->extradata_size >= 7 && par->extradata[0] == 1)
            lengthSize = (par->extradata[4] & 3) + 1;
    } else if (avi) {
        return {}; // AVI timestamps count chunks: they say nothing of the display order
    }

    std::vector<Picture> pictures;
    pictures.reserve(static_cast<size_t>(table.length));
    std::vector<bool> seen(static_cast<size_t>(table.length), false);
    LibavPtr<AVPacket> pkt(av_packet_alloc());
    int64_t period = -1;
    while (!stop) {
        const int rc = av_read_frame(fmt.get(), pkt.get());
        if (rc == AVERROR_EOF)
            break;
        if (rc < 0)
            return {};
        if (pkt->stream_index != stream || pkt->size <= 0) {
            av_packet_unref(pkt.get());
            continue;
        }
        Picture p;
        p.slot = table.slotOfPacket(pkt->dts, pkt->pos, AV_NOPTS_VALUE);
        p.pts = pkt->pts;
        const bool discarded = pkt->flags & AV_PKT_FLAG_DISCARD;
        if (parser) {
            uint8_t* out = nullptr;
            int outSize = 0;
            av_parser_parse2(parser.get(), ctx.get(), &out, &outSize, pkt->data, pkt->size, pkt->pts,
                             pkt->dts, pkt->pos);
            if (holdsIdrSlice(pkt->data, pkt->size, lengthSize))
                ++period;
            p.period = period;
            p.poc = parser->output_picture_number;
        }
        av_packet_unref(pkt.get());
        // A packet the slot table cannot name, a slot met twice, or a packet the decoder
        // is told to drop: the order cannot be vouched for.
        if (p.slot < 0 || seen[static_cast<size_t>(p.slot)] || discarded || (parser && period < 0))
            return {};
        seen[static_cast<size_t>(p.slot)] = true;
        pictures.push_back(p);
    }
    if (stop)
        return {};
    for (int s = 0; s < table.length; ++s)
        if (!table.empty(s) && !seen[static_cast<size_t>(s)])
            return {};

    std::set<std::pair<int64_t, int64_t>> keys;
    for (const Picture& p : pictures) {
        const auto key = parser ? std::make_pair(p.period, p.poc) : std::make_pair(int64_t{0}, p.pts);
        if (!parser && p.pts == AV_NOPTS_VALUE)
            return {};
        if (!keys.insert(key).second)
            return {}; // two pictures claim one place
    }
    std::stable_sort(pictures.begin(), pictures.end(), [&](const Picture& a, const Picture& b) {
        return parser ? std::tie(a.period, a.poc) < std::tie(b.period, b.poc) : a.pts < b.pts;
    });
    std::vector<int> order;
    order.reserve(pictures.size());
    for (const Picture& p : pictures)
        order.push_back(p.slot);
    return order;
}

} // namespace hw::media
