#include "hw/clips/FrameStamp.h"
#include "hw/Narrow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace hw {
namespace {

// The stamp is a band along the bottom edge, 40 cells wide and one cell high (8 rows of a
// 320-pixel frame), painted in the picture's own colours: the band takes the colour of the
// picture under it, smoothed along the edge, and each cell carries its bit as a difference
// of brightness between its upper and its lower half (upper brighter: one). A viewer sees
// the picture's bottom rows a little flattened and faintly mottled; a reader compares the
// halves of each cell, which survives level shifts, blur, scaling and block codecs alike.
//
// The standard step is small to the eye but large enough that inter-frame codecs re-code a
// cell whose bit changed (a smaller change is left to the previous picture's prediction,
// and deblocking filters smooth it away); the faint one, half as large, is for clips coded
// frame by frame at good quality. At the usual widths (320, 640) the cells fall on the
// codecs' 8 x 8 blocks and each half on their 4 x 4 ones. A reader that finds one or two
// cells smeared flat tries both values for them and keeps the one reading that checks out.
//
// Bits: a fixed 1, 0 at the start and 0, 1 at the end; between them 20 data bits (most
// significant first) and a 16-bit CRC of them, so that a picture without a stamp is not read
// as one.
constexpr int kCells = 40;
constexpr int kDataBits = 20;
constexpr int kCrcBits = 16;
constexpr int kFirstData = 2;
constexpr int kFirstCrc = kFirstData + kDataBits;
static_assert(kFirstCrc + kCrcBits + 2 == kCells);

// Half the brightness step between a cell's halves, by contrast.
constexpr int swingOf(StampContrast contrast)
{
    return contrast == StampContrast::Faint ? 6 : 12;
}
// The band is never darker than this, so that a reader finds the picture's edges inside
// black borders.
constexpr int kFloor = 44;
// A reader takes cells whose step is under this share of the typical one as unread and
// tries both values for up to kMaxUnread of them.
constexpr double kWeakShare = 0.3;
constexpr int kMaxUnread = 2;

int bandHeight(int width)
{
    return std::max(4, 2 * ((width + kCells) / (2 * kCells)));
}
int cellLeft(int cell, int width)
{
    return (cell * width + kCells / 2) / kCells;
}

uint16_t crc16(int32_t value)
{
    uint16_t crc = 0xFFFF;
    for (int bit = kDataBits - 1; bit >= 0; --bit) {
        const bool in = (value >> bit) & 1;
        const bool top = crc & 0x8000;
        crc = static_cast<uint16_t>(crc << 1);
        if (in != top)
            crc ^= 0x1021;
    }
    return crc;
}

using Bits = std::array<bool, kCells>;

Bits bitsFor(int32_t frame)
{
    Bits bits{};
    bits[0] = true;
    bits[1] = false;
    for (int i = 0; i < kDataBits; ++i)
        bits[static_cast<size_t>(kFirstData + i)] = (frame >> (kDataBits - 1 - i)) & 1;
    const uint16_t crc = crc16(frame);
    for (int i = 0; i < kCrcBits; ++i)
        bits[static_cast<size_t>(kFirstCrc + i)] = (crc >> (kCrcBits - 1 - i)) & 1;
    bits[kCells - 2] = false;
    bits[kCells - 1] = true;
    return bits;
}

std::optional<int32_t> valueOf(const Bits& bits)
{
    int32_t value = 0;
    for (int i = 0; i < kDataBits; ++i)
        value = (value << 1) | (bits[static_cast<size_t>(kFirstData + i)] ? 1 : 0);
    if (bits != bitsFor(value))
        return std::nullopt;
    return value;
}

int luma(QRgb c)
{
    return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8;
}

// Mean luminance of the rectangle [x0, x1) x [y0, y1), clipped to the image.
double meanLuma(const QImage& img, double x0, double x1, double y0, double y1)
{
    const int left = std::max(0, static_cast<int>(x0));
    const int right = std::min(img.width(), std::max(left + 1, static_cast<int>(x1)));
    const int top = std::max(0, static_cast<int>(y0));
    const int bottom = std::min(img.height(), std::max(top + 1, static_cast<int>(y1)));
    long sum = 0;
    long count = 0;
    for (int y = top; y < bottom; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = left; x < right; ++x) {
            sum += luma(line[x]);
            ++count;
        }
    }
    return count ? static_cast<double>(sum) / static_cast<double>(count) : 0.0;
}

// The band spans [left, right) with its bottom edge on row bottom (exclusive).
std::optional<int32_t> decodeBand(const QImage& img, double left, double right, double bottom)
{
    const double cw = (right - left) / kCells;
    const double half = (right - left) / (2 * kCells);
    if (cw < 2.0 || bottom < 2 * half || right > img.width() + 0.5 || bottom > img.height() + 0.5)
        return std::nullopt;
    // Each half is read away from its outer edge, which the picture above or a border
    // below may blur, and right up to the line between the halves.
    std::array<double, kCells> step{};
    for (int c = 0; c < kCells; ++c) {
        const double x0 = left + cw * (c + 0.25);
        const double x1 = left + cw * (c + 0.75);
        const double upper = meanLuma(img, x0, x1, bottom - half * 1.75, bottom - half);
        const double lower = meanLuma(img, x0, x1, bottom - half, bottom - half * 0.25);
        step[static_cast<size_t>(c)] = upper - lower;
    }
    std::array<double, kCells> size{};
    std::transform(step.begin(), step.end(), size.begin(), [](double s) { return std::abs(s); });
    std::array<double, kCells> sorted = size;
    std::nth_element(sorted.begin(), sorted.begin() + kCells / 2, sorted.end());
    const double typical = sorted[kCells / 2];
    if (typical < swingOf(StampContrast::Faint) * 0.6)
        return std::nullopt; // no band of steps here: a picture without a stamp

    Bits bits{};
    std::vector<int> unread;
    for (int c = 0; c < kCells; ++c) {
        bits[static_cast<size_t>(c)] = step[static_cast<size_t>(c)] > 0;
        if (size[static_cast<size_t>(c)] < typical * kWeakShare)
            unread.push_back(c);
    }
    if (intSize(unread) > kMaxUnread)
        return std::nullopt;
    // Exactly one way of reading the unread cells must check out.
    std::optional<int32_t> found;
    for (unsigned guess = 0; guess < (1u << unread.size()); ++guess) {
        for (size_t i = 0; i < unread.size(); ++i)
            bits[static_cast<size_t>(unread[i])] = (guess >> i) & 1;
        if (const auto v = valueOf(bits)) {
            if (found)
                return std::nullopt;
            found = v;
        }
    }
    return found;
}

