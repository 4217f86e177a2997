// Fly pictures: a fly on a white, softly lit ground, with a faint shadow under it, the way a
// studio photograph of a fly on a white card looks. Also the two section logos.
#include "hw/artwork/Artwork.h"

#include "Lettering.h"

#include <QPainter>
#include <QRadialGradient>

namespace hw {
namespace {

void paintStudioGround(QPainter& p, const QRectF& box)
{
    p.fillRect(box, Qt::white);
    QRadialGradient falloff(box.center() + QPointF(0, -box.height() * 0.1), box.width() * 0.75);
    falloff.setColorAt(0, QColor(255, 255, 255, 0));
    falloff.setColorAt(0.7, QColor(240, 240, 238, 0));
    falloff.setColorAt(1, QColor(226, 226, 222, 255));
    p.fillRect(box, falloff);
}

void paintFlyWithShadow(QPainter& p, const QRectF& flyBox, FlyKind kind)
{
    const FlyLook look = flyLook(kind);
    const QRectF bounds = flyBounds(look);
    const QTransform t = flyTransform(flyBox, false, bounds);
    const QPointF left = t.map(QPointF(bounds.left() + 10, bounds.bottom() - 1));
    const QPointF right = t.map(QPointF(bounds.right() - 6, bounds.bottom() - 1));
    const QPointF centre = (left + right) / 2;
    const double rx = (right.x() - left.x()) / 2;
    QRadialGradient shadow(centre, rx);
    shadow.setColorAt(0, QColor(0, 0, 0, 60));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(centre);
    p.scale(1, 0.12);
    p.translate(-centre);
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre, rx, rx);
    p.restore();
    drawFinishedFly(p, flyBox, look);
}

QImage renderLogo(const QString& name, FlyKind kind)
{
    QImage image(120, 80, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintStudioGround(p, image.rect());
    paintFlyWithShadow(p, QRectF(6, 22, 108, 56), kind);
    p.setFont(artwork::titleFont(16));
    p.setPen(QColor(70, 34, 92));
    p.drawText(QRectF(5, 2, 112, 20), Qt::AlignLeft | Qt::AlignTop, name);
    return image;
}

} // namespace

QImage renderFlyPicture(FlyKind kind, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintStudioGround(p, image.rect());
    const QRectF box = QRectF(image.rect())
                           .adjusted(size.width() * 0.03, size.height() * 0.04, -size.width() * 0.03,
                                     -size.height() * 0.02);
    paintFlyWithShadow(p, box, kind);
    return image;
}

QImage renderQuickTourLogo()
{
    return renderLogo(QStringLiteral("Quick Tour"), FlyKind::ParachuteAdams);
}
QImage renderTechniquesLogo()
{
    return renderLogo(QStringLiteral("Techniques"), FlyKind::Stimulator);
}

} // namespace hw
