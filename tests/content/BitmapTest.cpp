#include "hw/content/Bitmap.h"

#include "BmpBuilder.h"
#include "TempTree.h"
#include "hw/Exception.h"

#include <QDirIterator>
#include <gtest/gtest.h>

using namespace hw::test;

namespace {

QString errorOf(const QByteArray& bytes)
{
    try {
        hw::decodeBitmap(bytes);
    } catch (const hw::EContentError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

const QString kStreamRead = QStringLiteral("Stream read error");
const QString kNotValid = QStringLiteral("Bitmap image is not valid");

// A colour that depends on position, for pictures with a full colour depth.
QRgb colourAt(int x, int y)
{
    return qRgb((x * 40 + y) & 0xFF, (y * 50 + 7) & 0xFF, (x * y * 3 + 100) & 0xFF);
}

void expectPixels(const QImage& image, int w, int h, const std::function<QRgb(int, int)>& expected)
{
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.width(), w);
    ASSERT_EQ(image.height(), h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(image.pixel(x, y), expected(x, y)) << "at " << x << "," << y;
}

BmpSpec indexed(int bitCount, int w, int h, bool topDown, int headerSize = 40)
{
    BmpSpec s;
    s.headerSize = headerSize;
    s.width = w;
    s.height = h;
    s.topDown = topDown;
    s.bitCount = bitCount;
    s.palette = rampPalette(1 << bitCount);
    s.pixels = encodeRows(w, h, bitCount, topDown,
                          [bitCount](int x, int y) { return uint32_t(x * 3 + y * 5) % (1u << bitCount); });
    return s;
}

BmpSpec trueColour24(int w, int h, bool topDown = false)
{
    BmpSpec s;
    s.width = w;
    s.height = h;
    s.topDown = topDown;
    s.pixels = encodeRows(w, h, 24, topDown, [](int x, int y) { return colourAt(x, y) & 0xFFFFFF; });
    return s;
}

} // namespace

TEST(Bitmap, FileOutcomes)
{
    TempTree t;
    // Missing file and folder: the message names the path as the caller built it.
    try {
        hw::loadBitmapFile(t.path(QStringLiteral("Flies/Adams.bmp")), QStringLiteral("Flies\\Adams.bmp"));
        ADD_FAILURE() << "a missing file loaded";
    } catch (const hw::EContentError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file Flies\\Adams.bmp"));
    }
    t.mkdir(QStringLiteral("Flies/Folder.bmp"));
    EXPECT_THROW(
        hw::loadBitmapFile(t.path(QStringLiteral("Flies/Folder.bmp")), QStringLiteral("Flies\\Folder.bmp")),
        hw::EContentError);
    EXPECT_THROW(hw::loadBitmapFile(QString(), QStringLiteral("Flies\\X.bmp")), hw::EContentError);

    // An empty file is an empty picture.
    t.write(QStringLiteral("empty.bmp"), QByteArray());
    EXPECT_TRUE(
        hw::loadBitmapFile(t.path(QStringLiteral("empty.bmp")), QStringLiteral("empty.bmp")).isNull());
    EXPECT_TRUE(hw::decodeBitmap(QByteArray()).isNull());

    // A valid file read from disk.
    t.write(QStringLiteral("ok.bmp"), buildBmp(trueColour24(5, 3)));
    const QImage ok = hw::loadBitmapFile(t.path(QStringLiteral("ok.bmp")), QStringLiteral("ok.bmp"));
    EXPECT_EQ(ok.size(), QSize(5, 3));
    EXPECT_EQ(ok.pixel(4, 2), colourAt(4, 2));
}

TEST(Bitmap, ShortAndForeignFiles)
{
    // One to thirteen bytes cannot hold the file header, whatever they are.
    const QByteArray valid = buildBmp(trueColour24(2, 2));
    for (int n = 1; n <= 13; ++n) {
        EXPECT_EQ(errorOf(valid.left(n)), kStreamRead) << n;
        EXPECT_EQ(errorOf(QByteArray(n, 'x')), kStreamRead) << n;
    }
    // From fourteen bytes on, anything that does not start with BM is no bitmap.
    EXPECT_EQ(errorOf(QByteArray(14, 'x')), kNotValid);
    EXPECT_EQ(errorOf("bm" + valid.mid(2)), kNotValid);
    EXPECT_EQ(errorOf(QByteArray("\x89PNG\r\n\x1a\n") + QByteArray(100, '\0')), kNotValid);
    // BM, then the file ends inside a header, the palette or the pixels.
    EXPECT_EQ(errorOf(valid.left(14)), kStreamRead);
    EXPECT_EQ(errorOf(valid.left(20)), kStreamRead);
    EXPECT_EQ(errorOf(valid.left(53)), kStreamRead);
    EXPECT_EQ(errorOf(valid.left(valid.size() - 1)), kStreamRead);
    const QByteArray paletted = buildBmp(indexed(8, 4, 4, false));
    EXPECT_EQ(errorOf(paletted.left(54 + 100)), kStreamRead);
}

TEST(Bitmap, DamagedHeadersAreRefusedBeforeAllocating)
{
    const QByteArray good = buildBmp(trueColour24(4, 4));
    auto patched = [&](qsizetype at, uint32_t v) {
        QByteArray b = good;
        setU32(b, at, v);
        return b;
    };
    auto patched16 = [&](qsizetype at, uint16_t v) {
        QByteArray b = good;
        b[at] = char(v & 0xFF);
        b[at + 1] = char(v >> 8);
        return b;
    };
    EXPECT_EQ(errorOf(patched(14, 41)), kNotValid); // header size
    EXPECT_EQ(errorOf(patched(14, 0xFFFFFFFF)), kNotValid);
    EXPECT_EQ(errorOf(patched(18, 0)), kNotValid); // width
    EXPECT_EQ(errorOf(patched(18, uint32_t(-4))), kNotValid);
    EXPECT_EQ(errorOf(patched(22, 0)), kNotValid); // height
    EXPECT_EQ(errorOf(patched(22, 0x80000000)), kNotValid);
    EXPECT_EQ(errorOf(patched16(28, 7)), kNotValid); // bits per pixel
    EXPECT_EQ(errorOf(patched16(28, 0)), kNotValid);
    EXPECT_EQ(errorOf(patched(30, 4)), kNotValid); // JPEG inside
    EXPECT_EQ(errorOf(patched(30, 5)), kNotValid); // PNG inside
    EXPECT_EQ(errorOf(patched(30, 99)), kNotValid);
    EXPECT_EQ(errorOf(patched(30, 1)), kNotValid);  // RLE8 with 24 bits
    EXPECT_EQ(errorOf(patched(10, 20)), kNotValid); // pixels inside the headers
    // Huge dimensions: refused as invalid, not read and not allocated.
    EXPECT_EQ(errorOf(patched(18, 0x7FFFFFFF)), kNotValid);
    EXPECT_EQ(errorOf(patched(22, 0x7FFFFFFF)), kNotValid);
    EXPECT_EQ(errorOf(patched(22, uint32_t(-0x7FFFFFFF))), kNotValid);
    {
        QByteArray b = patched(18, 30000);
        setU32(b, 22, 30000);
        EXPECT_EQ(errorOf(b), kNotValid);
    }
    // Within the limits but beyond the file: the pixels are missing.
    EXPECT_EQ(errorOf(patched(18, 4000)), kStreamRead);
    // Run-length pictures are stored bottom-up only.
    BmpSpec rle = indexed(8, 2, 2, true);
    rle.compression = 1;
    rle.pixels = bytes({2, 1, 0, 0, 2, 1, 0, 1});
    EXPECT_EQ(errorOf(buildBmp(rle)), kNotValid);
    // Bit fields only for 16 and 32 bits, with contiguous masks.
    BmpSpec fields = trueColour24(2, 2);
    fields.compression = 3;
    fields.masks = {0xFF0000, 0xFF00, 0xFF};
    EXPECT_EQ(errorOf(buildBmp(fields)), kNotValid);
    fields.bitCount = 32;
    fields.pixels = QByteArray(16, '\0');
    EXPECT_FALSE(hw::decodeBitmap(buildBmp(fields)).isNull());
    fields.masks = {0xF0F000, 0xFF00, 0xFF};
    EXPECT_EQ(errorOf(buildBmp(fields)), kNotValid);
    // The core header knows no 16 or 32 bits.
    BmpSpec core = indexed(8, 2, 2, false, 12);
    core.bitCount = 16;
    EXPECT_EQ(errorOf(buildBmp(core)), kNotValid);
}

TEST(Bitmap, DecodesPalettedDepthsAndHeaderKinds)
{
    for (int headerSize : {12, 40, 108, 124}) {
        for (int bits : {1, 4, 8}) {
            for (bool topDown : {false, true}) {
                if (headerSize == 12 && topDown)
                    continue; // the core header has no sign for the height
                SCOPED_TRACE(testing::Message() << headerSize << " " << bits << " " << topDown);
                const BmpSpec s = indexed(bits, 13, 5, topDown, headerSize);
                const QImage image = hw::decodeBitmap(buildBmp(s));
                expectPixels(image, 13, 5, [&](int x, int y) {
                    return s.palette[size_t(uint32_t(x * 3 + y * 5) % (1u << bits))];
                });
            }
        }
    }
    // A shorter colour table: indices beyond it are black.
    BmpSpec s = indexed(8, 9, 3, false);
    s.colorsUsed = 4;
    s.palette.resize(4);
    expectPixels(hw::decodeBitmap(buildBmp(s)), 9, 3, [&](int x, int y) {
        const uint32_t i = uint32_t(x * 3 + y * 5) % 256;
        return i < 4 ? s.palette[i] : qRgb(0, 0, 0);
    });
}

TEST(Bitmap, DecodesTrueColourDepthsAndBitFields)
{
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown);
        // 24 bits with an odd width, so rows carry padding.
        expectPixels(hw::decodeBitmap(buildBmp(trueColour24(7, 4, topDown))), 7, 4, colourAt);
        // 32 bits, no compression: the fourth byte is unused.
        BmpSpec s32 = trueColour24(5, 3, topDown);
        s32.bitCount = 32;
        s32.pixels = encodeRows(5, 3, 32, topDown,
                                [](int x, int y) { return (colourAt(x, y) & 0x00FFFFFF) | 0x55000000; });
        expectPixels(hw::decodeBitmap(buildBmp(s32)), 5, 3, colourAt);
    }
    // 16 bits default to 5-5-5.
    BmpSpec s16 = trueColour24(3, 2);
    s16.bitCount = 16;
    s16.pixels = encodeRows(3, 2, 16, false,
                            [](int x, int y) { return uint32_t((x * 10) << 10 | (y * 31) << 5 | 31); });
    auto five = [](uint32_t v) { return (v * 255 + 15) / 31; };
    expectPixels(hw::decodeBitmap(buildBmp(s16)), 3, 2,
                 [&](int x, int y) { return qRgb(int(five(x * 10)), int(five(y * 31)), 255); });
    // 16 bits 5-6-5 through bit fields, in an info header and in V4 and V5 headers.
    for (int headerSize : {40, 52, 108, 124}) {
        SCOPED_TRACE(headerSize);
        BmpSpec s = s16;
        s.headerSize = headerSize;
        s.compression = 3;
        s.masks = {0xF800, 0x07E0, 0x001F};
        s.pixels = encodeRows(3, 2, 16, false,
                              [](int x, int y) { return uint32_t((x * 15) << 11 | (y * 63) << 5 | 0); });
        expectPixels(hw::decodeBitmap(buildBmp(s)), 3, 2,
                     [&](int x, int y) { return qRgb(int(five(x * 15)), int((y * 63 * 255 + 31) / 63), 0); });
    }
    // 32 bits with the channels in another order, and one channel missing.
    BmpSpec s = trueColour24(4, 2);
    s.bitCount = 32;
    s.compression = 3;
    s.masks = {0x000000FF, 0x0000FF00, 0};
    s.pixels = encodeRows(4, 2, 32, false,
                          [](int x, int y) { return uint32_t(x * 50 | (y * 90) << 8 | 0xAB0000); });
    expectPixels(hw::decodeBitmap(buildBmp(s)), 4, 2, [](int x, int y) { return qRgb(x * 50, y * 90, 0); });
}

