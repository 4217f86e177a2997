#include "hw/clips/ClipWriter.h"

#include "hw/media/LibavHandles.h"
#include "hw/media/LibavLog.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <QFile>

namespace hw {

namespace {
QString avError(int code)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buf, sizeof buf);
    return QString::fromUtf8(buf);
}

AVPixelFormat pickPixelFormat(const AVCodec* codec)
{
    if (codec->id == AV_CODEC_ID_RAWVIDEO)
        return AV_PIX_FMT_BGR24; // what an uncompressed AVI holds
    if (codec->pix_fmts && codec->pix_fmts[0] != AV_PIX_FMT_NONE)
        return codec->pix_fmts[0];
    return AV_PIX_FMT_YUV420P;
}
} // namespace

struct ClipWriter::State {
    // Freed from the last up: the encoder before the file.
    media::OutputFormatPtr fmt;
    media::LibavPtr<AVCodecContext> enc;
    AVStream* stream = nullptr;
    AVStream* sound = nullptr;
    int64_t nextSample = 0;
    media::LibavPtr<SwsContext> sws;
    media::LibavPtr<AVFrame> frame;
    media::LibavPtr<AVPacket> packet;
    ClipFormat format;
    int64_t nextPts = 0;
    int written = 0;
    bool headerWritten = false;
    bool finished = false;
    bool broken = false; // the encoder or the file failed: nothing more can be added
    QString error;

    bool fail(const QString& text)
    {
        error = text;
        return false;
    }

    // Sends a frame (or nullptr to flush) and writes every packet the encoder returns.
    bool encode(AVFrame* f)
    {
        broken = true;
        int rc = avcodec_send_frame(enc.get(), f);
        if (rc < 0)
            return fail(QStringLiteral("Cannot encode frame: %1").arg(avError(rc)));
        for (;;) {
            rc = avcodec_receive_packet(enc.get(), packet.get());
            if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) {
                broken = false;
                return true;
            }
            if (rc < 0)
                return fail(QStringLiteral("Cannot encode frame: %1").arg(avError(rc)));
            av_packet_rescale_ts(packet.get(), enc->time_base, stream->time_base);
            packet->stream_index = stream->index;
            rc = av_interleaved_write_frame(fmt.get(), packet.get());
            if (rc < 0)
                return fail(QStringLiteral("Cannot write the clip: %1").arg(avError(rc)));
        }
    }
};

ClipWriter::ClipWriter()
    : d(std::make_unique<State>())
{ }
ClipWriter::~ClipWriter() = default;

