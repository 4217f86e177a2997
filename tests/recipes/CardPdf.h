#pragma once
// The cards' units beside poppler's reading of their PDF: design pixels and printer pixels
// in points, and the ink found in a rendered part of the page.
#include "PdfReader.h"

#include <QImage>
#include <QRect>

namespace hw::test {

// One printer pixel at 600 per inch, in points.
inline constexpr double kPrinterPixel = 72.0 / 600.0;

// Design pixels (96 per inch) to points and to tenths of a millimetre.
inline double pxToPoints(double px)
{
    return px * 72.0 / 96.0;
}
inline double pxToTenths(double px)
{
    return px * 254.0 / 96.0;
}

// The bounding box of the pixels darker than `threshold`, in the image's coordinates.
inline QRect darkBounds(const QImage& image, int threshold = 64)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < threshold)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace hw::test
