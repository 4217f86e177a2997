#include "ClipReader.h"

#include "hw/media/LibavHandles.h"

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

using hw::media::LibavPtr;

const bool quietLibav = [] {
    av_log_set_level(AV_LOG_ERROR);
    return true;
}();

struct Input {
    LibavPtr<AVFormatContext> format;
    int stream = -1; // the video stream
    explicit Input(const QString& path)
    {
        AVFormatContext* opened = nullptr;
        if (avformat_open_input(&opened, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
            return;
        format.reset(opened);
        if (avformat_find_stream_info(opened, nullptr) < 0)
            return;
        stream = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    }
    bool ok() const { return format && stream >= 0; }
};

// Decodes a stream from the start and hands each frame the decoder outputs to take, in
// order. False when there is no decoder for it here.
bool decodeStream(const Input& in, int stream, const std::function<void(const AVFrame&)>& take)
{
    const AVCodecParameters* par = in.format->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    const LibavPtr<AVCodecContext> dec(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!dec || avcodec_parameters_to_context(dec.get(), par) < 0
        || avcodec_open2(dec.get(), codec, nullptr) < 0)
        return false;
    const LibavPtr<AVPacket> packet(av_packet_alloc());
    const LibavPtr<AVFrame> frame(av_frame_alloc());
    auto drain = [&] {
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            take(*frame);
            av_frame_unref(frame.get());
        }
    };
    while (av_read_frame(in.format.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream && packet->size > 0
            && avcodec_send_packet(dec.get(), packet.get()) >= 0)
            drain();
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(dec.get(), nullptr);
    drain();
    return true;
}

// Decodes the video and hands each frame, with its number, to keep when wanted(number) says so.
void decodeVideo(const QString& path, const std::function<bool(int)>& wanted,
                 const std::function<void(int, QImage)>& keep)
{
    const Input in(path);
    if (!in.ok())
        return;
    LibavPtr<SwsContext> sws;
    int index = 0;
    decodeStream(in, in.stream, [&](const AVFrame& frame) {
        if (wanted(index)) {
            QImage image(frame.width, frame.height, QImage::Format_RGB32);
            sws.reset(sws_getCachedContext(sws.release(), frame.width, frame.height,
                                           AVPixelFormat(frame.format), frame.width, frame.height,
                                           AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr));
            uint8_t* dst[1] = {image.bits()};
            const int stride[1] = {int(image.bytesPerLine())};
            sws_scale(sws.get(), frame.data, frame.linesize, 0, frame.height, dst, stride);
            keep(index, std::move(image));
        }
        ++index;
    });
}

} // namespace

ClipFacts probeClip(const QString& path)
{
    ClipFacts facts;
    const Input in(path);
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
    const LibavPtr<AVPacket> packet(av_packet_alloc());
    int64_t lastDts = -1;
    while (av_read_frame(in.format.get(), packet.get()) >= 0) {
        if (packet->stream_index == in.stream && packet->size > 0) {
            ++facts.frameCount;
            lastDts = std::max(lastDts, packet->dts);
            facts.keyframes += (packet->flags & AV_PKT_FLAG_KEY) != 0;
        }
        av_packet_unref(packet.get());
    }
    facts.frameSlots = int(lastDts + 1);
    facts.emptySlots = facts.frameSlots - facts.frameCount;
    return facts;
}

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
    const Input in(path);
    if (!in.format)
        return out;
    const int stream = av_find_best_stream(in.format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0)
        return out;
    bool plain = true; // 16-bit mono all through
    const bool decoded = decodeStream(in, stream, [&](const AVFrame& frame) {
        plain = plain && frame.format == AV_SAMPLE_FMT_S16 && frame.ch_layout.nb_channels == 1;
        if (plain) {
            const auto* samples = reinterpret_cast<const int16_t*>(frame.data[0]);
            out.samples.append(QList<int16_t>(samples, samples + frame.nb_samples));
        }
    });
    if (decoded && plain)
        out.sampleRate = in.format->streams[stream]->codecpar->sample_rate;
    else
        out.samples.clear();
    return out;
}

} // namespace hw::test