bool ClipWriter::open(const QString& path, const ClipFormat& format)
{
    d = std::make_unique<State>();
    media::routeLibavLog();
    d->format = format;
    if (format.size.width() < 2 || format.size.height() < 2 || format.framesPerSecond < 1)
        return d->fail(QStringLiteral("Invalid clip size or frame rate"));
    const QByteArray name = format.codec.toUtf8();
    const AVCodec* codec = avcodec_find_encoder_by_name(name.constData());
    if (!codec || codec->type != AVMEDIA_TYPE_VIDEO)
        return d->fail(QStringLiteral("No video encoder named '%1'").arg(format.codec));

    const QByteArray file = QFile::encodeName(path);
    AVFormatContext* fmt = nullptr;
    int rc = avformat_alloc_output_context2(&fmt, nullptr, "avi", file.constData());
    d->fmt.reset(fmt);
    if (rc < 0 || !d->fmt)
        return d->fail(QStringLiteral("Cannot create an AVI writer: %1").arg(avError(rc)));

    d->enc.reset(avcodec_alloc_context3(codec));
    d->enc->width = format.size.width();
    d->enc->height = format.size.height();
    d->enc->time_base = AVRational{1, format.framesPerSecond};
    d->enc->framerate = AVRational{format.framesPerSecond, 1};
    d->enc->pix_fmt = pickPixelFormat(codec);
    d->enc->gop_size = std::max(1, format.keyframeInterval);
    d->enc->keyint_min = d->enc->gop_size; // some encoders (msvideo1) go by this one
    d->enc->max_b_frames = format.bFrames ? 2 : 0;
    if (d->enc->pix_fmt == AV_PIX_FMT_YUVJ420P || d->enc->pix_fmt == AV_PIX_FMT_YUVJ422P)
        d->enc->color_range = AVCOL_RANGE_JPEG;
    if (codec->id == AV_CODEC_ID_H264) {
        // A keyframe exactly every keyframeInterval frames: no scene-cut keyframes. One thread,
        // so that the same frames always make the same file.
        d->enc->thread_count = 1;
        av_opt_set_int(d->enc->priv_data, "crf", 18 + std::clamp(format.quality, 0, 30), 0);
        av_opt_set(d->enc->priv_data, "preset", "veryfast", 0);
        av_opt_set(d->enc->priv_data, "x264-params", "scenecut=0", 0);
    } else if (codec->id == AV_CODEC_ID_CINEPAK) {
        // The encoder's extra searches cost several times the time for little gain.
        av_opt_set_int(d->enc->priv_data, "max_strips", 1, 0);
        av_opt_set_int(d->enc->priv_data, "max_extra_cb_iterations", 0, 0);
    } else if (codec->id == AV_CODEC_ID_MJPEG || codec->id == AV_CODEC_ID_MPEG4) {
        d->enc->flags |= AV_CODEC_FLAG_QSCALE;
        d->enc->global_quality = FF_QP2LAMBDA * std::clamp(format.quality, 1, 31);
    }
    if (d->fmt->oformat->flags & AVFMT_GLOBALHEADER)
        d->enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

    rc = avcodec_open2(d->enc.get(), codec, nullptr);
    if (rc < 0)
        return d->fail(QStringLiteral("Cannot open the '%1' encoder: %2").arg(format.codec, avError(rc)));

    d->stream = avformat_new_stream(d->fmt.get(), nullptr);
    d->stream->time_base = d->enc->time_base;
    d->stream->avg_frame_rate = d->enc->framerate;
    avcodec_parameters_from_context(d->stream->codecpar, d->enc.get());

    if (format.soundRate < 0 || format.soundRate > 192000)
        return d->fail(QStringLiteral("Invalid sound rate %1").arg(format.soundRate));
    if (format.soundRate > 0) {
        // PCM needs no encoder: the samples go into the file as they are.
        d->sound = avformat_new_stream(d->fmt.get(), nullptr);
        AVCodecParameters* par = d->sound->codecpar;
        par->codec_type = AVMEDIA_TYPE_AUDIO;
        par->codec_id = AV_CODEC_ID_PCM_S16LE;
        par->sample_rate = format.soundRate;
        av_channel_layout_default(&par->ch_layout, 1);
        par->bits_per_coded_sample = 16;
        par->block_align = 2;
        par->bit_rate = static_cast<int64_t>(format.soundRate) * 16;
        d->sound->time_base = AVRational{1, format.soundRate};
    }

    rc = avio_open(&d->fmt->pb, file.constData(), AVIO_FLAG_WRITE);
    if (rc < 0)
        return d->fail(QStringLiteral("Cannot create %1: %2").arg(path, avError(rc)));
    rc = avformat_write_header(d->fmt.get(), nullptr);
    if (rc < 0)
        return d->fail(QStringLiteral("Cannot write the AVI header: %1").arg(avError(rc)));
    d->headerWritten = true;

    d->frame.reset(av_frame_alloc());
    d->frame->format = d->enc->pix_fmt;
    d->frame->width = d->enc->width;
    d->frame->height = d->enc->height;
    if (av_frame_get_buffer(d->frame.get(), 0) < 0)
        return d->fail(QStringLiteral("Out of memory"));
    d->packet.reset(av_packet_alloc());
    d->sws.reset(sws_getContext(d->enc->width, d->enc->height, AV_PIX_FMT_RGB32, d->enc->width,
                                d->enc->height, d->enc->pix_fmt, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!d->sws)
        return d->fail(QStringLiteral("Cannot convert pictures for the '%1' encoder").arg(format.codec));
    return true;
}

bool ClipWriter::addFrame(const QImage& image)
{
    if (!d->headerWritten || d->finished || d->broken)
        return d->fail(d->error.isEmpty() ? QStringLiteral("The clip is not open") : d->error);
    QImage img = image.convertToFormat(QImage::Format_RGB32);
    if (img.size() != d->format.size)
        img = img.scaled(d->format.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (av_frame_make_writable(d->frame.get()) < 0)
        return d->fail(QStringLiteral("Out of memory"));
    const uint8_t* src[1] = {img.constBits()};
    const int stride[1] = {static_cast<int>(img.bytesPerLine())};
    sws_scale(d->sws.get(), src, stride, 0, img.height(), d->frame->data, d->frame->linesize);
    d->frame->pts = d->nextPts++;
    // The MPEG-family encoders take a fixed quantiser from each frame, not from the context.
    if (d->enc->flags & AV_CODEC_FLAG_QSCALE)
        d->frame->quality = d->enc->global_quality;
    if (!d->encode(d->frame.get()))
        return false;
    ++d->written;
    return true;
}

bool ClipWriter::addEmptyFrame()
{
    if (!d->headerWritten || d->finished || d->written == 0)
        return d->fail(QStringLiteral("An empty frame needs a frame before it"));
    // The AVI writer fills a gap in the timestamps with empty chunks.
    ++d->nextPts;
    ++d->written;
    return true;
}

bool ClipWriter::addSound(const int16_t* samples, int count)
{
    if (!d->headerWritten || d->finished || d->broken)
        return d->fail(d->error.isEmpty() ? QStringLiteral("The clip is not open") : d->error);
    if (!d->sound)
        return d->fail(QStringLiteral("The clip was opened without a sound track"));
    if (count < 0 || (count > 0 && !samples))
        return d->fail(QStringLiteral("Invalid sound samples"));
    if (count == 0)
        return true;
    const media::LibavPtr<AVPacket> packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), count * 2) < 0)
        return d->fail(QStringLiteral("Out of memory"));
    for (int i = 0; i < count; ++i) { // little-endian whatever the machine
        packet->data[2 * i] = static_cast<uint8_t>(static_cast<uint16_t>(samples[i]) & 0xff);
        packet->data[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(samples[i]) >> 8);
    }
    packet->stream_index = d->sound->index;
    packet->pts = packet->dts
        = av_rescale_q(d->nextSample, AVRational{1, d->format.soundRate}, d->sound->time_base);
    packet->duration = av_rescale_q(count, AVRational{1, d->format.soundRate}, d->sound->time_base);
    packet->flags |= AV_PKT_FLAG_KEY;
    d->nextSample += count;
    const int rc = av_interleaved_write_frame(d->fmt.get(), packet.get());
    if (rc < 0) {
        d->broken = true;
        return d->fail(QStringLiteral("Cannot write the sound: %1").arg(avError(rc)));
    }
    return true;
}

bool ClipWriter::finish()
{
    if (!d->headerWritten || d->finished)
        return d->fail(d->error.isEmpty() ? QStringLiteral("The clip is not open") : d->error);
    d->finished = true;
    bool ok = d->encode(nullptr);
    const int rc = av_write_trailer(d->fmt.get());
    if (rc < 0 && ok)
        ok = d->fail(QStringLiteral("Cannot finish the clip: %1").arg(avError(rc)));
    if (d->fmt->pb && avio_closep(&d->fmt->pb) < 0 && ok)
        ok = d->fail(QStringLiteral("Cannot finish the clip"));
    return ok;
}

int ClipWriter::framesWritten() const
{
    return d->written;
}
QString ClipWriter::errorText() const
{
    return d->error;
}

} // namespace hw
