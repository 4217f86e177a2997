#pragma once
// Draws a caption over the foot of a picture: wrapped to the picture's width, light text on a
// dark, slightly transparent box that reads on any picture, its size following the picture's
// height (larger on a large screen).
#include <QRectF>
#include <QString>

class QPainter;

namespace hw::media {

void paintCaption(QPainter& painter, const QRectF& picture, const QString& text);

} // namespace hw::media
