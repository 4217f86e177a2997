#include "SpeechFile.h"

#include "hw/Narrow.h"
#include "hw/media/LibavHandles.h"
#include "hw/media/LibavLog.h"
#include "hw/media/LocalMedia.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <stdexcept>

namespace hw::listen {

using media::LibavPtr;

struct SpeechFile::Impl {
    LibavPtr<AVFormatContext> format;
    LibavPtr<AVCodecContext> decoder;
    LibavPtr<SwrContext> converter;
    LibavPtr<AVPacket> packet{av_packet_alloc()};
    LibavPtr<AVFrame> frame{av_frame_alloc()};
    int stream = -1;
    bool drained = false;
    bool ended = false;

    int inRate = 0, inChannels = 0, inFormat = -1;

    bool convert(const AVFrame* decoded, std::vector<int16_t>& out)
    {
        // A frame whose rate, channels or sample format differ sets the converter up again.
        if (decoded->sample_rate != inRate || decoded->ch_layout.nb_channels != inChannels
            || decoded->format != inFormat)
            converter.reset();
        if (!converter) {
            inRate = decoded->sample_rate;
            inChannels = decoded->ch_layout.nb_channels;
            inFormat = decoded->format;
            SwrContext* made = nullptr;
            AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
            AVChannelLayout from{};
            const bool set = av_channel_layout_copy(&from, &decoded->ch_layout) == 0
                && swr_alloc_set_opts2(&made, &mono, AV_SAMPLE_FMT_S16, kRate, &from,
                                       AVSampleFormat(decoded->format), decoded->sample_rate, 0, nullptr)
                    == 0;
            converter.reset(made);
            av_channel_layout_uninit(&from);
            if (!set || swr_init(converter.get()) != 0) {
                converter.reset();
                return false;
            }
        }
        const int room = swr_get_out_samples(converter.get(), decoded->nb_samples);
        if (room <= 0)
            return true;
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(room));
        auto* to = reinterpret_cast<uint8_t*>(out.data() + at);
        const int made
            = swr_convert(converter.get(), &to, room, const_cast<const uint8_t**>(decoded->extended_data),
                          decoded->nb_samples);
        out.resize(at + clamped<size_t>(made)); // none when it failed
        return made >= 0;
    }
};

SpeechFile::SpeechFile(const QString& path)
    : d(std::make_unique<Impl>())
{
    const auto cannot = [&](const char* why) {
        return std::runtime_error(
            QStringLiteral("Cannot open file %1 (%2)").arg(path, QLatin1String(why)).toStdString());
    };
    media::routeLibavLog();
    switch (media::openLocalMedia(d->format, path)) {
    case media::LocalOpen::Opened:
        break;
    case media::LocalOpen::NotLocalMedia:
        throw cannot("not a local sound file");
    case media::LocalOpen::Unreadable:
        throw cannot("not a sound file, or damaged");
    }
    AVFormatContext* format = d->format.get();
    if (avformat_find_stream_info(format, nullptr) < 0)
        throw cannot("not a sound file, or damaged");
    d->stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (d->stream < 0)
        throw cannot("it has no sound");
    const AVCodecParameters* parameters = format->streams[d->stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec || parameters->sample_rate <= 0 || parameters->ch_layout.nb_channels <= 0)
        throw cannot("its sound cannot be decoded");
    d->decoder.reset(avcodec_alloc_context3(codec));
    if (!d->decoder || avcodec_parameters_to_context(d->decoder.get(), parameters) < 0
        || avcodec_open2(d->decoder.get(), codec, nullptr) < 0)
        throw cannot("its sound cannot be decoded");
    if (!d->packet || !d->frame)
        throw cannot("out of memory");
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard
            = format->streams[i]->index == d->stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
}

SpeechFile::~SpeechFile() = default;

bool SpeechFile::next(std::vector<int16_t>& out)
{
    while (!d->ended) {
        const int got = avcodec_receive_frame(d->decoder.get(), d->frame.get());
        if (got == 0) {
            d->convert(d->frame.get(), out); // a frame the converter refuses is left out
            av_frame_unref(d->frame.get());
            return true;
        }
        if (got == AVERROR_EOF) {
            d->ended = true;
            break;
        }
        if (d->drained) {
            d->ended = true;
            break;
        }
        const int read = av_read_frame(d->format.get(), d->packet.get());
        if (read < 0) {
            avcodec_send_packet(d->decoder.get(), nullptr);
            d->drained = true;
            continue;
        }
        if (d->packet->stream_index == d->stream)
            avcodec_send_packet(d->decoder.get(), d->packet.get()); // a damaged packet is skipped
        av_packet_unref(d->packet.get());
    }
    return false;
}

} // namespace hw::listen
