#pragma once
// Writes Windows bitmap files byte by byte, so that tests can make every header kind,
// depth and compression, and damage them on purpose.
#include <QByteArray>
#include <QRgb>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace hw::test {

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

inline void putU16(QByteArray& b, uint32_t v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline void putU32(QByteArray& b, uint32_t v)
{
    putU16(b, v & 0xFFFF);
    putU16(b, v >> 16);
}

inline void setU32(QByteArray& b, qsizetype at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct BmpSpec {
    int headerSize = 40; // 12, 40, 52, 56, 108 or 124
    int32_t width = 0;
    int32_t height = 0; // the absolute height; topDown writes it negative
    bool topDown = false;
    int bitCount = 24;
    uint32_t compression = 0;
    std::vector<QRgb> palette; // written as is; colorsUsed says how many are meant
    uint32_t colorsUsed = 0;
    std::array<uint32_t, 3> masks{}; // written for compression 3
    uint32_t sizeImage = 0;
    QByteArray pixels; // rows or run-length data, as they go into the file
};

inline QByteArray buildBmp(const BmpSpec& s)
{
    QByteArray info;
    if (s.headerSize == 12) {
        putU32(info, 12);
        putU16(info, uint32_t(s.width));
        putU16(info, uint32_t(s.height));
        putU16(info, 1);
        putU16(info, uint32_t(s.bitCount));
    } else {
        putU32(info, uint32_t(s.headerSize));
        putU32(info, uint32_t(s.width));
        putU32(info, uint32_t(s.topDown ? -s.height : s.height));
        putU16(info, 1);
        putU16(info, uint32_t(s.bitCount));
        putU32(info, s.compression);
        putU32(info, s.sizeImage);
        putU32(info, 2835);
        putU32(info, 2835);
        putU32(info, s.colorsUsed);
        putU32(info, 0);
        if (s.headerSize > 40) {
            for (uint32_t m : s.masks)
                putU32(info, m);
            while (info.size() < s.headerSize)
                info.append('\0'); // alpha mask, colour space and the rest left zero
        } else if (s.compression == 3) {
            for (uint32_t m : s.masks)
                putU32(info, m);
        }
    }
    QByteArray table;
    for (QRgb c : s.palette) {
        table.append(char(qBlue(c)));
        table.append(char(qGreen(c)));
        table.append(char(qRed(c)));
        if (s.headerSize != 12)
            table.append('\0');
    }
    QByteArray file("BM");
    const uint32_t offBits = uint32_t(14 + info.size() + table.size());
    putU32(file, uint32_t(offBits + s.pixels.size()));
    putU32(file, 0);
    putU32(file, offBits);
    return file + info + table + s.pixels;
}

// Uncompressed rows, bottom row first unless topDown; each row padded to four bytes.
// value(x, y) gives the palette index (1, 4, 8 bits) or the pixel's bits (16, 24, 32),
// y counted from the top.
inline QByteArray encodeRows(int32_t width, int32_t height, int bitCount, bool topDown,
                             const std::function<uint32_t(int, int)>& value)
{
    QByteArray out;
    const int stride = ((width * bitCount + 31) / 32) * 4;
    for (int r = 0; r < height; ++r) {
        const int y = topDown ? r : height - 1 - r;
        QByteArray row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            switch (bitCount) {
            case 1:
                row[x / 8] = char(row[x / 8] | ((v & 1) << (7 - x % 8)));
                break;
            case 4:
                row[x / 2] = char(row[x / 2] | ((v & 0xF) << (x % 2 ? 0 : 4)));
                break;
            default:
                for (int i = 0; i < bitCount / 8; ++i)
                    row[x * (bitCount / 8) + i] = char((v >> (8 * i)) & 0xFF);
            }
        }
        out += row;
    }
    return out;
}

inline std::vector<QRgb> rampPalette(int count)
{
    std::vector<QRgb> p;
    for (int i = 0; i < count; ++i)
        p.push_back(qRgb((i * 37) & 0xFF, (i * 91 + 10) & 0xFF, (255 - i * 13) & 0xFF));
    return p;
}

} // namespace hw::test
