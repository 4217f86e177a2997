#include "Lettering.h"

namespace hw::artwork {

QFont titleFont(int pixelSize)
{
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setItalic(true);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont bodyFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void drawEmbossed(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                  const QColor& colour, int alignment)
{
    p.save();
    p.setFont(font);
    const int spread = font.pixelSize() >= 24 ? 3 : 1;
    for (int dy = -spread; dy <= spread; ++dy)
        for (int dx = -spread; dx <= spread; ++dx) {
            p.setPen(QColor(10, 24, 30, font.pixelSize() >= 24 ? 26 : 60));
            p.drawText(box.translated(dx + 1.5, dy + 2), alignment, text);
        }
    p.setPen(colour);
    p.drawText(box, alignment, text);
    p.restore();
}

} // namespace hw::artwork
