#include "hw/clips/FrameStamp.h"
#include "hw/clips/StampedFrame.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage throughJpeg(const QImage& img, int quality)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPG", quality);
    QImage back;
    back.loadFromData(bytes, "JPG");
    return back;
}

} // namespace

TEST(FrameStamp, RoundTripsEveryBitPattern)
{
    for (int32_t n : {0, 1, 2, 7, 255, 299, 1000, 65535, 524287, 1048575}) {
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        hw::drawFrameStamp(img, n);
        EXPECT_EQ(hw::readFrameStamp(img), n) << n;
    }
    const QRect strip = hw::frameStampRect(QSize(320, 240));
    EXPECT_EQ(strip.bottom(), 239);
    EXPECT_EQ(strip.width(), 320);
    EXPECT_GE(strip.height(), 12);
}

TEST(FrameStamp, SurvivesScalingLossyCompressionAndBorders)
{
    const QImage frame = hw::makeStampedFrame(QSize(320, 240), 4321);
    ASSERT_EQ(hw::readFrameStamp(frame), 4321);

    for (double f : {0.5, 0.75, 1.37, 1.5, 2.0}) {
        const QImage scaled = frame.scaled(frame.size() * f, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_EQ(hw::readFrameStamp(scaled), 4321) << f;
    }
    EXPECT_EQ(hw::readFrameStamp(throughJpeg(frame, 25)), 4321);
    EXPECT_EQ(hw::readFrameStamp(throughJpeg(frame.scaled(480, 360, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 40)), 4321);

    // Pillar-boxed and letter-boxed in black, as a display of another aspect shows it.
    for (QSize outer : {QSize(500, 240), QSize(320, 400), QSize(640, 300)}) {
        QImage boxed(outer, QImage::Format_RGB32);
        boxed.fill(Qt::black);
        const QImage inner = frame.scaled(outer, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&boxed).drawImage((outer.width() - inner.width()) / 2, (outer.height() - inner.height()) / 2, inner);
        EXPECT_EQ(hw::readFrameStamp(boxed), 4321) << outer.width() << "x" << outer.height();
    }
}

TEST(FrameStamp, RejectsPicturesWithoutAStamp)
{
    QImage plain(320, 240, QImage::Format_RGB32);
    plain.fill(Qt::gray);
    EXPECT_FALSE(hw::readFrameStamp(plain));
    plain.fill(Qt::black);
    EXPECT_FALSE(hw::readFrameStamp(plain));
    EXPECT_FALSE(hw::readFrameStamp(QImage()));

    // One flipped data cell breaks the parity.
    QImage img = hw::makeStampedFrame(QSize(320, 240), 10);
    const QRect strip = hw::frameStampRect(img.size());
    QPainter(&img).fillRect(QRect(5 * 320 / 24 + 2, strip.top(), 8, strip.height()), Qt::white);
    EXPECT_FALSE(hw::readFrameStamp(img));
}