// Bounding box of everything that is not near black: the picture inside dark borders.
QRect brightBounds(const QImage& img)
{
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    const int threshold = kFloor - 2 * swingOf(StampContrast::Standard);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (luma(line[x]) > threshold) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The band's colour along the edge: the picture's mean colour in the band around each
// column, so that the band follows the picture without showing the cells as tiles.
std::vector<std::array<int, 3>> bandColours(const QImage& img, const QRect& band, int s)
{
    const int w = img.width();
    std::vector<std::array<long, 3>> column(static_cast<size_t>(w), std::array<long, 3>{});
    for (int y = band.top(); y <= band.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            column[static_cast<size_t>(x)][0] += qRed(line[x]);
            column[static_cast<size_t>(x)][1] += qGreen(line[x]);
            column[static_cast<size_t>(x)][2] += qBlue(line[x]);
        }
    }
    const int reach = std::max(1, w / kCells); // one cell either side
    std::vector<std::array<int, 3>> out(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        const int x0 = std::max(0, x - reach);
        const int x1 = std::min(w, x + reach + 1);
        std::array<long, 3> sum{};
        for (int i = x0; i < x1; ++i)
            for (int ch = 0; ch < 3; ++ch)
                sum[static_cast<size_t>(ch)] += column[static_cast<size_t>(i)][static_cast<size_t>(ch)];
        const long count = static_cast<long>(x1 - x0) * band.height();
        std::array<int, 3> c{};
        for (int ch = 0; ch < 3; ++ch)
            c[static_cast<size_t>(ch)] = static_cast<int>(sum[static_cast<size_t>(ch)] / count);
        // Lift a dark colour as a whole, keeping its hue; keep room for the step either way.
        const int lift = kFloor - luma(qRgb(c[0], c[1], c[2]));
        for (int& channel : c)
            channel = std::clamp(channel + std::max(0, lift), s, 255 - s);
        out[static_cast<size_t>(x)] = c;
    }
    return out;
}

// How much brighter the upper half is than the band's colour, column by column: the cell's
// swing, ramped over a pixel or two where neighbouring cells have opposite bits, which
// softens the tiles to the eye at little cost to a reader (it looks at the middle half of
// each cell). A wider ramp costs too much step under H.264.
std::vector<int> upperSteps(const Bits& bits, int width, int s)
{
    std::vector<int> hard(static_cast<size_t>(width));
    for (int c = 0; c < kCells; ++c)
        for (int x = cellLeft(c, width); x < cellLeft(c + 1, width); ++x)
            hard[static_cast<size_t>(x)] = bits[static_cast<size_t>(c)] ? s : -s;
    const int reach = width / (8 * kCells);
    std::vector<int> out(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        const int x0 = std::max(0, x - reach);
        const int x1 = std::min(width - 1, x + reach);
        double sum = 0;
        for (int i = x0; i <= x1; ++i)
            sum += hard[static_cast<size_t>(i)];
        out[static_cast<size_t>(x)] = static_cast<int>(std::lround(sum / (x1 - x0 + 1)));
    }
    return out;
}

} // namespace

QRect frameStampRect(const QSize& frameSize)
{
    const int h = std::min(frameSize.height(), bandHeight(frameSize.width()));
    return QRect(0, frameSize.height() - h, frameSize.width(), h);
}

void drawFrameStamp(QImage& image, int32_t frame, StampContrast contrast)
{
    if (image.isNull())
        return;
    const QImage::Format original = image.format();
    QImage img = image.convertToFormat(QImage::Format_RGB32);
    const QRect band = frameStampRect(img.size());
    const int middle = band.top() + band.height() / 2;
    const auto bits = bitsFor(frame & ((1 << kDataBits) - 1));
    const int swing = swingOf(contrast);
    const auto colours = bandColours(img, band, swing);
    const std::vector<int> up = upperSteps(bits, img.width(), swing);
    for (int y = band.top(); y <= band.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const int sign = y < middle ? 1 : -1;
        for (int x = 0; x < img.width(); ++x) {
            const auto& base = colours[static_cast<size_t>(x)];
            const int by = sign * up[static_cast<size_t>(x)];
            line[x] = qRgb(base[0] + by, base[1] + by, base[2] + by);
        }
    }
    image = original == QImage::Format_RGB32 ? img : img.convertToFormat(original);
}

std::optional<int32_t> readFrameStamp(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    if (auto v = decodeBand(img, 0, img.width(), img.height()))
        return v;
    // The picture may sit scaled inside dark borders (a display of another aspect).
    const QRect r = brightBounds(img);
    if (r.isEmpty())
        return std::nullopt;
    return decodeBand(img, r.left(), r.right() + 1, r.bottom() + 1);
}

} // namespace hw
