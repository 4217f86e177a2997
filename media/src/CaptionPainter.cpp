#include "CaptionPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace hw::media {

void paintCaption(QPainter& painter, const QRectF& picture, const QString& text)
{
    if (text.isEmpty() || picture.width() < 40 || picture.height() < 40)
        return;
    // 11 px in the 240-line panel, growing with the picture up to 44 px on a large screen.
    const qreal pixels = std::clamp(picture.height() / 24.0, 11.0, 44.0);
    QFont font = painter.font();
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setWeight(QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const qreal padX = pixels * 0.5;
    const qreal padY = pixels * 0.2;
    const qreal maxWidth = picture.width() * 0.9 - 2 * padX;
    const int flags = Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap;
    const QRectF textBox = metrics.boundingRect(QRectF(0, 0, maxWidth, picture.height()), flags, text);
    const QSizeF box(std::min(textBox.width(), maxWidth) + 2 * padX, textBox.height() + 2 * padY);
    // Above the foot of the picture, where lesson videos keep their frame stamp and ledge.
    const qreal bottom = picture.bottom() - std::max(4.0, picture.height() * 0.06);
    const QRectF plate(picture.center().x() - box.width() / 2, bottom - box.height(), box.width(),
                       box.height());

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 190));
    painter.drawRoundedRect(plate, padY * 1.5, padY * 1.5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(plate.adjusted(padX, padY, -padX, -padY), flags, text);
    painter.restore();
}

} // namespace hw::media