TEST(Bitmap, DecodesRunLengthPictures)
{
    // RLE8, 6 x 3: a run, an odd absolute run with its padding byte, a line end, a move,
    // and the end mark; pixels no record reaches keep colour 0.
    BmpSpec s = indexed(8, 6, 3, false);
    s.compression = 1;
    s.pixels = bytes({3, 5,             // row 0 (bottom): 5 5 5
                      0, 3, 7, 8, 9, 0, // 7 8 9, padded
                      0, 0,             // end of line
                      0, 2, 2, 1,       // move 2 right, 1 up: row 2, x 2
                      2, 4,             // 4 4
                      0, 1});           // end of picture
    s.sizeImage = uint32_t(s.pixels.size());
    const QByteArray rle8 = buildBmp(s);
    const std::vector<int> expected8 = {0, 0, 4, 4, 0, 0,  // top row (row 2)
                                        0, 0, 0, 0, 0, 0,  // row 1
                                        5, 5, 5, 7, 8, 9}; // bottom row
    expectPixels(hw::decodeBitmap(rle8), 6, 3,
                 [&](int x, int y) { return s.palette[size_t(expected8[size_t(y * 6 + x)])]; });

    // RLE4, 7 x 2: runs alternate the two nibbles; absolute runs take nibbles in order.
    BmpSpec f = indexed(4, 7, 2, false);
    f.compression = 2;
    f.pixels = bytes({5, 0x12,                // 1 2 1 2 1
                      2, 0x33,                // 3 3
                      0, 0, 0, 3, 0x34, 0x50, // 3 4 5, padded to two bytes
                      4, 0xAB,                // A B A B
                      0, 1});
    const QByteArray rle4 = buildBmp(f);
    const std::vector<int> expected4 = {3, 4, 5, 10, 11, 10, 11, 1, 2, 1, 2, 1, 3, 3};
    expectPixels(hw::decodeBitmap(rle4), 7, 2,
                 [&](int x, int y) { return f.palette[size_t(expected4[size_t(y * 7 + x)])]; });
    // Qt's own reader agrees where every pixel is written (it leaves the others undefined).
    EXPECT_EQ(hw::decodeBitmap(rle4), QImage::fromData(rle4, "BMP").convertToFormat(QImage::Format_RGB32));

    // Absolute runs of 5 and 6 pixels take three bytes each, padded to four, and records
    // follow them (with the 3-pixel run above, that tells every padding rule apart; a run
    // of fewer than 3 pixels cannot be written: codes 0 to 2 are the escapes).
    BmpSpec odd = indexed(4, 13, 1, false);
    odd.compression = 2;
    odd.pixels = bytes({0, 5, 0x12, 0x34, 0x50, 0x00, // 1 2 3 4 5, padded
                        0, 6, 0x67, 0x89, 0xAB, 0x00, // 6 7 8 9 A B, padded
                        2, 0xCC,                      // C C
                        0, 1});
    const QByteArray rleOdd = buildBmp(odd);
    expectPixels(hw::decodeBitmap(rleOdd), 13, 1,
                 [&](int x, int) { return odd.palette[size_t(std::min(x + 1, 12))]; });
    EXPECT_EQ(hw::decodeBitmap(rleOdd),
              QImage::fromData(rleOdd, "BMP").convertToFormat(QImage::Format_RGB32));
}

