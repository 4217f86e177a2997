#include "LimitLoop.h"

#include "hw/Narrow.h"
#include "hw/media/LibavHandles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QFile>

#include <chrono>

namespace bench {

using hw::media::LibavPtr;

struct LimitLoop::State {
    static constexpr int kEnd = -1;
    static constexpr int kUnnamed = -2; // a frame without a slot in its pts

    LibavPtr<AVFormatContext> fmt;
    LibavPtr<AVCodecContext> dec;
    LibavPtr<AVPacket> pkt{av_packet_alloc()};
    LibavPtr<AVFrame> frame{av_frame_alloc()};
    int stream = -1;
    // Decodes until a frame comes out; its slot, kUnnamed, or kEnd at the end.
    int decodeOne()
    {
        for (;;) {
            if (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
                const int slot = hw::fitting<int>(frame->pts).value_or(kUnnamed);
                av_frame_unref(frame.get());
                return slot < 0 ? kUnnamed : slot;
            }
            if (av_read_frame(fmt.get(), pkt.get()) < 0)
                return kEnd;
            if (pkt->stream_index == stream && pkt->size > 0) {
                pkt->pts = pkt->dts; // an AVI's dts is the slot
                avcodec_send_packet(dec.get(), pkt.get());
            }
            av_packet_unref(pkt.get());
        }
    }
};

LimitLoop::LimitLoop(const QString& path)
    : d(std::make_unique<State>())
{
    AVFormatContext* opened = nullptr; // the library frees it when it cannot open the file
    if (avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return;
    d->fmt.reset(opened);
    avformat_find_stream_info(d->fmt.get(), nullptr);
    d->stream = av_find_best_stream(d->fmt.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(d->fmt->streams[d->stream]->codecpar->codec_id);
    d->dec.reset(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(d->dec.get(), d->fmt->streams[d->stream]->codecpar);
    d->dec->thread_count = 0;
    avcodec_open2(d->dec.get(), codec, nullptr);
}

LimitLoop::~LimitLoop() = default;

bool LimitLoop::ok() const
{
    return d->dec != nullptr;
}

double LimitLoop::showFrame(int target)
{
    const auto t0 = std::chrono::steady_clock::now();
    av_seek_frame(d->fmt.get(), d->stream, target, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(d->dec.get());
    while (true) {
        const int slot = d->decodeOne();
        if (slot == State::kEnd || slot == target)
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
