#pragma once
// The one place where tenths of a millimetre become device pixels. Positions are measured
// from the paper's edge; the device's origin may lie inside it by the unprintable offsets.
#include <QRect>
#include <QRectF>

namespace hw {

struct DeviceMapping {
    double dpiX = 96.0;
    double dpiY = 96.0;
    double offsetLeft = 0.0; // unprintable left margin, tenths of a millimetre
    double offsetTop = 0.0;  // unprintable top margin, tenths of a millimetre

    int x(double tenths) const;
    int y(double tenths) const;
    int width(double tenths) const;
    int height(double tenths) const;
    // A box in tenths (left, top, width, height) as device pixels; the size is mapped as a
    // length so that equal boxes keep equal sizes wherever they lie.
    QRect rect(double left, double top, double width, double height) const;

    // Thickness of a frame line of `points` points on each axis, rounded.
    int lineWidthX(int points) const;
    int lineHeightY(int points) const;
};

} // namespace hw
