#include "hw/artwork/AppIcon.h"

#include "hw/artwork/FlyDrawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>

namespace hw {

QList<int> appIconSizes()
{
    return {48, 128, 256};
}

QImage renderAppIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 48.0;
    const QRectF tile = QRectF(icon.rect()).adjusted(2 * unit, 2 * unit, -2 * unit, -2 * unit);
    QPainterPath outline;
    outline.addRoundedRect(tile, 8 * unit, 8 * unit);

    // The same softly lit white card the pattern pictures are photographed on.
    QRadialGradient ground(tile.center() - QPointF(0, tile.height() * 0.15), tile.width() * 0.8);
    ground.setColorAt(0, QColor(255, 255, 253));
    ground.setColorAt(0.65, QColor(244, 242, 236));
    ground.setColorAt(1, QColor(214, 208, 196));
    p.fillPath(outline, ground);

    // The fly rises across the tile, so that it fills more of it than a level one could.
    p.save();
    p.setClipPath(outline);
    p.translate(tile.center());
    p.rotate(-30);
    const double w = tile.width() * 1.04;
    drawFinishedFly(p, QRectF(-w / 2, -w * 0.36, w, w * 0.66), flyLook(FlyKind::RoyalCoachman));
    p.restore();

    p.setPen(QPen(QColor(70, 34, 92), std::max(1.0, 1.5 * unit)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
    return icon;
}

} // namespace hw
