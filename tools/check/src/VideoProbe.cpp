#include "VideoProbe.h"

#include "hw/media/TMediaPlayer.h"

#include <QFile>

extern "C" {
#include <libavformat/avformat.h>
}

namespace hw::check {
namespace {

// The stream's frame rate from the container headers alone, or 0.
double headerFrameRate(const QString& path)
{
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return 0;
    double fps = 0;
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            fps = av_q2d(rate);
        break;
    }
    avformat_close_input(&fmt);
    return fps;
}

} // namespace

VideoProbe probeVideo(const QString& absolutePath)
{
    VideoProbe probe;
    try {
        TMediaPlayer player;
        player.setNotify(false);
        player.setFileName(absolutePath);
        player.Open();
        probe.facts.length = player.Length();
        player.Close();
        probe.opened = true;
    } catch (const Exception& e) {
        probe.error = e.message();
        return probe;
    }
    probe.facts.fps = headerFrameRate(absolutePath);
    return probe;
}

} // namespace hw::check
