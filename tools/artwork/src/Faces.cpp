#include "Faces.h"

#include "Lettering.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace hw {
namespace {

// Light grey-mauve when up, dark purple when down.
const QColor kUpFace(204, 192, 212);
const QColor kUpText(70, 34, 92);
const QColor kDownFace(82, 42, 104);
const QColor kDownText(242, 234, 246);

void chevrons(QPainter& p, const QRectF& box, bool left, const QColor& colour)
{
    const double h = box.height() * 0.42;
    const double w = h * 0.55;
    const double cx = box.center().x();
    const double cy = box.center().y();
    QPen pen(colour, 2.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const double x = cx + (i == 0 ? -w * 0.65 : w * 0.65);
        QPainterPath v;
        if (left) {
            v.moveTo(x + w / 2, cy - h / 2);
            v.lineTo(x - w / 2, cy);
            v.lineTo(x + w / 2, cy + h / 2);
        } else {
            v.moveTo(x - w / 2, cy - h / 2);
            v.lineTo(x + w / 2, cy);
            v.lineTo(x - w / 2, cy + h / 2);
        }
        p.drawPath(v);
    }
}

} // namespace

QImage renderFace(const QSize& size, const QString& label, FaceState state, FaceGlyph glyph, int pixelSize)
{
    QImage image(size, QImage::Format_RGB32);
    const bool down = state == FaceState::Down;
    const QColor face = down ? kDownFace : kUpFace;
    QPainter p(&image);
    // The button shows one pixel less than the face on the right and at the bottom; the
    // bevel is drawn inside the part that shows.
    const QRectF shown(0, 0, size.width() - 1, size.height() - 1);
    p.fillRect(image.rect(), QColor(40, 24, 52));

    QLinearGradient fill(0, 0, 0, shown.height());
    fill.setColorAt(0, down ? face.darker(125) : face.lighter(112));
    fill.setColorAt(1, down ? face.lighter(115) : face.darker(108));
    p.fillRect(shown.adjusted(1, 1, -1, -1), fill);

    const QColor light = down ? face.darker(170) : face.lighter(128);
    const QColor dark = down ? face.lighter(150) : face.darker(165);
    for (int i = 1; i <= 2; ++i) {
        const QRectF r = shown.adjusted(i, i, -i, -i);
        p.setPen(light);
        p.drawLine(QPointF(r.left(), r.top()), QPointF(r.right() - 1, r.top()));
        p.drawLine(QPointF(r.left(), r.top()), QPointF(r.left(), r.bottom() - 1));
        p.setPen(dark);
        p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
        p.drawLine(QPointF(r.right(), r.top()), QPointF(r.right(), r.bottom()));
    }

    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF labelBox = shown.adjusted(3, 3, -3, -3).translated(down ? 1 : 0, down ? 1 : 0);
    const QColor ink = down ? kDownText : kUpText;
    if (glyph == FaceGlyph::Text) {
        QFont font = artwork::bodyFont(pixelSize, true);
        p.setFont(font);
        // an engraved look: a light edge under the letters on the up face
        p.setPen(down ? QColor(30, 10, 40) : QColor(240, 234, 244));
        p.drawText(labelBox.translated(0.8, 1), Qt::AlignCenter, label);
        p.setPen(ink);
        p.drawText(labelBox, Qt::AlignCenter, label);
    } else {
        chevrons(p, labelBox.translated(0.8, 1), glyph == FaceGlyph::ChevronsLeft,
                 down ? QColor(30, 10, 40) : QColor(240, 234, 244));
        chevrons(p, labelBox, glyph == FaceGlyph::ChevronsLeft, ink);
    }
    return image;
}

} // namespace hw
