#include "DisplaySurface.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace hw::media {

DisplaySurface::DisplaySurface(QWidget* display, std::shared_ptr<PictureSink> sink)
    : QWidget(display)
    , sink_(std::move(sink))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("clipSurface"));
    display->installEventFilter(this);
    followDisplay();
    publishPanel();
    sink_->attach(this);
    show();
    update();
}

DisplaySurface::~DisplaySurface()
{
    sink_->detach(this);
}

void DisplaySurface::setPlacement(std::optional<QRect> rect)
{
    placement_ = rect;
    followDisplay();
}

void DisplaySurface::followDisplay()
{
    if (placement_)
        setGeometry(*placement_);
    else if (auto* display = parentWidget())
        setGeometry(display->contentsRect());
}

void DisplaySurface::publishPanel()
{
    const qreal ratio = devicePixelRatioF();
    sink_->setPanel(QSize(int(std::lround(width() * ratio)), int(std::lround(height() * ratio))), ratio);
}

bool DisplaySurface::event(QEvent* e)
{
    if (e->type() == PictureSink::updateEventType()) {
        sink_->updateTaken();
        update();
        return true;
    }
    if (e->type() == QEvent::ScreenChangeInternal)
        publishPanel();
    return QWidget::event(e);
}

bool DisplaySurface::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == parentWidget()
        && (e->type() == QEvent::Resize || e->type() == QEvent::ContentsRectChange
            || e->type() == QEvent::LayoutRequest))
        followDisplay();
    return false;
}

void DisplaySurface::resizeEvent(QResizeEvent*)
{
    publishPanel();
}

void DisplaySurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    QImage picture = sink_->picture();
    if (picture.isNull())
        return;
    // The worker scales to the panel in device pixels; paint 1:1 when it fits, else (a
    // resize not yet caught up) scale smoothly.
    const qreal ratio = devicePixelRatioF();
    picture.setDevicePixelRatio(ratio);
    QSizeF logical = QSizeF(picture.size()) / ratio;
    const QSizeF room = size();
    if (logical.width() > room.width() + 0.5 || logical.height() > room.height() + 0.5
        || (logical.width() < room.width() - 1.5 && logical.height() < room.height() - 1.5))
        logical.scale(room, Qt::KeepAspectRatio);
    const QRectF target(QPointF((room.width() - logical.width()) / 2, (room.height() - logical.height()) / 2),
                        logical);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, picture);
}

} // namespace hw::media
