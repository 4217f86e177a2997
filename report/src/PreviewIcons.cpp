#include "PreviewIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace hw {
namespace {

// A small palette shared by every icon so the toolbar reads as one set.
const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kAccent(0x2f, 0x7c, 0xd6);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kShade(0xe4, 0xe8, 0xee);

QPen inkPen(double width = 1.6)
{
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner, in the 24 x 24 design grid.
void drawSheet(QPainter& p, const QRectF& r)
{
    const double fold = 5.0;
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    p.setPen(inkPen(1.3));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(kShade);
    p.drawPath(corner);
}

void drawMagnifier(QPainter& p, QPointF centre, double radius)
{
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF dir(0.7071, 0.7071);
    p.drawLine(centre + dir * (radius + 0.5), centre + dir * (radius + 6.0));
    p.setPen(inkPen(1.6));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(centre, radius, radius);
}

void drawZoom(QPainter& p, PreviewIcon which)
{
    drawSheet(p, QRectF(3.5, 2.5, 13, 17));
    const QPointF c(14.5, 13.5);
    drawMagnifier(p, c, 5.6);
    p.setPen(QPen(kAccent, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (which == PreviewIcon::ZoomToFit) {
        // Four corners: the whole page in view.
        const double a = 2.8, b = 1.6;
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                const QPointF k(c.x() + sx * a, c.y() + sy * a);
                p.drawLine(k, k - QPointF(sx * b, 0));
                p.drawLine(k, k - QPointF(0, sy * b));
            }
        }
    } else if (which == PreviewIcon::ZoomTo100) {
        // "1:1"
        p.drawLine(QPointF(c.x() - 3.0, c.y() - 1.6), QPointF(c.x() - 2.0, c.y() - 2.6));
        p.drawLine(QPointF(c.x() - 2.0, c.y() - 2.6), QPointF(c.x() - 2.0, c.y() + 2.6));
        p.drawLine(QPointF(c.x() + 2.0, c.y() - 1.6), QPointF(c.x() + 3.0, c.y() - 2.6));
        p.drawLine(QPointF(c.x() + 3.0, c.y() - 2.6), QPointF(c.x() + 3.0, c.y() + 2.6));
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(c.x() + 0.5, c.y() - 1.2), 0.75, 0.75);
        p.drawEllipse(QPointF(c.x() + 0.5, c.y() + 1.6), 0.75, 0.75);
    } else {
        // A double arrow across: the page width.
        p.drawLine(QPointF(c.x() - 3.3, c.y()), QPointF(c.x() + 3.3, c.y()));
        p.drawPolyline(
            QList<QPointF>{{c.x() - 1.6, c.y() - 1.7}, {c.x() - 3.3, c.y()}, {c.x() - 1.6, c.y() + 1.7}});
        p.drawPolyline(
            QList<QPointF>{{c.x() + 1.6, c.y() - 1.7}, {c.x() + 3.3, c.y()}, {c.x() + 1.6, c.y() + 1.7}});
    }
}

void drawTriangle(QPainter& p, double tipX, double baseX, double cy, double half)
{
    QPainterPath t;
    t.moveTo(tipX, cy);
    t.lineTo(baseX, cy - half);
    t.lineTo(baseX, cy + half);
    t.closeSubpath();
    p.drawPath(t);
}

void drawNavigation(QPainter& p, PreviewIcon which)
{
    p.setPen(QPen(kAccent.darker(125), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kAccent);
    const double cy = 12.0;
    switch (which) {
    case PreviewIcon::FirstPage:
        p.drawRoundedRect(QRectF(5.0, 5.5, 2.6, 13.0), 0.8, 0.8);
        drawTriangle(p, 9.0, 18.5, cy, 6.5);
        break;
    case PreviewIcon::PrevPage:
        drawTriangle(p, 7.0, 16.5, cy, 6.5);
        break;
    case PreviewIcon::NextPage:
        drawTriangle(p, 17.0, 7.5, cy, 6.5);
        break;
    default:
        p.drawRoundedRect(QRectF(16.4, 5.5, 2.6, 13.0), 0.8, 0.8);
        drawTriangle(p, 15.0, 5.5, cy, 6.5);
        break;
    }
}

void drawPrinter(QPainter& p, bool setup)
{
    // Paper in, body, paper out.
    p.setPen(inkPen(1.3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.0, 2.5, 10.0, 6.5));
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 8.5, 19.0, 9.0), 2.2, 2.2);
    p.setBrush(QColor(0x5b, 0x67, 0x77));
    p.setPen(inkPen(1.3));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9d, 0xe0, 0x7b));
    p.drawEllipse(QPointF(18.2, 11.3), 1.0, 1.0);
    p.setPen(inkPen(1.3));
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 14.0, 11.0, 7.5));
    p.setPen(QPen(kShade.darker(130), 1.0));
    p.drawLine(QPointF(8.5, 16.5), QPointF(15.5, 16.5));
    p.drawLine(QPointF(8.5, 18.8), QPointF(13.5, 18.8));
    if (setup) {
        // A gear over the corner: settings.
        const QPointF c(17.5, 17.0);
        QPainterPath gear;
        const int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            const double angle = i * M_PI / teeth;
            const double r = (i % 2 == 0) ? 5.2 : 3.9;
            const QPointF pt(c.x() + r * std::cos(angle), c.y() + r * std::sin(angle));
            if (i == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
        gear.closeSubpath();
        gear.addEllipse(c, 1.7, 1.7);
        gear.setFillRule(Qt::OddEvenFill);
        p.setPen(QPen(kInk, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(kAccent);
        p.drawPath(gear);
    }
}

void drawSave(QPainter& p)
{
    // A sheet with an arrow down into a tray.
    drawSheet(p, QRectF(5.5, 2.5, 13, 15));
    p.setPen(QPen(kAccent, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(12.0, 6.0), QPointF(12.0, 15.0));
    p.drawPolyline(QList<QPointF>{{8.5, 11.8}, {12.0, 15.3}, {15.5, 11.8}});
    p.setPen(inkPen(1.8));
    p.drawPolyline(QList<QPointF>{{3.5, 16.5}, {3.5, 21.0}, {20.5, 21.0}, {20.5, 16.5}});
}

void drawLoad(QPainter& p)
{
    // An open folder.
    QPainterPath back;
    back.moveTo(2.5, 19.5);
    back.lineTo(2.5, 5.0);
    back.lineTo(8.5, 5.0);
    back.lineTo(10.5, 7.0);
    back.lineTo(19.0, 7.0);
    back.lineTo(19.0, 10.0);
    p.setPen(inkPen(1.3));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(2.5, 19.5);
    front.lineTo(6.0, 10.0);
    front.lineTo(22.0, 10.0);
    front.lineTo(18.5, 19.5);
    front.closeSubpath();
    p.setBrush(QColor(0xf8, 0xd7, 0x7a));
    p.drawPath(front);
}

void drawClose(QPainter& p)
{
    p.setPen(QPen(QColor(0xc9, 0x3c, 0x3c), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 6.5), QPointF(17.5, 17.5));
    p.drawLine(QPointF(17.5, 6.5), QPointF(6.5, 17.5));
}

void paintIcon(QPainter& p, PreviewIcon which)
{
    switch (which) {
    case PreviewIcon::ZoomToFit:
    case PreviewIcon::ZoomTo100:
    case PreviewIcon::ZoomToWidth:
        drawZoom(p, which);
        break;
    case PreviewIcon::FirstPage:
    case PreviewIcon::PrevPage:
    case PreviewIcon::NextPage:
    case PreviewIcon::LastPage:
        drawNavigation(p, which);
        break;
    case PreviewIcon::PrintSetup:
        drawPrinter(p, true);
        break;
    case PreviewIcon::Print:
        drawPrinter(p, false);
        break;
    case PreviewIcon::Save:
        drawSave(p);
        break;
    case PreviewIcon::Load:
        drawLoad(p);
        break;
    case PreviewIcon::Close:
        drawClose(p);
        break;
    }
}

// Paints the icon afresh for each requested size and device pixel ratio, so it is never
// a scaled bitmap.
class VectorIconEngine final : public QIconEngine {
public:
    explicit VectorIconEngine(PreviewIcon which)
        : which_(which)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 24.0, rect.height() / 24.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.35);
        paintIcon(*painter, which_);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pm(size * scale);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            paint(&p, QRect(QPoint(0, 0), pm.size()), mode, state);
        }
        pm.setDevicePixelRatio(scale);
        return pm;
    }

    QIconEngine* clone() const override { return new VectorIconEngine(which_); }

private:
    PreviewIcon which_;
};

} // namespace

QIcon previewIcon(PreviewIcon which)
{
    return QIcon(new VectorIconEngine(which));
}

} // namespace hw
