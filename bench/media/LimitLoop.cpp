#include "LimitLoop.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QFile>

#include <chrono>

namespace bench {

struct LimitLoop::State {
    AVFormatContext* fmt = nullptr;
    AVCodecContext* dec = nullptr;
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int stream = -1;
    ~State()
    {
        av_frame_free(&frame);
        av_packet_free(&pkt);
        avcodec_free_context(&dec);
        avformat_close_input(&fmt);
    }
    // Decodes until a frame comes out; its slot, or -1 at the end.
    int decodeOne()
    {
        for (;;) {
            if (avcodec_receive_frame(dec, frame) >= 0) {
                const int slot = int(frame->pts);
                av_frame_unref(frame);
                return slot;
            }
            if (av_read_frame(fmt, pkt) < 0)
                return -1;
            if (pkt->stream_index == stream && pkt->size > 0) {
                pkt->pts = pkt->dts; // an AVI's dts is the slot
                avcodec_send_packet(dec, pkt);
            }
            av_packet_unref(pkt);
        }
    }
};

LimitLoop::LimitLoop(const QString& path)
    : d(std::make_unique<State>())
{
    if (avformat_open_input(&d->fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return;
    avformat_find_stream_info(d->fmt, nullptr);
    d->stream = av_find_best_stream(d->fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(d->fmt->streams[d->stream]->codecpar->codec_id);
    d->dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(d->dec, d->fmt->streams[d->stream]->codecpar);
    d->dec->thread_count = 0;
    avcodec_open2(d->dec, codec, nullptr);
}

LimitLoop::~LimitLoop() = default;

bool LimitLoop::ok() const
{
    return d->dec != nullptr;
}

double LimitLoop::showFrame(int target)
{
    const auto t0 = std::chrono::steady_clock::now();
    av_seek_frame(d->fmt, d->stream, target, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(d->dec);
    while (true) {
        const int slot = d->decodeOne();
        if (slot < 0 || slot == target)
            break;
    }
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

double LimitLoop::nextFrame()
{
    const auto t0 = std::chrono::steady_clock::now();
    d->decodeOne();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace bench
