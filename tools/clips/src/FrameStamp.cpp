#include "hw/clips/FrameStamp.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace hw {
namespace {

// Layout of the strip: one white guard, one black guard, 20 data bits (most significant
// first), one even-parity bit, one white guard. The white guards at both ends let a
// reader find the picture's edges inside dark borders; the guards give the reader its
// black and white levels, whatever the codec did to them.
constexpr int kCells = 24;
constexpr int kDataBits = 20;
constexpr int kFirstData = 2;
constexpr int kParityCell = kFirstData + kDataBits;

// The strip's height follows the width, so that the reader needs only the left, right and
// bottom edges of the picture (which the guards mark) and not its top.
int stripHeight(int width) { return std::max(8, (width + 8) / 16); }
int cellLeft(int cell, int width) { return (cell * width + kCells / 2) / kCells; }

std::array<bool, kCells> cellsFor(int32_t frame)
{
    std::array<bool, kCells> white{};
    white[0] = true;
    white[1] = false;
    bool parity = false;
    for (int bit = 0; bit < kDataBits; ++bit) {
        const bool one = (frame >> (kDataBits - 1 - bit)) & 1;
        white[kFirstData + bit] = one;
        parity ^= one;
    }
    white[kParityCell] = parity;
    white[kCells - 1] = true;
    return white;
}

int luma(QRgb c) { return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8; }

// Mean luminance of the middle of one cell, the strip spanning [left, right) with its
// bottom edge on row bottom (exclusive).
double sampleCell(const QImage& img, int cell, double left, double right, double bottom)
{
    const double width = right - left;
    const double cw = width / kCells;
    const double sh = std::max(8.0, width / 16.0);
    const int x0 = int(left + cw * (cell + 0.3));
    const int x1 = std::max(x0 + 1, int(left + cw * (cell + 0.7)));
    const int y0 = int(bottom - sh * 0.75);
    const int y1 = std::max(y0 + 1, int(bottom - sh * 0.25));
    long sum = 0;
    long count = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x) {
            sum += luma(line[x]);
            ++count;
        }
    }
    return count ? double(sum) / count : -1.0;
}

std::optional<int32_t> decodeStrip(const QImage& img, double left, double right, double bottom)
{
    if (right - left < kCells * 2 || bottom < 8)
        return std::nullopt;
    std::array<double, kCells> level{};
    for (int c = 0; c < kCells; ++c) {
        level[c] = sampleCell(img, c, left, right, bottom);
        if (level[c] < 0)
            return std::nullopt;
    }
    const double white = std::min(level[0], level[kCells - 1]);
    const double black = level[1];
    const double contrast = white - black;
    if (contrast < 90)
        return std::nullopt;
    const double mid = (white + black) / 2;
    const double margin = contrast * 0.2;
    int32_t value = 0;
    bool parity = false;
    for (int c = kFirstData; c <= kParityCell; ++c) {
        if (std::abs(level[c] - mid) < margin)
            return std::nullopt; // neither black nor white: not a stamp, or ruined
        const bool one = level[c] > mid;
        if (c < kParityCell) {
            value = (value << 1) | (one ? 1 : 0);
            parity ^= one;
        } else if (one != parity) {
            return std::nullopt;
        }
    }
    return value;
}

// Bounding box of everything that is not near black: the picture inside dark borders.
QRect brightBounds(const QImage& img)
{
    int left = img.width(), right = -1, top = img.height(), bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (luma(line[x]) > 60) {
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

} // namespace

QRect frameStampRect(const QSize& frameSize)
{
    const int sh = std::min(frameSize.height(), stripHeight(frameSize.width()));
    return QRect(0, frameSize.height() - sh, frameSize.width(), sh);
}

void drawFrameStamp(QImage& image, int32_t frame)
{
    if (image.isNull())
        return;
    const QRect strip = frameStampRect(image.size());
    const auto cells = cellsFor(frame & ((1 << kDataBits) - 1));
    QPainter p(&image);
    for (int c = 0; c < kCells; ++c) {
        const int x0 = cellLeft(c, image.width());
        const int x1 = cellLeft(c + 1, image.width());
        p.fillRect(QRect(x0, strip.top(), x1 - x0, strip.height()), cells[c] ? Qt::white : Qt::black);
    }
}

std::optional<int32_t> readFrameStamp(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    if (auto v = decodeStrip(img, 0, img.width(), img.height()))
        return v;
    // The picture may sit scaled inside dark borders (a display of another aspect).
    const QRect r = brightBounds(img);
    if (r.isEmpty())
        return std::nullopt;
    return decodeStrip(img, r.left(), r.right() + 1, r.bottom() + 1);
}

} // namespace hw
