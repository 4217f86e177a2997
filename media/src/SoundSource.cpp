#include "SoundSource.h"

#include "hw/media/LibavLog.h"
#include "hw/media/LocalMedia.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hw::media {

namespace {

// Decoders that need what comes before (MP3's bit reservoir) are started this much early.
constexpr double kPrerollSeconds = 0.1;
// A seek to no more than this much after what has been read reads on instead.
constexpr double kReadOnSeconds = 0.5;
// One frame's sound is never longer than this; a damaged header that claims more is dropped.
constexpr int kMostFrameSeconds = 10;
// Packets looked at for the video's first timestamp when the container does not say it.
constexpr int kOriginPackets = 200;

int interrupted(void* abandoned)
{
    const auto& f = *static_cast<const SoundSource::Abandoned*>(abandoned);
    return f && f() ? 1 : 0;
}

uint64_t layoutMask(const AVChannelLayout& layout)
{
    return layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
}

} // namespace

std::unique_ptr<SoundSource> SoundSource::open(const QString& path, Abandoned abandoned, QString& why)
{
    routeLibavLog();
    why.clear();
    std::unique_ptr<SoundSource> s(new SoundSource);
    s->abandoned_ = std::move(abandoned);
    s->fmt_.reset(avformat_alloc_context());
    s->packet_.reset(av_packet_alloc());
    s->frame_.reset(av_frame_alloc());
    if (!s->fmt_ || !s->packet_ || !s->frame_) {
        why = QStringLiteral("out of memory");
        return nullptr;
    }
    s->fmt_->interrupt_callback.callback = &interrupted;
    s->fmt_->interrupt_callback.opaque = &s->abandoned_;
    const auto gaveUp = [&] { return s->abandoned_ && s->abandoned_(); };
    const LocalOpen opened = openLocalMedia(s->fmt_, path);
    if (opened != LocalOpen::Opened) {
        if (opened == LocalOpen::NotLocalMedia)
            why = QStringLiteral("the file is not a local media file");
        else if (!gaveUp())
            why = QStringLiteral("the file cannot be read");
        return nullptr;
    }
    int video = -1;
    for (unsigned i = 0; i < s->fmt_->nb_streams; ++i) {
        const AVStream* st = s->fmt_->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && s->stream_ < 0)
            s->stream_ = st->index;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)
            && video < 0)
            video = st->index;
    }
    if (s->stream_ < 0)
        return nullptr; // a silent clip
    AVStream* st = s->fmt_->streams[s->stream_];
    // Headers that leave the rate or the channels open: the library's probe tells them.
    if (st->codecpar->sample_rate <= 0 || st->codecpar->ch_layout.nb_channels <= 0)
        avformat_find_stream_info(s->fmt_.get(), nullptr);
    if (gaveUp())
        return nullptr;
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) {
        why = QStringLiteral("no decoder for %1")
                  .arg(QString::fromUtf8(avcodec_get_name(st->codecpar->codec_id)));
        return nullptr;
    }
    s->dec_.reset(avcodec_alloc_context3(codec));
    if (!s->dec_ || avcodec_parameters_to_context(s->dec_.get(), st->codecpar) < 0) {
        why = QStringLiteral("%1 cannot be set up").arg(QString::fromUtf8(codec->name));
        return nullptr;
    }
    // The time base lets the decoder move a frame's timestamp past the samples it leaves
    // out (an encoder's delay, priming).
    s->dec_->pkt_timebase = st->time_base;
    s->dec_->thread_count = 1;
    if (avcodec_open2(s->dec_.get(), codec, nullptr) < 0) {
        why = QStringLiteral("%1 cannot be set up").arg(QString::fromUtf8(codec->name));
        return nullptr;
    }
    const int rate = st->codecpar->sample_rate;
    s->format_.rate = rate >= 4000 && rate <= 192000 ? rate : 44100;
    s->format_.channels = st->codecpar->ch_layout.nb_channels == 1 ? 1 : 2;
    s->timeBase_ = av_q2d(st->time_base);
    if (!(s->timeBase_ > 0)) {
        why = QStringLiteral("the sound has no time base");
        return nullptr;
    }
    // Timestamps this close to where the last frame ended are rounding, not a gap: half a
    // unit of the stream's time base, and never less than a millisecond.
    s->tolerance_ = std::llround(std::max(s->timeBase_ / 2, 0.001) * s->format_.rate) + 1;
    if (!s->findOrigin(video))
        return nullptr;
    for (unsigned i = 0; i < s->fmt_->nb_streams; ++i)
        s->fmt_->streams[i]->discard
            = s->fmt_->streams[i]->index == s->stream_ ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    s->reposition(0);
    return s;
}

