#include "FlashBeepClips.h"

#include <QProcess>
#include <QStringList>

namespace bench {

namespace {

QString ffmpeg(const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("ffmpeg"),
            QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"),
                        QStringLiteral("-y")}
                + args);
    if (!p.waitForStarted())
        return QStringLiteral("cannot run ffmpeg");
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("ffmpeg failed: ") + QString::fromLocal8Bit(p.readAll()).trimmed();
    return {};
}

QStringList flashBeepInputs(const QString& size, int seconds)
{
    const QString duration = QString::number(seconds);
    // The beep counts samples, not seconds, so that it starts exactly on its frame's time.
    const int flashSamples = kBeepRate * kFlashEvery / kClipFps;
    const int beepSamples = kBeepRate / 25;
    return {
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("color=c=black:s=%1:r=%2:d=%3,drawbox=c=white:t=fill:enable='eq(mod(n,%4),0)'")
            .arg(size)
            .arg(kClipFps)
            .arg(duration)
            .arg(kFlashEvery),
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("aevalsrc=exprs='if(lt(mod(n,%1),%2),0.5*cos(2*PI*1000*n/%3),0)':c=stereo:s=%3:d=%4")
            .arg(flashSamples)
            .arg(beepSamples)
            .arg(kBeepRate)
            .arg(duration)};
}

const QStringList kMjpeg{QStringLiteral("-c:v"), QStringLiteral("mjpeg"),    QStringLiteral("-q:v"),
                         QStringLiteral("3"),    QStringLiteral("-pix_fmt"), QStringLiteral("yuvj420p")};

} // namespace

QString makeLessonClip(const QString& path, int seconds)
{
    return ffmpeg(flashBeepInputs(QStringLiteral("320x240"), seconds) + kMjpeg
                  + QStringList{QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), path});
}

QString makeSmallMp3Clip(const QString& path, int seconds)
{
    return ffmpeg(flashBeepInputs(QStringLiteral("64x48"), seconds) + kMjpeg
                  + QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-b:a"),
                                QStringLiteral("128k"), path});
}

QString makeLooped(const QString& from, const QString& path, int rounds)
{
    return ffmpeg({QStringLiteral("-stream_loop"), QString::number(rounds - 1), QStringLiteral("-i"), from,
                   QStringLiteral("-c"), QStringLiteral("copy"), path});
}

QString makePicturesOnly(const QString& from, const QString& path)
{
    return ffmpeg({QStringLiteral("-i"), from, QStringLiteral("-an"), QStringLiteral("-c:v"),
                   QStringLiteral("copy"), path});
}

} // namespace bench
