#include "BitmapHeader.h"

#include "hw/Exception.h"

#include <bit>

namespace hw {
namespace {

constexpr qsizetype kFileHeaderSize = 14;

uint16_t u16(QByteArrayView d, qsizetype at)
{
    return static_cast<uint16_t>(uint8_t(d[at]) | uint8_t(d[at + 1]) << 8);
}

uint32_t u32(QByteArrayView d, qsizetype at)
{
    return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16
        | uint32_t(uint8_t(d[at + 3])) << 24;
}

void need(QByteArrayView d, int64_t end)
{
    if (end > d.size())
        throwStreamReadError();
}

bool contiguous(uint32_t mask)
{
    if (mask == 0)
        return true;
    const uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

} // namespace

void throwStreamReadError()
{
    throw EContentError(QStringLiteral("Stream read error"));
}

void throwBitmapNotValid()
{
    throw EContentError(QStringLiteral("Bitmap image is not valid"));
}

BitmapLayout readBitmapLayout(QByteArrayView d)
{
    need(d, kFileHeaderSize);
    if (d[0] != 'B' || d[1] != 'M')
        throwBitmapNotValid();
    const uint32_t offBits = u32(d, 10);
    need(d, kFileHeaderSize + 4);
    const uint32_t headerSize = u32(d, 14);
    // Core (OS/2 1.x), info, the two Adobe extensions of info, V4 and V5.
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108
        && headerSize != 124)
        throwBitmapNotValid();
    need(d, kFileHeaderSize + headerSize);

    BitmapLayout l;
    uint32_t colorsUsed = 0;
    uint32_t sizeImage = 0;
    int paletteEntrySize = 4;
    qsizetype headersEnd = kFileHeaderSize + headerSize;
    if (headerSize == 12) {
        l.width = u16(d, 18);
        l.height = u16(d, 20);
        l.bitCount = u16(d, 24);
        paletteEntrySize = 3;
        if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 24)
            throwBitmapNotValid();
    } else {
        l.width = static_cast<int32_t>(u32(d, 18));
        const auto height = static_cast<int32_t>(u32(d, 22));
        if (height == INT32_MIN)
            throwBitmapNotValid();
        l.topDown = height < 0;
        l.height = l.topDown ? -height : height;
        l.bitCount = u16(d, 28);
        const uint32_t compression = u32(d, 30);
        sizeImage = u32(d, 34);
        colorsUsed = u32(d, 46);
        const int b = l.bitCount;
        if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
            throwBitmapNotValid();
        switch (compression) {
        case 0:
            l.compression = BitmapCompression::None;
            break;
        case 1:
            l.compression = BitmapCompression::Rle8;
            if (b != 8 || l.topDown)
                throwBitmapNotValid();
            break;
        case 2:
            l.compression = BitmapCompression::Rle4;
            if (b != 4 || l.topDown)
                throwBitmapNotValid();
            break;
        case 3:
            l.compression = BitmapCompression::BitFields;
            if (b != 16 && b != 32)
                throwBitmapNotValid();
            break;
        default: // JPEG and PNG inside a bitmap are for printers, not for pictures
            throwBitmapNotValid();
        }
    }
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxBitmapSide || l.height > kMaxBitmapSide
        || int64_t(l.width) * l.height > kMaxBitmapPixels)
        throwBitmapNotValid();

    if (l.compression == BitmapCompression::BitFields) {
        if (headerSize == 40) {
            need(d, headersEnd + 12);
            headersEnd += 12;
        }
        l.masks = {u32(d, 54), u32(d, 58), u32(d, 62)};
        for (uint32_t mask : l.masks)
            if (!contiguous(mask))
                throwBitmapNotValid();
    } else if (l.bitCount == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.bitCount == 32) {
        l.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }

    if (l.bitCount <= 8) {
        const uint32_t full = 1u << l.bitCount;
        const uint32_t count = (colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
        need(d, headersEnd + int64_t(count) * paletteEntrySize);
        l.palette.assign(full, qRgb(0, 0, 0));
        for (uint32_t i = 0; i < count; ++i) {
            const qsizetype at = headersEnd + qsizetype(i) * paletteEntrySize;
            l.palette[i] = qRgb(uint8_t(d[at + 2]), uint8_t(d[at + 1]), uint8_t(d[at]));
        }
    }

    if (offBits < headersEnd)
        throwBitmapNotValid();
    l.pixelOffset = offBits;
    need(d, l.pixelOffset);
    if (l.compression == BitmapCompression::Rle8 || l.compression == BitmapCompression::Rle4) {
        const qsizetype available = d.size() - l.pixelOffset;
        need(d, l.pixelOffset + int64_t(sizeImage));
        l.pixelBytes = sizeImage != 0 ? qsizetype(sizeImage) : available;
    } else {
        l.rowStride = ((int64_t(l.width) * l.bitCount + 31) / 32) * 4;
        l.pixelBytes = l.rowStride * l.height;
        need(d, l.pixelOffset + int64_t(l.pixelBytes));
    }
    return l;
}

} // namespace hw
