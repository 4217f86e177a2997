#include "ClipReader.h"

#include <QFile>

#include <algorithm>
#include <functional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace hw::test {
namespace {

const bool quietLibav = [] {
    av_log_set_level(AV_LOG_ERROR);
    return true;
}();

struct Input {
    AVFormatContext* format = nullptr;
    int stream = -1;
    explicit Input(const QString& path)
    {
        const QByteArray name = QFile::encodeName(path);
        if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0) {
            format = nullptr;
            return;
        }
        if (avformat_find_stream_info(format, nullptr) < 0)
            return;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    ~Input()
    {
        if (format)
            avformat_close_input(&format);
    }
    bool ok() const { return format && stream >= 0; }
};

} // namespace

ClipFacts probeClip(const QString& path)
{
    ClipFacts facts;
    Input in(path);
    if (!in.ok())
        return facts;
    facts.opened = true;
    const AVStream* s = in.format->streams[in.stream];
    facts.codec = QString::fromLatin1(avcodec_get_name(s->codecpar->codec_id));
    facts.size = QSize(s->codecpar->width, s->codecpar->height);
    facts.framesPerSecond = av_q2d(s->r_frame_rate);
    size_t matrixBytes = 0;
    const auto* matrix = reinterpret_cast<const int32_t*>(
        av_stream_get_side_data(s, AV_PKT_DATA_DISPLAYMATRIX, &matrixBytes));
    if (matrix && matrixBytes >= 9 * sizeof(int32_t))
        facts.displayMatrix.assign(matrix, matrix + 9);
    if (s->sample_aspect_ratio.num > 0 && s->sample_aspect_ratio.den > 0)
        facts.containerPixelAspect = av_q2d(s->sample_aspect_ratio);
    AVPacket* packet = av_packet_alloc();
    int64_t lastDts = -1;
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == in.stream && packet->size > 0) {
            ++facts.frameCount;
            lastDts = std::max(lastDts, packet->dts);
            facts.keyframes += (packet->flags & AV_PKT_FLAG_KEY) != 0;
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    facts.frameSlots = int(lastDts + 1);
    facts.emptySlots = facts.frameSlots - facts.frameCount;
    return facts;
}

namespace {

// Decodes the video from the start and hands each frame the decoder outputs, with its
// number, to keep when wanted(number) says so.
void decodeVideo(const QString& path, const std::function<bool(int)>& wanted,
                 const std::function<void(int, QImage)>& keep)
{
    Input in(path);
    if (!in.ok())
        return;
    const AVCodecParameters* par = in.format->streams[in.stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    AVCodecContext* dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, par);
    if (avcodec_open2(dec, codec, nullptr) < 0) {
        avcodec_free_context(&dec);
        return;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* sws = nullptr;
    int index = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(dec, frame) >= 0) {
            if (wanted(index)) {
                QImage image(frame->width, frame->height, QImage::Format_RGB32);
                sws = sws_getCachedContext(sws, frame->width, frame->height, AVPixelFormat(frame->format),
                                           frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr,
                                           nullptr, nullptr);
                uint8_t* dst[1] = {image.bits()};
                const int stride[1] = {int(image.bytesPerLine())};
                sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
                keep(index, std::move(image));
            }
            ++index;
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == in.stream && packet->size > 0 && avcodec_send_packet(dec, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&dec);
}

} // namespace

std::vector<QImage> decodeAll(const QString& path)
{
    std::vector<QImage> out;
    decodeVideo(
        path, [](int) { return true; }, [&](int, QImage image) { out.push_back(std::move(image)); });
    return out;
}

QMap<int, QImage> decodeFrames(const QString& path, const QSet<int>& wanted)
{
    QMap<int, QImage> out;
    decodeVideo(
        path, [&](int n) { return wanted.contains(n); },
        [&](int n, QImage image) { out.insert(n, std::move(image)); });
    return out;
}

ClipSound decodeSound(const QString& path)
{
    ClipSound out;
    Input in(path);
    if (!in.format)
        return out;
    const int stream = av_find_best_stream(in.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0)
        return out;
    const AVCodecParameters* par = in.format->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    AVCodecContext* dec = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!dec || avcodec_parameters_to_context(dec, par) < 0 || avcodec_open2(dec, codec, nullptr) < 0) {
        avcodec_free_context(&dec);
        return out;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool plain = true; // 16-bit mono all through
    auto drain = [&] {
        while (avcodec_receive_frame(dec, frame) >= 0) {
            plain = plain && frame->format == AV_SAMPLE_FMT_S16 && frame->ch_layout.nb_channels == 1;
            if (plain) {
                const auto* samples = reinterpret_cast<const int16_t*>(frame->data[0]);
                out.samples.append(QList<int16_t>(samples, samples + frame->nb_samples));
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(dec, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    if (plain)
        out.sampleRate = dec->sample_rate;
    else
        out.samples.clear();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&dec);
    return out;
}

} // namespace hw::test
