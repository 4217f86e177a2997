// The artwork generator: what make-artwork would write, checked against the same promises
// as the committed pictures, and the bitmap writer against the program's own decoder.
#include "BmpHeader.h"

#include "hw/artwork/Artwork.h"
#include "hw/artwork/BmpWriter.h"
#include "hw/assets/Assets.h"
#include "hw/content/Bitmap.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Artwork, GeneratorListsTheCommittedSet)
{
    const QList<hw::ArtworkPicture> pictures = hw::artworkPictures();
    ASSERT_EQ(pictures.size(), 25);
    hw::initAssets();
    for (const hw::ArtworkPicture& p : pictures) {
        SCOPED_TRACE(p.path.toStdString());
        QFile committed(QStringLiteral(":/") + p.path);
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
        const hw::test::BmpHeader h = hw::test::readBmpHeader(committed.readAll());
        EXPECT_EQ(QSize(h.width, h.height), p.size);
        EXPECT_EQ(h.xPixelsPerMetre, p.pixelsPerMetre);
        EXPECT_EQ(p.pixelsPerMetre, p.path.startsWith(QLatin1String("recipes/")) ? 11808 : 3780);
    }
    EXPECT_TRUE(hw::renderArtwork(QStringLiteral("artwork/NoSuchPicture.bmp")).isNull());
}

TEST(Artwork, WriteArtworkProducesEveryPictureAtItsSize)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(hw::writeArtwork(dir.path(), &error)) << error.toStdString();
    for (const hw::ArtworkPicture& p : hw::artworkPictures()) {
        SCOPED_TRACE(p.path.toStdString());
        QFile file(dir.filePath(p.path));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const hw::test::BmpHeader h = hw::test::readBmpHeader(file.readAll());
        EXPECT_EQ(QSize(h.width, h.height), p.size);
        EXPECT_EQ(h.bitsPerPixel, 24);
        EXPECT_EQ(h.compression, 0u);
    }
    // An unwritable destination is reported, not ignored.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(hw::writeArtwork(dir.filePath(QStringLiteral("blocked")), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Widths whose rows need padding (301 pixels = 903 bytes) round-trip through the decoder
// that reads the content's pictures.
TEST(Artwork, BitmapWriterRoundTripsThroughTheContentDecoder)
{
    for (const QSize size : {QSize(301, 3), QSize(1, 1), QSize(4, 2), QSize(7, 5)}) {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x * 7 % 256, y * 53 % 256, (x + y) * 11 % 256));
        const QByteArray bytes = hw::encodeBmp24(image, hw::kPrintPixelsPerMetre);
        const hw::test::BmpHeader h = hw::test::readBmpHeader(bytes);
        EXPECT_EQ(h.xPixelsPerMetre, 11808);
        EXPECT_EQ(qsizetype(h.fileSize), bytes.size());
        const QImage decoded = hw::decodeBitmap(bytes).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(decoded.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(decoded.pixel(x, y), image.pixel(x, y)) << x << "," << y;
    }
}
