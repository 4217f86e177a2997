#include "ButtonFaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace hw::media {

namespace {

// The artwork's palette.
const QColor kOutline(0x28, 0x18, 0x34);
const QColor kLight(0xfc, 0xf7, 0xff);
const QColor kShade(0x7c, 0x74, 0x80);
const QColor kFaceTop(0xe0, 0xd3, 0xe9);
const QColor kFaceBottom(0xd0, 0xc4, 0xd8);
const QColor kInk(0x46, 0x22, 0x5c);
const QColor kDisabledInk(0xa8, 0x9c, 0xb0);

// Coloured buttons tell their jobs apart by colour; plain ones all use the artwork's ink.
QColor coloredInk(TMPBtnType button)
{
    switch (button) {
    case TMPBtnType::btPlay:
        return QColor(0x2a, 0x7a, 0x3a);
    case TMPBtnType::btPause:
        return QColor(0xb0, 0x78, 0x10);
    case TMPBtnType::btStop:
    case TMPBtnType::btRecord:
        return QColor(0xb4, 0x1e, 0x2e);
    case TMPBtnType::btEject:
        return QColor(0x1e, 0x5c, 0x8a);
    default:
        return QColor(0x6a, 0x2c, 0x90);
    }
}

QPainterPath triangle(QPointF tip, qreal w, qreal h, bool right)
{
    QPainterPath p;
    const qreal back = right ? tip.x() - w : tip.x() + w;
    p.moveTo(tip);
    p.lineTo(back, tip.y() - h / 2);
    p.lineTo(back, tip.y() + h / 2);
    p.closeSubpath();
    return p;
}

// The symbol of a button inside a square of side s centred on c.
QPainterPath symbol(TMPBtnType button, QPointF c, qreal s)
{
    QPainterPath p;
    const qreal h = s / 2;
    const qreal bar = std::max(1.5, s / 6);
    switch (button) {
    case TMPBtnType::btPlay:
        p.addPath(triangle(QPointF(c.x() + h * 0.9, c.y()), s * 0.8, s, true)); // looks centred
        break;
    case TMPBtnType::btPause:
        p.addRect(QRectF(c.x() - h * 0.7, c.y() - h, bar * 1.4, s));
        p.addRect(QRectF(c.x() + h * 0.7 - bar * 1.4, c.y() - h, bar * 1.4, s));
        break;
    case TMPBtnType::btStop:
        p.addRect(QRectF(c.x() - h * 0.85, c.y() - h * 0.85, s * 0.85, s * 0.85));
        break;
    case TMPBtnType::btNext:
        p.addPath(triangle(QPointF(c.x() + h - bar, c.y()), s - bar * 1.5, s, true));
        p.addRect(QRectF(c.x() + h - bar, c.y() - h, bar, s));
        break;
    case TMPBtnType::btPrev:
        p.addRect(QRectF(c.x() - h, c.y() - h, bar, s));
        p.addPath(triangle(QPointF(c.x() - h + bar, c.y()), s - bar * 1.5, s, false));
        break;
    case TMPBtnType::btStep:
        p.addPath(triangle(QPointF(c.x(), c.y()), h, s * 0.8, true));
        p.addPath(triangle(QPointF(c.x() + h, c.y()), h, s * 0.8, true));
        break;
    case TMPBtnType::btBack:
        p.addPath(triangle(QPointF(c.x() - h, c.y()), h, s * 0.8, false));
        p.addPath(triangle(QPointF(c.x(), c.y()), h, s * 0.8, false));
        break;
    case TMPBtnType::btRecord:
        p.addEllipse(c, h * 0.8, h * 0.8);
        break;
    case TMPBtnType::btEject:
        p.moveTo(c.x(), c.y() - h);
        p.lineTo(c.x() + h, c.y() + h * 0.2);
        p.lineTo(c.x() - h, c.y() + h * 0.2);
        p.closeSubpath();
        p.addRect(QRectF(c.x() - h, c.y() + h * 0.2 + bar * 0.8, s, bar));
        break;
    }
    p.setFillRule(Qt::WindingFill);
    return p;
}

} // namespace

void paintButtonFace(QPainter& painter, const QRect& bounds, TMPBtnType button, FaceState state, bool down,
                     bool focused)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = bounds;
    painter.fillRect(r, kOutline);
    const QRect face = r.adjusted(1, 1, -1, -1);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, down ? kFaceBottom : kFaceTop);
    fill.setColorAt(1, down ? kFaceTop : kFaceBottom);
    painter.fillRect(face, fill);
    // The bevel: light above and to the left, shade below and to the right (the other way
    // round while the button is held down).
    const QColor topLeft = down ? kShade : kLight;
    const QColor bottomRight = down ? kLight : kShade;
    painter.fillRect(QRect(face.left(), face.top(), face.width(), 1), topLeft);
    painter.fillRect(QRect(face.left(), face.top(), 1, face.height()), topLeft);
    painter.fillRect(QRect(face.left(), face.bottom(), face.width(), 1), bottomRight);
    painter.fillRect(QRect(face.right(), face.top(), 1, face.height()), bottomRight);

    const qreal side = std::max(4.0, std::min(face.width(), face.height()) * 0.42);
    QPointF centre = QRectF(face).center();
    if (down)
        centre += QPointF(1, 1);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    const QPainterPath shape = symbol(button, centre, side);
    if (state == FaceState::Disabled) {
        // Engraved: a light copy below and to the right of a pale one.
        painter.setBrush(kLight);
        painter.drawPath(shape.translated(1, 1));
        painter.setBrush(kDisabledInk);
    } else {
        painter.setBrush(state == FaceState::Colored ? coloredInk(button) : kInk);
    }
    painter.drawPath(shape);

    if (focused) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(kOutline, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(face.adjusted(2, 2, -3, -3));
    }
    painter.restore();
}

} // namespace hw::media
