#include "hw/clips/FrameStamp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace hw {
namespace {

// The stamp is a band along the bottom edge, 40 cells wide and one cell high, painted in
// the picture's own colours: each cell takes the mean colour of the picture under it, and
// carries its bit as a small difference of brightness between its upper and its lower half
// (upper brighter: one). A viewer sees at most a faint seam; a reader compares the two
// halves of each cell, which survives level shifts, blur and block codecs alike. At the
// usual widths (320, 640) the cells fall on the codecs' 8 x 8 and 16 x 16 blocks, and each
// half on their 4 x 4 ones.
//
// Bits: a fixed 1, 0 at the start and 0, 1 at the end mark the band; between them 20 data
// bits (most significant first) and a 16-bit CRC of them, so that a picture without a stamp
// is not read as one.
constexpr int kCells = 40;
constexpr int kDataBits = 20;
constexpr int kCrcBits = 16;
constexpr int kFirstData = 2;
constexpr int kFirstCrc = kFirstData + kDataBits;
static_assert(kFirstCrc + kCrcBits + 2 == kCells);

// Half the brightness step between a cell's halves, per colour channel.
constexpr int kSwing = 8;
// The band is never darker than this, so that a reader finds the picture's edges inside
// black borders.
constexpr int kFloor = 32 + kSwing;

int bandHeight(int width) { return std::max(2, 2 * ((width + kCells) / (2 * kCells))); }
int cellLeft(int cell, int width) { return (cell * width + kCells / 2) / kCells; }

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

std::array<bool, kCells> bitsFor(int32_t frame)
{
    std::array<bool, kCells> bits{};
    bits[0] = true;
    bits[1] = false;
    for (int i = 0; i < kDataBits; ++i)
        bits[size_t(kFirstData + i)] = (frame >> (kDataBits - 1 - i)) & 1;
    const uint16_t crc = crc16(frame);
    for (int i = 0; i < kCrcBits; ++i)
        bits[size_t(kFirstCrc + i)] = (crc >> (kCrcBits - 1 - i)) & 1;
    bits[kCells - 2] = false;
    bits[kCells - 1] = true;
    return bits;
}

int luma(QRgb c) { return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8; }

// Mean luminance of the rectangle [x0, x1) x [y0, y1), clipped to the image.
double meanLuma(const QImage& img, double x0, double x1, double y0, double y1)
{
    const int left = std::max(0, int(x0));
    const int right = std::min(img.width(), std::max(left + 1, int(x1)));
    const int top = std::max(0, int(y0));
    const int bottom = std::min(img.height(), std::max(top + 1, int(y1)));
    long sum = 0;
    long count = 0;
    for (int y = top; y < bottom; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = left; x < right; ++x) {
            sum += luma(line[x]);
            ++count;
        }
    }
    return count ? double(sum) / double(count) : 0.0;
}

// The band spans [left, right) with its bottom edge on row bottom (exclusive).
std::optional<int32_t> decodeBand(const QImage& img, double left, double right, double bottom)
{
    const double cw = (right - left) / kCells;
    const double half = cw / 2;
    if (cw < 2.0 || bottom < cw || right > img.width() + 0.5 || bottom > img.height() + 0.5)
        return std::nullopt;
    std::array<double, kCells> step{};
    for (int c = 0; c < kCells; ++c) {
        const double x0 = left + cw * (c + 0.25);
        const double x1 = left + cw * (c + 0.75);
        const double upper = meanLuma(img, x0, x1, bottom - half * 1.75, bottom - half * 1.25);
        const double lower = meanLuma(img, x0, x1, bottom - half * 0.75, bottom - half * 0.25);
        step[size_t(c)] = upper - lower;
    }
    // Every cell must show a clear step, and the steps must be alike: a picture's own edges
    // are neither.
    std::array<double, kCells> size{};
    std::transform(step.begin(), step.end(), size.begin(), [](double s) { return std::abs(s); });
    std::array<double, kCells> sorted = size;
    std::nth_element(sorted.begin(), sorted.begin() + kCells / 2, sorted.end());
    const double median = sorted[kCells / 2];
    if (median < kSwing * 0.6)
        return std::nullopt;
    for (double s : size)
        if (s < median * 0.35 || s > median * 3.0)
            return std::nullopt;

    std::array<bool, kCells> bits{};
    for (int c = 0; c < kCells; ++c)
        bits[size_t(c)] = step[size_t(c)] > 0;
    int32_t value = 0;
    for (int i = 0; i < kDataBits; ++i)
        value = (value << 1) | (bits[size_t(kFirstData + i)] ? 1 : 0);
    if (bits != bitsFor(value))
        return std::nullopt;
    return value;
}

// Bounding box of everything that is not near black: the picture inside dark borders.
QRect brightBounds(const QImage& img)
{
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (luma(line[x]) > kFloor - kSwing - 12) {
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

QRgb shifted(const std::array<long, 3>& base, int by)
{
    return qRgb(int(base[0]) + by, int(base[1]) + by, int(base[2]) + by);
}

} // namespace

QRect frameStampRect(const QSize& frameSize)
{
    const int h = std::min(frameSize.height(), bandHeight(frameSize.width()));
    return QRect(0, frameSize.height() - h, frameSize.width(), h);
}

void drawFrameStamp(QImage& image, int32_t frame)
{
    if (image.isNull())
        return;
    const QImage::Format original = image.format();
    QImage img = image.convertToFormat(QImage::Format_RGB32);
    const QRect band = frameStampRect(img.size());
    const int middle = band.top() + band.height() / 2;
    const auto bits = bitsFor(frame & ((1 << kDataBits) - 1));
    for (int c = 0; c < kCells; ++c) {
        const int x0 = cellLeft(c, img.width());
        const int x1 = cellLeft(c + 1, img.width());
        if (x1 <= x0)
            continue;
        std::array<long, 3> base{};
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = x0; x < x1; ++x) {
                base[0] += qRed(line[x]);
                base[1] += qGreen(line[x]);
                base[2] += qBlue(line[x]);
            }
        }
        const long count = long(x1 - x0) * band.height();
        for (long& channel : base)
            channel = std::clamp(channel / count, long(kSwing), long(255 - kSwing));
        // Lift a dark colour as a whole, keeping its hue.
        const int lift = kFloor - luma(qRgb(int(base[0]), int(base[1]), int(base[2])));
        if (lift > 0)
            for (long& channel : base)
                channel = std::min(channel + lift, long(255 - kSwing));
        const int swing = bits[size_t(c)] ? kSwing : -kSwing;
        for (int y = band.top(); y <= band.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            std::fill(line + x0, line + x1, shifted(base, y < middle ? swing : -swing));
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
