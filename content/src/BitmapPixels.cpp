#include "BitmapPixels.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace hw {
namespace {

// One colour channel of a bit-field pixel, scaled to eight bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m)
        : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    // 0..255.
    int operator()(uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        const uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return static_cast<int>(v >> (bits - 8));
        const uint32_t max = (1u << bits) - 1;
        return static_cast<int>((v * 255 + max / 2) / max);
    }
};

void decodeRows(const BitmapLayout& l, const uchar* pixels, QImage& image)
{
    const Channel red(l.masks[0]);
    const Channel green(l.masks[1]);
    const Channel blue(l.masks[2]);
    const bool plain32 = l.bitCount == 32 && l.masks[0] == 0x00FF0000 && l.masks[1] == 0x0000FF00
        && l.masks[2] == 0x000000FF;
    const QRgb* palette = l.palette.data();
    for (int32_t y = 0; y < l.height; ++y) {
        const uchar* src = pixels + qsizetype{l.topDown ? y : l.height - 1 - y} * l.rowStride;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int32_t w = l.width;
        switch (l.bitCount) {
        case 1:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = palette[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
            break;
        case 8:
            for (int32_t x = 0; x < w; ++x)
                dst[x] = palette[src[x]];
            break;
        case 16:
            for (int32_t x = 0; x < w; ++x) {
                const uint32_t p = uint32_t{src[2 * x]} | uint32_t{src[2 * x + 1]} << 8;
                dst[x] = qRgb(red(p), green(p), blue(p));
            }
            break;
        case 32:
            for (int32_t x = 0; x < w; ++x, src += 4) {
                const uint32_t p = uint32_t{src[0]} | uint32_t{src[1]} << 8 | uint32_t{src[2]} << 16
                    | uint32_t{src[3]} << 24;
                dst[x] = plain32 ? (0xFF000000u | p) : qRgb(red(p), green(p), blue(p));
            }
            break;
        }
    }
}

// Run-length data: pixels that land outside the picture are dropped, pixels that no
// record reaches keep colour 0, and data that ends without an end mark ends the picture.
void decodeRunLength(const BitmapLayout& l, const uchar* d, qsizetype size, QImage& image)
{
    const bool four = l.compression == BitmapCompression::Rle4;
    const QRgb* palette = l.palette.data();
    image.fill(palette[0]);
    int64_t x = 0;
    int64_t row = 0; // counted from the bottom
    qsizetype p = 0;
    auto put = [&](int index) {
        if (x < l.width && row < l.height)
            reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(l.height - 1 - row)))[x] = palette[index];
        ++x;
    };
    while (p < size && row < l.height) {
        if (size - p < 2)
            throwStreamReadError();
        const int count = d[p];
        const int code = d[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < l.width; ++i)
                put(four ? ((i & 1) ? (code & 0x0F) : (code >> 4)) : code);
            continue;
        }
        if (code == 0) { // end of line
            x = 0;
            ++row;
        } else if (code == 1) { // end of picture
            break;
        } else if (code == 2) { // move right and up
            if (size - p < 2)
                throwStreamReadError();
            x = std::min<int64_t>(x + d[p], l.width);
            row += d[p + 1];
            p += 2;
        } else { // code pixels taken as they stand, padded to an even number of bytes
            const qsizetype bytes = four ? (code + 1) / 2 : code;
            const qsizetype padded = (bytes + 1) & ~qsizetype{1};
            if (size - p < padded)
                throwStreamReadError();
            for (int i = 0; i < code; ++i)
                put(four ? ((i & 1) ? (d[p + i / 2] & 0x0F) : (d[p + i / 2] >> 4)) : d[p + i]);
            x = std::min<int64_t>(x, l.width);
            p += padded;
        }
    }
}

} // namespace

// 24-bit rows are kept as they are stored, blue first: a copy per row and no conversion,
// which is what keeps loading a large library close to the speed of reading it.
void copyBgrRows(const BitmapLayout& l, const uchar* pixels, QImage& image)
{
    const size_t rowBytes = static_cast<size_t>(l.width) * 3; // width is positive
    for (int32_t y = 0; y < l.height; ++y) {
        const uchar* src = pixels + qsizetype{l.topDown ? y : l.height - 1 - y} * l.rowStride;
        memcpy(image.scanLine(y), src, rowBytes);
    }
}

QImage decodeBitmapPixels(const BitmapLayout& l, QByteArrayView file)
{
    const auto* pixels = reinterpret_cast<const uchar*>(file.data()) + l.pixelOffset;
    if (l.bitCount == 24) {
        QImage image(l.width, l.height, QImage::Format_BGR888);
        if (image.isNull())
            throwBitmapNotValid();
        copyBgrRows(l, pixels, image);
        return image;
    }
    QImage image(l.width, l.height, QImage::Format_RGB32);
    if (image.isNull())
        throwBitmapNotValid();
    if (l.compression == BitmapCompression::Rle8 || l.compression == BitmapCompression::Rle4)
        decodeRunLength(l, pixels, l.pixelBytes, image);
    else
        decodeRows(l, pixels, image);
    return image;
}

} // namespace hw
