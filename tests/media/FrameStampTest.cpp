#include "hw/clips/FrameStamp.h"
#include "hw/clips/StampedFrame.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

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

// Largest change of any colour channel between two pictures, and whether anything changed
// outside rect.
int largestChange(const QImage& a, const QImage& b, const QRect& rect, bool* outside)
{
    int change = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d && !rect.contains(x, y))
                *outside = true;
            change = std::max(change, d);
        }
    return change;
}

} // namespace

// The stamp reads back and stays in the picture's own colours: only the last rows change,
// and by no more than a faint step (a viewer must not see a bar).
TEST(FrameStamp, RoundTripsEveryBitPatternInThePicturesColours)
{
    const QRect band = hw::frameStampRect(QSize(320, 240));
    EXPECT_EQ(band, QRect(0, 232, 320, 8));
    for (const auto& [contrast, swing] :
         {std::pair(hw::StampContrast::Standard, 12), std::pair(hw::StampContrast::Faint, 6)})
        for (int32_t n : {0, 1, 2, 7, 255, 299, 1000, 65535, 524287, 1048575}) {
            QImage img(320, 240, QImage::Format_RGB32);
            img.fill(QColor(70, 110, 60));
            const QImage before = img;
            hw::drawFrameStamp(img, n, contrast);
            EXPECT_EQ(hw::readFrameStamp(img), n) << n;
            bool outside = false;
            EXPECT_LE(largestChange(img, before, band, &outside), swing) << n;
            EXPECT_FALSE(outside) << n;
            // The faint stamp is for clips coded frame by frame at good quality.
            EXPECT_EQ(hw::readFrameStamp(throughJpeg(img, 75)), n) << n;
        }
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
    EXPECT_EQ(hw::readFrameStamp(
                  throughJpeg(frame.scaled(480, 360, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 40)),
              4321);

    // Pillar-boxed and letter-boxed in black, as a display of another aspect shows it.
    for (QSize outer : {QSize(500, 240), QSize(320, 400), QSize(640, 300)}) {
        QImage boxed(outer, QImage::Format_RGB32);
        boxed.fill(Qt::black);
        const QImage inner = frame.scaled(outer, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&boxed).drawImage((outer.width() - inner.width()) / 2, (outer.height() - inner.height()) / 2,
                                   inner);
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

    // A data cell read the wrong way round fails the check; one smeared flat is recovered.
    QImage img = hw::makeStampedFrame(QSize(320, 240), 10);
    const QRect band = hw::frameStampRect(img.size());
    const QRect cell(5 * 8, band.top(), 8, band.height());
    QImage flipped = img;
    QPainter(&flipped).drawImage(cell.topLeft(), img.copy(cell).mirrored(false, true));
    EXPECT_FALSE(hw::readFrameStamp(flipped));
    QImage smeared = img;
    QPainter(&smeared).fillRect(cell, img.pixel(cell.center()));
    EXPECT_EQ(hw::readFrameStamp(smeared), 10);
}
