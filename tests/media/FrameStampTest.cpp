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
    EXPECT_EQ(strip.height(), 8); // thin: the last rows only
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
    // A picture of its own (the stamped frame above its band) is not a stamp.
    const QImage picture = hw::makeStampedFrame(QSize(320, 240), 77);
    EXPECT_FALSE(hw::readFrameStamp(picture.copy(0, 0, 320, hw::frameStampRect(picture.size()).top())));

    // One cell with its halves swapped breaks the check.
    QImage img = hw::makeStampedFrame(QSize(320, 240), 10);
    const QRect band = hw::frameStampRect(img.size());
    const QRect cell(5 * 8, band.top(), 8, band.height() / 2);
    const QImage upper = img.copy(cell);
    QPainter p(&img);
    p.drawImage(cell.topLeft(), img.copy(cell.translated(0, cell.height())));
    p.drawImage(cell.topLeft() + QPoint(0, cell.height()), upper);
    p.end();
    EXPECT_FALSE(hw::readFrameStamp(img));
}

// The band keeps the picture's own colours: on a smooth picture no pixel's brightness moves
// by more than a small step, so a viewer does not see it.
TEST(FrameStamp, StaysOutOfTheViewersSight)
{
    QImage img(320, 240, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient sky(0, 0, 320, 240);
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(1, QColor(160, 110, 60));
    p.fillRect(img.rect(), sky);
    p.end();
    QImage stamped = img;
    hw::drawFrameStamp(stamped, 123456);
    ASSERT_EQ(hw::readFrameStamp(stamped), 123456);
    int worst = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            worst = std::max(worst, std::abs(qGray(stamped.pixel(x, y)) - qGray(img.pixel(x, y))));
    EXPECT_LE(worst, 12);
}
