#include "ClipProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <QFile>

namespace hw::test {

namespace {
const bool quietLibav = [] { av_log_set_level(AV_LOG_ERROR); return true; }();
struct Input {
    AVFormatContext* fmt = nullptr;
    int stream = -1;
    explicit Input(const QString& path)
    {
        if (avformat_open_input(&fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
            return;
        avformat_find_stream_info(fmt, nullptr);
        stream = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    ~Input() { avformat_close_input(&fmt); }
};

QImage toImage(const AVFrame* f)
{
    QImage img(f->width, f->height, QImage::Format_RGB32);
    SwsContext* sws = sws_getContext(f->width, f->height, AVPixelFormat(f->format), f->width,
                                     f->height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    uint8_t* dst[1] = {img.bits()};
    const int stride[1] = {int(img.bytesPerLine())};
    sws_scale(sws, f->data, f->linesize, 0, f->height, dst, stride);
    sws_freeContext(sws);
    return img;
}
} // namespace

ClipPackets probePackets(const QString& path)
{
    ClipPackets out;
    Input in(path);
    if (in.stream < 0)
        return out;
    AVPacket* pkt = av_packet_alloc();
    int packets = 0;
    int64_t lastDts = -1;
    while (av_read_frame(in.fmt, pkt) >= 0) {
        if (pkt->stream_index == in.stream && pkt->size > 0) {
            ++packets;
            lastDts = std::max(lastDts, pkt->dts);
            out.keyframes += (pkt->flags & AV_PKT_FLAG_KEY) != 0;
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    out.total = int(lastDts + 1);
    out.empty = out.total - packets;
    return out;
}

std::vector<QImage> decodeAll(const QString& path)
{
    std::vector<QImage> out;
    Input in(path);
    if (in.stream < 0)
        return out;
    const AVCodecParameters* par = in.fmt->streams[in.stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    AVCodecContext* dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, par);
    avcodec_open2(dec, codec, nullptr);
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&] {
        while (avcodec_receive_frame(dec, frame) >= 0) {
            out.push_back(toImage(frame));
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(in.fmt, pkt) >= 0) {
        if (pkt->stream_index == in.stream && pkt->size > 0) {
            avcodec_send_packet(dec, pkt);
            drain();
        }
        av_packet_unref(pkt);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    return out;
}

} // namespace hw::test
