#include "hw/media/CaptionTrack.h"

#include "hw/media/LibavHandles.h"
#include "hw/media/LocalMedia.h"

#include "hw/Exception.h"
#include "hw/media/LibavLog.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace hw {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw EContentError(
        QStringLiteral("Cannot read captions %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

// The decoders hand out each cue as an ASS dialogue line: eight fields, then the text with
// override blocks ({\i1}) and its own line breaks (\N hard, \n soft, \h a fixed space).
QString plainText(const char* dialogue)
{
    QString line = QString::fromUtf8(dialogue);
    int commas = 0;
    qsizetype start = 0;
    while (commas < 8 && start < line.size()) {
        if (line[start] == QLatin1Char(','))
            ++commas;
        ++start;
    }
    QString text = line.mid(start);
    static const QRegularExpression overrides(QStringLiteral("\\{[^}]*\\}"));
    text.remove(overrides);
    text.replace(QStringLiteral("\\N"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\\h"), QString(QChar(0x00A0)));
    return text.trimmed();
}

int64_t toMs(int64_t ts, AVRational base)
{
    return av_rescale_q(ts, base, AVRational{1, 1000});
}

} // namespace

CaptionTrack CaptionTrack::read(const QString& path)
{
    media::routeLibavLog();
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* demuxer = suffix == QLatin1String("srt") ? "srt"
        : suffix == QLatin1String("vtt")                 ? "webvtt"
                                                         : nullptr;
    if (!demuxer)
        fail(path, QStringLiteral("not a .srt or .vtt file"));
    const QFileInfo info(path);
    if (!info.isFile())
        fail(path, QStringLiteral("no such file"));

    media::LibavPtr<AVFormatContext> format;
    // Read as a local file by the one demuxer its name asks for, never as anything else.
    if (media::openLocalMedia(format, path, demuxer) != media::LocalOpen::Opened)
        fail(path, QStringLiteral("not a caption file"));
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    if (stream < 0)
        fail(path, QStringLiteral("not a caption file"));
    const AVStream* st = format->streams[stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    media::LibavPtr<AVCodecContext> decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!decoder || avcodec_parameters_to_context(decoder.get(), st->codecpar) < 0)
        fail(path, QStringLiteral("no decoder for its captions"));
    decoder->pkt_timebase = st->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        fail(path, QStringLiteral("no decoder for its captions"));

    CaptionTrack track;
    media::LibavPtr<AVPacket> packet(av_packet_alloc());
    while (av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream && packet->pts != AV_NOPTS_VALUE) {
            AVSubtitle sub{};
            int got = 0;
            if (avcodec_decode_subtitle2(decoder.get(), &sub, &got, packet.get()) >= 0 && got) {
                QStringList lines;
                for (unsigned i = 0; i < sub.num_rects; ++i)
                    if (sub.rects[i]->ass)
                        lines << plainText(sub.rects[i]->ass);
                const int64_t start = toMs(packet->pts, st->time_base);
                const int64_t end = packet->duration > 0 ? toMs(packet->pts + packet->duration, st->time_base)
                                                         : start + sub.end_display_time;
                const QString text = lines.join(QLatin1Char('\n')).trimmed();
                if (!text.isEmpty())
                    track.cues_.push_back({start, end, text});
                avsubtitle_free(&sub);
            }
        }
        av_packet_unref(packet.get());
    }
    if (track.cues_.empty())
        fail(path, QStringLiteral("no captions in it"));
    std::stable_sort(track.cues_.begin(), track.cues_.end(),
                     [](const CaptionCue& a, const CaptionCue& b) { return a.startMs < b.startMs; });
    return track;
}

QString CaptionTrack::textAt(int64_t ms) const
{
    QStringList shown;
    for (const CaptionCue& cue : cues_) {
        if (cue.startMs > ms)
            break;
        if (ms < cue.endMs)
            shown << cue.text;
    }
    return shown.join(QLatin1Char('\n'));
}

QString findCaptionFile(const QString& videoPath)
{
    const QFileInfo video(videoPath);
    const QDir folder = video.absoluteDir();
    const QString base = video.completeBaseName();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const char* suffix : {".srt", ".vtt"}) {
        const QString wanted = base + QLatin1String(suffix);
        // An exact spelling wins over one that differs in case.
        if (names.contains(wanted))
            return folder.filePath(wanted);
        for (const QString& name : names)
            if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                return folder.filePath(name);
    }
    return {};
}

} // namespace hw
