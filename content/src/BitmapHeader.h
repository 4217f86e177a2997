#pragma once
// The headers of a Windows bitmap file, checked against the bytes that are there before
// any pixel memory is allocated.
#include <QByteArrayView>
#include <QRgb>

#include <array>
#include <cstdint>
#include <vector>

namespace hw {

enum class BitmapCompression { None, Rle8, Rle4, BitFields };

struct BitmapLayout {
    int32_t width = 0;
    int32_t height = 0; // always positive; see topDown
    bool topDown = false;
    int bitCount = 0;
    BitmapCompression compression = BitmapCompression::None;
    std::array<uint32_t, 3> masks{}; // red, green, blue, for 16 and 32 bits per pixel
    std::vector<QRgb> palette;       // 2^bitCount entries for 1, 4 and 8 bits, else empty
    qsizetype pixelOffset = 0;
    qsizetype pixelBytes = 0; // bytes of pixel data at pixelOffset, all present
    qsizetype rowStride = 0;  // uncompressed rows only
};

// Largest picture accepted; a header asking for more is not a valid bitmap.
inline constexpr int32_t kMaxBitmapSide = 32768;
inline constexpr int64_t kMaxBitmapPixels = int64_t{1} << 24;

// Throws EContentError "Stream read error" when the file ends before what the headers
// promise, "Bitmap image is not valid" for anything else that is wrong. file must hold
// at least one byte.
BitmapLayout readBitmapLayout(QByteArrayView file);

[[noreturn]] void throwStreamReadError();
[[noreturn]] void throwBitmapNotValid();

} // namespace hw
