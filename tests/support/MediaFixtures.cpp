#include "MediaFixtures.h"

#include "BuiltTools.h"
#include "ClipReader.h"
#include "hw/clips/FrameStamp.h"
#include "hw/clips/StampedFrame.h"
#include "hw/media/LibavHandles.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

#include <gtest/gtest.h>

namespace hw::test {

QString writeClip(const QString& path, const ClipFormat& format, int frames,
                  const std::function<QImage(int)>& picture, const std::set<int>& empty)
{
    ClipWriter writer;
    bool ok = writer.open(path, format);
    for (int n = 0; ok && n < frames; ++n)
        ok = empty.count(n) ? writer.addEmptyFrame() : writer.addFrame(picture(n));
    ok = ok && writer.finish();
    return ok ? QString() : writer.errorText() + QStringLiteral(" (") + path + QLatin1Char(')');
}

bool writeStampedClip(const QString& path, const ClipFormat& format, int frames, const std::set<int>& empty)
{
    return writeClip(
               path, format, frames, [&](int n) { return makeStampedFrame(format.size, n); }, empty)
        .isEmpty();
}

bool haveFfmpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

bool ffmpegStampedClip(const QString& path, int frames, const QStringList& codecArgs, QSize size, int fps)
{
    return ffmpegClip(
        path, frames, [size](int n) { return makeStampedFrame(size, n); }, codecArgs, size, fps);
}

bool ffmpegClip(const QString& path, int frames, const std::function<QImage(int)>& picture,
                const QStringList& codecArgs, QSize size, int fps)
{
    if (!haveFfmpeg())
        return false;
    QProcess ff;
    QStringList args{QStringLiteral("-v"),
                     QStringLiteral("error"),
                     QStringLiteral("-y"),
                     QStringLiteral("-f"),
                     QStringLiteral("rawvideo"),
                     QStringLiteral("-pix_fmt"),
                     QStringLiteral("bgra"),
                     QStringLiteral("-s"),
                     QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                     QStringLiteral("-r"),
                     QString::number(fps),
                     QStringLiteral("-i"),
                     QStringLiteral("-")};
    args += codecArgs;
    args << path;
    ff.start(QStringLiteral("ffmpeg"), args);
    if (!ff.waitForStarted(20000))
        return false;
    for (int n = 0; n < frames; ++n) {
        const QImage img = picture(n).convertToFormat(QImage::Format_ARGB32);
        if (img.size() != size)
            return false;
        ff.write(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        while (ff.bytesToWrite() > (4 << 20))
            ff.waitForBytesWritten(20000);
    }
    ff.closeWriteChannel();
    return ff.waitForFinished(120000) && ff.exitStatus() == QProcess::NormalExit && ff.exitCode() == 0;
}

bool remuxToMp4(const QString& from, const QString& to, const std::vector<int32_t>& displayMatrix,
                bool pixelShapeInContainer)
{
    hw::media::LibavPtr<AVFormatContext> in;
    hw::media::OutputFormatPtr out;
    const hw::media::LibavPtr<AVPacket> packet(av_packet_alloc());
    AVFormatContext* made = nullptr;
    bool ok = avformat_open_input(&made, QFile::encodeName(from).constData(), nullptr, nullptr) >= 0;
    in.reset(made);
    made = nullptr;
    ok = ok && avformat_find_stream_info(in.get(), nullptr) >= 0
        && avformat_alloc_output_context2(&made, nullptr, "mp4", QFile::encodeName(to).constData()) >= 0;
    out.reset(made);
    for (unsigned i = 0; ok && i < in->nb_streams; ++i) {
        AVStream* st = avformat_new_stream(out.get(), nullptr);
        ok = st && avcodec_parameters_copy(st->codecpar, in->streams[i]->codecpar) >= 0;
        if (!ok)
            break;
        st->codecpar->codec_tag = 0;
        st->time_base = in->streams[i]->time_base;
        if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        // The muxer writes the codec's pixel shape into the container.
        if (!pixelShapeInContainer)
            st->codecpar->sample_aspect_ratio = AVRational{0, 1};
        if (displayMatrix.size() == 9) {
            const size_t bytes = 9 * sizeof(int32_t);
            uint8_t* side = av_stream_new_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, bytes);
            ok = side != nullptr;
            if (ok)
                memcpy(side, displayMatrix.data(), bytes);
        }
    }
    ok = ok && avio_open(&out->pb, QFile::encodeName(to).constData(), AVIO_FLAG_WRITE) >= 0
        && avformat_write_header(out.get(), nullptr) >= 0;
    while (ok && av_read_frame(in.get(), packet.get()) >= 0) {
        av_packet_rescale_ts(packet.get(), in->streams[packet->stream_index]->time_base,
                             out->streams[packet->stream_index]->time_base);
        ok = av_interleaved_write_frame(out.get(), packet.get()) >= 0;
        av_packet_unref(packet.get());
    }
    ok = ok && av_write_trailer(out.get()) >= 0;
    out.reset(); // closes the file before it is read back
    const ClipFacts written = ok ? probeClip(to) : ClipFacts{};
    return written.opened && written.displayMatrix == displayMatrix
        && (pixelShapeInContainer || written.containerPixelAspect == 0);
}

QImage ffmpegShownFrame(const QString& path, QSize size)
{
    const ProcessRun ff = runProcess(
        QStringLiteral("ffmpeg"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path, QStringLiteral("-vf"),
         QStringLiteral("scale=%1:%2").arg(size.width()).arg(size.height()), QStringLiteral("-frames:v"),
         QStringLiteral("1"), QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
         QStringLiteral("bgra"), QStringLiteral("-")});
    const QByteArray& data = ff.out;
    if (ff.exitCode != 0 || data.size() != qsizetype(size.width()) * size.height() * 4)
        return {};
    return QImage(reinterpret_cast<const uchar*>(data.constData()), size.width(), size.height(),
                  QImage::Format_ARGB32)
        .convertToFormat(QImage::Format_RGB32);
}

std::vector<int> ffmpegStamps(const QString& path, QSize size)
{
    std::vector<int> out;
    const QByteArray data
        = runProcess(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                      QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                      QStringLiteral("bgra"), QStringLiteral("-")})
              .out;
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 4;
    for (qsizetype off = 0; off + frameBytes <= data.size(); off += frameBytes) {
        QImage img(reinterpret_cast<const uchar*>(data.constData() + off), size.width(), size.height(),
                   QImage::Format_ARGB32);
        out.push_back(readFrameStamp(img.copy()).value_or(-1));
    }
    return out;
}

std::optional<int> stampOf(const QImage& picture)
{
    const auto v = readFrameStamp(picture);
    if (!v)
        return std::nullopt;
    return int(*v);
}

std::optional<int> displayStamp(const TMediaPlayer& player)
{
    if (!player.Display())
        return std::nullopt;
    return stampOf(player.Display()->grab().toImage());
}

void NoticeLog::attach(TMediaPlayer& player)
{
    player.OnNotify = [this, &player](QObject* sender) {
        EXPECT_EQ(sender, &player);
        values.push_back(player.NotifyValue());
    };
}

} // namespace hw::test
