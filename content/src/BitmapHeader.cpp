#include "BitmapHeader.h"

#include "hw/Exception.h"

#include <bit>

namespace hw {
namespace {

constexpr qsizetype kFileHeaderSize = 14;

// The file's bytes are unsigned; QByteArrayView hands them out as char.
uint8_t byteAt(QByteArrayView d, qsizetype at)
{
    return static_cast<uint8_t>(d[at]);
}

uint16_t u16(QByteArrayView d, qsizetype at)
{
    return static_cast<uint16_t>(byteAt(d, at) | byteAt(d, at + 1) << 8);
}

uint32_t u32(QByteArrayView d, qsizetype at)
{
    return uint32_t{byteAt(d, at)} | uint32_t{byteAt(d, at + 1)} << 8 | uint32_t{byteAt(d, at + 2)} << 16
        | uint32_t{byteAt(d, at + 3)} << 24;
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

namespace {

// Where the fields are, from the start of the file (the file header is 14 bytes; the
// bitmap header follows it).
namespace field {
constexpr qsizetype kPixelOffset = 10;
constexpr qsizetype kHeaderSize = 14;
// The core header (12 bytes): 16-bit sizes.
constexpr qsizetype kCoreWidth = 18;
constexpr qsizetype kCoreHeight = 20;
constexpr qsizetype kCoreBitCount = 24;
// The info header (40 bytes) and its longer kin.
constexpr qsizetype kWidth = 18;
constexpr qsizetype kHeight = 22;
constexpr qsizetype kBitCount = 28;
constexpr qsizetype kCompression = 30;
constexpr qsizetype kSizeImage = 34;
constexpr qsizetype kColorsUsed = 46;
// The colour masks right after the info header (inside the longer headers).
constexpr qsizetype kRedMask = 54;
constexpr qsizetype kGreenMask = 58;
constexpr qsizetype kBlueMask = 62;
} // namespace field

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr qsizetype kInfoMasksSize = 12;

// What the bitmap header says beyond the layout itself.
struct HeaderFacts {
    uint32_t headerSize = 0;
    uint32_t colorsUsed = 0;
    uint32_t sizeImage = 0;
    int paletteEntrySize = 4;
    qsizetype headersEnd = 0; // where the palette (or the pixels) may start
};

bool knownHeaderSize(uint32_t size)
{
    // Core (OS/2 1.x), info, the two Adobe extensions of info, V4 and V5.
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 52 || size == 56 || size == 108
        || size == 124;
}

void readCoreHeader(QByteArrayView d, BitmapLayout& l, HeaderFacts& facts)
{
    l.width = u16(d, field::kCoreWidth);
    l.height = u16(d, field::kCoreHeight);
    l.bitCount = u16(d, field::kCoreBitCount);
    facts.paletteEntrySize = 3;
    if (l.bitCount != 1 && l.bitCount != 4 && l.bitCount != 8 && l.bitCount != 24)
        throwBitmapNotValid();
}

BitmapCompression compressionOf(uint32_t code, const BitmapLayout& l)
{
    const int b = l.bitCount;
    switch (code) {
    case 0:
        return BitmapCompression::None;
    case 1:
        if (b != 8 || l.topDown)
            throwBitmapNotValid();
        return BitmapCompression::Rle8;
    case 2:
        if (b != 4 || l.topDown)
            throwBitmapNotValid();
        return BitmapCompression::Rle4;
    case 3:
        if (b != 16 && b != 32)
            throwBitmapNotValid();
        return BitmapCompression::BitFields;
    default: // JPEG and PNG inside a bitmap are for printers, not for pictures
        throwBitmapNotValid();
    }
}

void readInfoHeader(QByteArrayView d, BitmapLayout& l, HeaderFacts& facts)
{
    l.width = static_cast<int32_t>(u32(d, field::kWidth));
    const auto height = static_cast<int32_t>(u32(d, field::kHeight));
    if (height == INT32_MIN)
        throwBitmapNotValid();
    l.topDown = height < 0;
    l.height = l.topDown ? -height : height;
    l.bitCount = u16(d, field::kBitCount);
    facts.sizeImage = u32(d, field::kSizeImage);
    facts.colorsUsed = u32(d, field::kColorsUsed);
    const int b = l.bitCount;
    if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32)
        throwBitmapNotValid();
    l.compression = compressionOf(u32(d, field::kCompression), l);
}

void readMasks(QByteArrayView d, BitmapLayout& l, HeaderFacts& facts)
{
    if (l.compression == BitmapCompression::BitFields) {
        if (facts.headerSize == kInfoHeaderSize) { // the masks follow the header
            need(d, facts.headersEnd + kInfoMasksSize);
            facts.headersEnd += kInfoMasksSize;
        }
        l.masks = {u32(d, field::kRedMask), u32(d, field::kGreenMask), u32(d, field::kBlueMask)};
        for (uint32_t mask : l.masks)
            if (!contiguous(mask))
                throwBitmapNotValid();
    } else if (l.bitCount == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.bitCount == 32) {
        l.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }
}

void readPalette(QByteArrayView d, BitmapLayout& l, const HeaderFacts& facts)
{
    if (l.bitCount > 8)
        return;
    const uint32_t full = 1u << l.bitCount;
    const uint32_t count = (facts.colorsUsed == 0 || facts.colorsUsed > full) ? full : facts.colorsUsed;
    need(d, facts.headersEnd + int64_t{count} * facts.paletteEntrySize);
    l.palette.assign(full, qRgb(0, 0, 0));
    for (uint32_t i = 0; i < count; ++i) {
        const qsizetype at = facts.headersEnd + qsizetype{i} * facts.paletteEntrySize;
        l.palette[i] = qRgb(byteAt(d, at + 2), byteAt(d, at + 1), byteAt(d, at));
    }
}

void placePixels(QByteArrayView d, uint32_t pixelOffset, BitmapLayout& l, const HeaderFacts& facts)
{
    if (pixelOffset < facts.headersEnd)
        throwBitmapNotValid();
    l.pixelOffset = pixelOffset;
    need(d, l.pixelOffset);
    if (l.compression == BitmapCompression::Rle8 || l.compression == BitmapCompression::Rle4) {
        const qsizetype available = d.size() - l.pixelOffset;
        need(d, l.pixelOffset + int64_t{facts.sizeImage});
        l.pixelBytes = facts.sizeImage != 0 ? qsizetype{facts.sizeImage} : available;
    } else {
        l.rowStride = ((int64_t{l.width} * l.bitCount + 31) / 32) * 4;
        l.pixelBytes = l.rowStride * l.height;
        need(d, l.pixelOffset + l.pixelBytes);
    }
}

} // namespace

BitmapLayout readBitmapLayout(QByteArrayView d)
{
    need(d, kFileHeaderSize);
    if (d[0] != 'B' || d[1] != 'M')
        throwBitmapNotValid();
    const uint32_t pixelOffset = u32(d, field::kPixelOffset);
    need(d, kFileHeaderSize + 4);
    HeaderFacts facts;
    facts.headerSize = u32(d, field::kHeaderSize);
    if (!knownHeaderSize(facts.headerSize))
        throwBitmapNotValid();
    need(d, kFileHeaderSize + facts.headerSize);
    facts.headersEnd = kFileHeaderSize + facts.headerSize;

    BitmapLayout l;
    if (facts.headerSize == kCoreHeaderSize)
        readCoreHeader(d, l, facts);
    else
        readInfoHeader(d, l, facts);
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxBitmapSide || l.height > kMaxBitmapSide
        || int64_t{l.width} * l.height > kMaxBitmapPixels)
        throwBitmapNotValid();
    readMasks(d, l, facts);
    readPalette(d, l, facts);
    placePixels(d, pixelOffset, l, facts);
    return l;
}

} // namespace hw
