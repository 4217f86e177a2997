#include "hw/clips/StampedFrame.h"

#include "hw/clips/FrameStamp.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace hw {

QImage makeStampedFrame(const QSize& size, int32_t frame)
{
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect stamp = frameStampRect(size);
    // The stamp takes its colours from the picture under it: the background runs to the
    // bottom edge, the ball and the digits stay above the stamp.
    const QRect area(0, 0, size.width(), stamp.top());

    const int hue = (frame * 7) % 360;
    QLinearGradient bg(QPointF(0, 0), QPointF(size.width(), size.height()));
    bg.setColorAt(0, QColor::fromHsv(hue, 120, 200));
    bg.setColorAt(1, QColor::fromHsv((hue + 120) % 360, 160, 90));
    p.fillRect(img.rect(), bg);

    // A ball that moves a few pixels a frame, for motion the encoder has to follow.
    const double t = frame * 0.11;
    const double r = size.height() / 10.0;
    const QPointF centre(area.width() / 2.0 + std::cos(t) * area.width() / 3.0,
                         area.height() / 2.0 + std::sin(t * 1.3) * area.height() / 3.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv((hue + 200) % 360, 255, 255));
    p.drawEllipse(centre, r, r);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(8, area.height() * 2 / 5));
    font.setBold(true);
    p.setFont(font);
    const QString digits = QString::number(frame);
    p.setPen(QPen(Qt::black, std::max(2, size.height() / 60)));
    p.setBrush(Qt::white);
    QPainterPath text;
    const QFontMetrics fm(font);
    text.addText(area.center().x() - fm.horizontalAdvance(digits) / 2.0,
                 area.center().y() + fm.ascent() / 2.5, font, digits);
    p.drawPath(text);
    p.end();

    drawFrameStamp(img, frame);
    return img;
}

} // namespace hw
