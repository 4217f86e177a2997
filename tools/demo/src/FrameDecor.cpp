#include "FrameDecor.h"

#include <QFontMetrics>

#include "hw/clips/FrameStamp.h"

namespace hw::demo {

QFont demoFont(int pixelSize, bool bold, bool italic)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void paintTitleBar(QPainter& p, int width, const QString& heading, const QString& note)
{
    p.save();
    p.fillRect(QRect(0, 0, width, kTitleBarHeight), QColor(58, 30, 78));
    p.fillRect(QRect(0, kTitleBarHeight - 1, width, 1), QColor(120, 88, 140));
    p.setRenderHint(QPainter::TextAntialiasing);
    if (!note.isEmpty()) {
        p.setFont(demoFont(11, true));
        p.setPen(QColor(226, 212, 238));
        p.drawText(QRect(0, 0, width - 8, kTitleBarHeight), Qt::AlignRight | Qt::AlignVCenter, note);
    }
    // A long heading ("Tie In the Hackle and Dub the Abdomen") is lettered smaller to fit.
    const QRect box(8, 0, width - 100, kTitleBarHeight);
    int size = 13;
    while (size > 9 && QFontMetrics(demoFont(size, true)).horizontalAdvance(heading) > box.width())
        --size;
    p.setFont(demoFont(size, true));
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, heading);
    p.restore();
}

void paintBottomLedge(QPainter& p, const QSize& size)
{
    const int top = stampTop(size) - 2;
    p.fillRect(QRect(0, top, size.width(), 1), QColor(232, 226, 238));
    p.fillRect(QRect(0, top + 1, size.width(), size.height() - top - 1), QColor(190, 180, 204));
}

void paintProgress(QPainter& p, int width, double fraction)
{
    p.fillRect(QRectF(0, kTitleBarHeight, width, 3), QColor(0, 0, 0, 40));
    p.fillRect(QRectF(0, kTitleBarHeight, width * std::clamp(fraction, 0.0, 1.0), 3), QColor(236, 140, 48));
}

void paintFrameNumber(QPainter& p, const QSize& size, int32_t frame, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(demoFont(11, true));
    p.setPen(colour);
    const int bottom = stampTop(size) - 3;
    p.drawText(QRect(0, bottom - 16, size.width() - 8, 16), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("Frame %1").arg(frame));
    p.restore();
}

// The demo library is MJPEG at good quality: the faint stamp is enough.
void stampFrame(QImage& image, int32_t frame)
{
    hw::drawFrameStamp(image, frame, hw::StampContrast::Faint);
}

int stampTop(const QSize& size)
{
    return hw::frameStampRect(size).top();
}

} // namespace hw::demo
