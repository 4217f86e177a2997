#include "MediaFixtures.h"

#include "hw/clips/FrameStamp.h"
#include "hw/clips/StampedFrame.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace hw::test {

bool writeStampedClip(const QString& path, const ClipFormat& format, int frames, const std::set<int>& empty)
{
    ClipWriter writer;
    if (!writer.open(path, format))
        return false;
    for (int n = 0; n < frames; ++n) {
        const bool ok
            = empty.count(n) ? writer.addEmptyFrame() : writer.addFrame(makeStampedFrame(format.size, n));
        if (!ok)
            return false;
    }
    return writer.finish();
}

bool haveFfmpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

bool ffmpegStampedClip(const QString& path, int frames, const QStringList& codecArgs, QSize size, int fps)
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
        const QImage img = makeStampedFrame(size, n).convertToFormat(QImage::Format_ARGB32);
        ff.write(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes());
        while (ff.bytesToWrite() > (4 << 20))
            ff.waitForBytesWritten(20000);
    }
    ff.closeWriteChannel();
    return ff.waitForFinished(120000) && ff.exitStatus() == QProcess::NormalExit && ff.exitCode() == 0;
}

std::vector<int> ffmpegStamps(const QString& path, QSize size)
{
    std::vector<int> out;
    QProcess ff;
    ff.start(QStringLiteral("ffmpeg"),
             {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path, QStringLiteral("-f"),
              QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"), QStringLiteral("bgra"),
              QStringLiteral("-")});
    if (!ff.waitForFinished(120000))
        return out;
    const QByteArray data = ff.readAllStandardOutput();
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

bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    return QTest::qWaitFor(done, timeoutMs);
}

void NoticeLog::attach(TMediaPlayer& player)
{
    player.OnNotify = [this, &player](QObject* sender) {
        EXPECT_EQ(sender, &player);
        values.push_back(player.NotifyValue());
    };
}

} // namespace hw::test
