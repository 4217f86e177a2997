#pragma once
// Fonts and lettering shared by the artwork. Only the Liberation families are used: they
// are installed with the build's dependencies, so the drawings come out the same anywhere.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace hw::artwork {

QFont titleFont(int pixelSize);           // serif, bold italic
QFont bodyFont(int pixelSize, bool bold); // sans serif
// Text with a soft dark shadow, readable over a photograph.
void drawEmbossed(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                  const QColor& colour, int alignment);

} // namespace hw::artwork
