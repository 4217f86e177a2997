#pragma once
// Draws pictures so that they stay crisp on any device pixel ratio: a whole-number
// enlargement in device pixels repeats pixels; any other size is resampled once to the
// exact device size, averaging when it shrinks.
#include <QImage>
#include <QPainter>
#include <QRect>

namespace hw {

// Draws the whole of image into target (logical coordinates), stretched to fill it.
void paintPicture(QPainter& painter, const QRect& target, const QImage& image);

// The device pixel ratio the painter draws at.
qreal painterPixelRatio(const QPainter& painter);

} // namespace hw
