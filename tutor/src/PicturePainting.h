#pragma once
// Draws pictures so that they stay crisp on any device pixel ratio: an enlargement in device
// pixels repeats pixels (hard edges, no blur); a reduction is averaged once to the exact
// device size.
#include <QImage>
#include <QPainter>
#include <QRect>

namespace hw {

// Draws the whole of image into target (logical coordinates), stretched to fill it.
void paintPicture(QPainter& painter, const QRect& target, const QImage& image);

// The device pixel ratio the painter draws at.
qreal painterPixelRatio(const QPainter& painter);

} // namespace hw