TEST(Bitmap, DamagedRunLengthData)
{
    BmpSpec s = indexed(8, 4, 2, false);
    s.compression = 1;
    auto withData = [&](const QByteArray& data, uint32_t sizeImage = 0) {
        BmpSpec c = s;
        c.pixels = data;
        c.sizeImage = sizeImage;
        return buildBmp(c);
    };
    // Data that stops inside a record, or is shorter than the header says.
    EXPECT_EQ(errorOf(withData(bytes({2}))), kStreamRead);
    EXPECT_EQ(errorOf(withData(bytes({0, 2, 1}))), kStreamRead);
    EXPECT_EQ(errorOf(withData(bytes({0, 5, 1, 2}))), kStreamRead);
    EXPECT_EQ(errorOf(withData(bytes({2, 1, 0, 1}), 100)), kStreamRead);
    // Runs and moves beyond the picture are clipped; data without an end mark ends it.
    const QImage clipped
        = hw::decodeBitmap(withData(bytes({255, 1, 0, 6, 1, 2, 3, 4, 5, 6, 0, 2, 255, 255, 3, 7})));
    ASSERT_EQ(clipped.size(), QSize(4, 2));
    EXPECT_EQ(clipped.pixel(3, 1), s.palette[1]);
    EXPECT_EQ(clipped.pixel(0, 0), s.palette[0]);
    EXPECT_FALSE(hw::decodeBitmap(withData(bytes({4, 2}))).isNull());
    EXPECT_FALSE(hw::decodeBitmap(withData(QByteArray())).isNull());
}

TEST(Bitmap, RegressionFilesFailCleanly)
{
    // Hostile files (huge dimensions in a few bytes, offsets and runs past the end, sizes that
    // overflow): each must give an error, never a crash or a large allocation.
    QDirIterator it(QStringLiteral(HW_CONTENT_TEST_DATA), {QStringLiteral("*.bmp")}, QDir::Files);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        SCOPED_TRACE(path.toStdString());
        EXPECT_THROW(hw::loadBitmapFile(path, it.fileName()), hw::EContentError);
        ++count;
    }
    EXPECT_GT(count, 0);
}