bool SoundSource::findOrigin(int video)
{
    // In an AVI the video's chunks count its frames from zero.
    if (video < 0 || QByteArray(fmt_->iformat->name).split(',').contains("avi"))
        return true;
    const AVStream* st = fmt_->streams[video];
    if (st->start_time != AV_NOPTS_VALUE) {
        originSeconds_ = static_cast<double>(st->start_time) * av_q2d(st->time_base);
        return true;
    }
    for (int n = 0; n < kOriginPackets && av_read_frame(fmt_.get(), packet_.get()) >= 0; ++n) {
        const bool first = packet_->stream_index == video && packet_->pts != AV_NOPTS_VALUE;
        if (first)
            originSeconds_ = static_cast<double>(packet_->pts) * av_q2d(st->time_base);
        av_packet_unref(packet_.get());
        if (first)
            break;
    }
    return !(abandoned_ && abandoned_());
}

void SoundSource::seek(int64_t at)
{
    const int64_t readTo = carryAt_ + format_.frames(carry_.size());
    // Just ahead of what has been read (the next play from where the last one ended): read on.
    if (at >= position_ && at <= std::max(position_, readTo) + std::llround(kReadOnSeconds * format_.rate)) {
        position_ = at;
        return;
    }
    reposition(at);
}

void SoundSource::reposition(int64_t at)
{
    position_ = at;
    carry_.clear();
    carryAt_ = at;
    followOn_ = -1;
    ended_ = false;
    drained_ = false;
    avcodec_flush_buffers(dec_.get());
    swr_.reset(); // set up again by the next frame, without what it held back
    inRate_ = 0;
    const double seconds = static_cast<double>(at) / format_.rate + originSeconds_ - kPrerollSeconds;
    const int64_t target = std::llround(seconds * AV_TIME_BASE);
    // By the clip's main stream first, as the pictures seek; else by the sound's own.
    if (avformat_seek_file(fmt_.get(), -1, INT64_MIN, target, target, 0) >= 0)
        return;
    const int64_t own = std::llround(seconds / timeBase_);
    if (avformat_seek_file(fmt_.get(), stream_, INT64_MIN, own, own, 0) < 0)
        av_seek_frame(fmt_.get(), stream_, INT64_MIN, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
}

int64_t SoundSource::buffered() const
{
    const int64_t readTo = carryAt_ + format_.frames(carry_.size());
    return std::max<int64_t>(0, readTo - std::max(position_, carryAt_));
}

bool SoundSource::read(int16_t* out, int count)
{
    int done = 0;
    while (done < count) {
        if (abandoned_ && abandoned_()) {
            std::memset(out + format_.samples(done), 0, format_.samples(count - done) * sizeof(int16_t));
            return false;
        }
        const int64_t carryEnd = carryAt_ + format_.frames(carry_.size());
        int n = 0;
        if (position_ < carryAt_ || (ended_ && position_ >= carryEnd)) {
            // Before the next decoded frame, or past the end of the sound: silence.
            n = static_cast<int>(std::min<int64_t>(
                count - done, ended_ && position_ >= carryEnd ? count - done : carryAt_ - position_));
            std::memset(out + format_.samples(done), 0, format_.samples(n) * sizeof(int16_t));
        } else if (position_ < carryEnd) {
            n = static_cast<int>(std::min<int64_t>(count - done, carryEnd - position_));
            std::memcpy(out + format_.samples(done), carry_.data() + format_.samples(position_ - carryAt_),
                        format_.samples(n) * sizeof(int16_t));
        } else {
            if (!decodeNext())
                ended_ = !(abandoned_ && abandoned_());
            continue;
        }
        done += n;
        position_ += n;
    }
    return true;
}

bool SoundSource::readPacket()
{
    for (;;) {
        if (av_read_frame(fmt_.get(), packet_.get()) < 0)
            return false;
        if (packet_->stream_index == stream_)
            return true;
        av_packet_unref(packet_.get());
    }
}

bool SoundSource::decodeNext()
{
    for (;;) {
        if (abandoned_ && abandoned_())
            return false;
        const int rc = avcodec_receive_frame(dec_.get(), frame_.get());
        if (rc >= 0) {
            const bool placed = convert(frame_.get());
            av_frame_unref(frame_.get());
            if (placed)
                return true;
            continue;
        }
        if (rc == AVERROR_EOF || drained_)
            return false;
        if (!readPacket()) {
            avcodec_send_packet(dec_.get(), nullptr);
            drained_ = true;
            continue;
        }
        // A packet the decoder refuses is left out: its time stays silent.
        avcodec_send_packet(dec_.get(), packet_.get());
        av_packet_unref(packet_.get());
    }
}

bool SoundSource::convert(AVFrame* frame)
{
    const int rate = frame->sample_rate;
    const int channels = frame->ch_layout.nb_channels;
    if (rate <= 0 || channels <= 0 || frame->nb_samples <= 0)
        return false;
    if (!swr_ || rate != inRate_ || channels != inChannels_ || layoutMask(frame->ch_layout) != inLayoutMask_
        || frame->format != inSampleFormat_) {
        // The first frame, or the stream changed its format: convert from the new one.
        swr_.reset();
        inRate_ = 0;
        AVChannelLayout in{};
        if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in, channels);
        else if (av_channel_layout_copy(&in, &frame->ch_layout) < 0)
            return false;
        AVChannelLayout out{};
        av_channel_layout_default(&out, format_.channels);
        SwrContext* made = nullptr;
        const bool set = swr_alloc_set_opts2(&made, &out, AV_SAMPLE_FMT_S16, format_.rate, &in,
                                             AVSampleFormat(frame->format), rate, 0, nullptr)
            >= 0;
        swr_.reset(made);
        const bool ok = set && swr_init(swr_.get()) >= 0;
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (!ok) {
            swr_.reset();
            return false;
        }
        inRate_ = rate;
        inChannels_ = channels;
        inLayoutMask_ = layoutMask(frame->ch_layout);
        inSampleFormat_ = frame->format;
    }
    const int room = swr_get_out_samples(swr_.get(), frame->nb_samples);
    if (room <= 0 || room > kMostFrameSeconds * format_.rate)
        return false;
    carry_.resize(format_.samples(room));
    auto* dst = reinterpret_cast<uint8_t*>(carry_.data());
    const int got = swr_convert(swr_.get(), &dst, room, const_cast<const uint8_t**>(frame->extended_data),
                                frame->nb_samples);
    carry_.resize(format_.samples(got));
    if (got <= 0)
        return false;
    int64_t at = followOn_ >= 0 ? followOn_ : position_;
    const int64_t stamp = frame->best_effort_timestamp;
    if (stamp != AV_NOPTS_VALUE) {
        const double seconds = static_cast<double>(stamp) * timeBase_ - originSeconds_;
        if (!(std::abs(seconds) < 1e9)) // a damaged timestamp: the frame is left out
            return false;
        const int64_t stamped = std::llround(seconds * format_.rate);
        if (followOn_ < 0 || std::llabs(stamped - followOn_) > tolerance_)
            at = stamped;
    }
    carryAt_ = at;
    followOn_ = at + got;
    return true;
}

} // namespace hw::media
