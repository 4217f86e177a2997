#include "RaisedPanel.h"

#include <QPainter>

namespace hw {

RaisedPanel::RaisedPanel(QWidget* parent, int bevelWidth)
    : QFrame(parent)
    , bevelWidth_(bevelWidth)
{
    setFrameShape(QFrame::NoFrame);
    // Border and bevel leave this much room for the children.
    setContentsMargins(1 + bevelWidth, 1 + bevelWidth, 1 + bevelWidth, 1 + bevelWidth);
}

void RaisedPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    QRect r = rect();
    p.fillRect(r, pal.color(QPalette::Button));

    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);

    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    for (int i = 0; i < bevelWidth_; ++i) {
        p.setPen(light);
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        p.setPen(dark);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}

} // namespace hw
