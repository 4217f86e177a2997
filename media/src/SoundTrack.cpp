#include "SoundTrack.h"

#include "hw/media/LibavLog.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <QFile>

#include <algorithm>

namespace hw::media {

namespace {

// Clips are lessons of minutes; a longer sound is cut here rather than filling memory.
constexpr int64_t kMaxFrames = int64_t(48000) * 60 * 30;

struct Decoding {
    AVFormatContext* fmt = nullptr;
    AVCodecContext* dec = nullptr;
    SwrContext* swr = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    Decoding() = default;
    Decoding(const Decoding&) = delete;
    Decoding& operator=(const Decoding&) = delete;
    ~Decoding()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        swr_free(&swr);
        avcodec_free_context(&dec);
        avformat_close_input(&fmt);
    }
};

QString libavText(int err)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

const int16_t* SoundTrack::frame(int64_t i) const
{
    if (i < 0 || i >= frames())
        return silence_.data();
    return samples_.data() + i * format_.channels;
}

std::unique_ptr<SoundTrack> SoundTrack::load(const QString& path, QString& why)
{
    routeLibavLog();
    why.clear();
    Decoding d;
    if (avformat_open_input(&d.fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0) {
        why = QStringLiteral("the file cannot be read");
        return nullptr;
    }
    int stream = -1;
    for (unsigned i = 0; i < d.fmt->nb_streams; ++i) {
        if (d.fmt->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            stream = int(i);
            break;
        }
    }
    if (stream < 0)
        return nullptr; // a silent clip
    for (unsigned i = 0; i < d.fmt->nb_streams; ++i)
        d.fmt->streams[i]->discard = int(i) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVCodecParameters* par = d.fmt->streams[stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) {
        why = QStringLiteral("no decoder for %1").arg(QString::fromUtf8(avcodec_get_name(par->codec_id)));
        return nullptr;
    }
    d.dec = avcodec_alloc_context3(codec);
    int err = d.dec ? avcodec_parameters_to_context(d.dec, par) : AVERROR(ENOMEM);
    if (err >= 0)
        err = avcodec_open2(d.dec, codec, nullptr);
    if (err < 0) {
        why = QStringLiteral("%1: %2").arg(QString::fromUtf8(codec->name), libavText(err));
        return nullptr;
    }

    std::unique_ptr<SoundTrack> track(new SoundTrack);
    auto convert = [&](AVFrame* in) -> bool {
        if (!d.swr) {
            if (in->sample_rate <= 0 || in->ch_layout.nb_channels <= 0)
                return false;
            track->format_.rate = in->sample_rate;
            track->format_.channels = std::min(in->ch_layout.nb_channels, 2);
            AVChannelLayout outLayout;
            av_channel_layout_default(&outLayout, track->format_.channels);
            if (swr_alloc_set_opts2(&d.swr, &outLayout, AV_SAMPLE_FMT_S16, in->sample_rate, &in->ch_layout,
                                    AVSampleFormat(in->format), in->sample_rate, 0, nullptr)
                    < 0
                || swr_init(d.swr) < 0)
                return false;
        }
        const int channels = track->format_.channels;
        const int room = swr_get_out_samples(d.swr, in->nb_samples);
        if (room < 0 || track->frames() + room > kMaxFrames)
            return false;
        const size_t before = track->samples_.size();
        track->samples_.resize(before + size_t(room) * size_t(channels));
        auto* out = reinterpret_cast<uint8_t*>(track->samples_.data() + before);
        const int got
            = swr_convert(d.swr, &out, room, const_cast<const uint8_t**>(in->extended_data), in->nb_samples);
        track->samples_.resize(before + size_t(std::max(got, 0)) * size_t(channels));
        return got >= 0;
    };

    bool full = false;
    auto drain = [&]() {
        while (!full && avcodec_receive_frame(d.dec, d.frame) >= 0) {
            full = !convert(d.frame);
            av_frame_unref(d.frame);
        }
    };
    while (!full && av_read_frame(d.fmt, d.packet) >= 0) {
        if (d.packet->stream_index == stream && avcodec_send_packet(d.dec, d.packet) >= 0)
            drain(); // a damaged packet is skipped; its time stays silent
        av_packet_unref(d.packet);
    }
    avcodec_send_packet(d.dec, nullptr);
    drain();
    if (!d.swr || track->frames() == 0) {
        why = QStringLiteral("%1 gives no sound").arg(QString::fromUtf8(codec->name));
        return nullptr;
    }
    track->samples_.shrink_to_fit();
    return track;
}

} // namespace hw::media
