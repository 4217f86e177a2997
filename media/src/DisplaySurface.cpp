#include "DisplaySurface.h"

#include "CaptionPainter.h"
#include "hw/media/CaptionTrack.h"

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

void DisplaySurface::setCaptions(std::shared_ptr<const CaptionTrack> captions, double fps)
{
    captions_ = std::move(captions);
    fps_ = fps;
    update();
}

QString DisplaySurface::captionShown() const
{
    const int frame = sink_->frame();
    if (!captions_ || fps_ <= 0 || frame < 0)
        return {};
    return captions_->textAt(std::llround(frame * 1000.0 / fps_));
}

void DisplaySurface::setZoom(const QTransform& zoom)
{
    zoom_ = zoom;
    update();
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
    sink_->setPanel(QSize(static_cast<int>(std::lround(width() * ratio)),
                          static_cast<int>(std::lround(height() * ratio))));
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

QRectF DisplaySurface::placeOf(const QImage& picture) const
{
    if (picture.isNull())
        return {};
    // The worker scales to the panel in device pixels; painted 1:1 when it fits, else (a
    // resize not yet caught up) scaled smoothly.
    const qreal ratio = devicePixelRatioF();
    QSizeF logical = QSizeF(picture.size()) / ratio;
    const QSizeF room = size();
    if (logical.width() > room.width() + 0.5 || logical.height() > room.height() + 0.5
        || (logical.width() < room.width() - 1.5 && logical.height() < room.height() - 1.5))
        logical.scale(room, Qt::KeepAspectRatio);
    return QRectF(QPointF((room.width() - logical.width()) / 2, (room.height() - logical.height()) / 2),
                  logical);
}

QRectF DisplaySurface::picturePlace() const
{
    return placeOf(sink_->picture()).translated(pos());
}

void DisplaySurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    QImage picture = sink_->picture();
    if (picture.isNull())
        return;
    const QRectF target = placeOf(picture);
    picture.setDevicePixelRatio(devicePixelRatioF());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (zoom_.isIdentity()) {
        p.drawImage(target, picture);
    } else {
        // Only the part of the picture that lands in the surface is scaled.
        const QRectF zoomed = zoom_.mapRect(target);
        const QRectF visible = zoomed.intersected(QRectF(rect()));
        if (!visible.isEmpty()) {
            const qreal sx = picture.width() / zoomed.width();
            const qreal sy = picture.height() / zoomed.height();
            const QRectF source((visible.left() - zoomed.left()) * sx, (visible.top() - zoomed.top()) * sy,
                                visible.width() * sx, visible.height() * sy);
            p.drawImage(visible, picture, source);
        }
    }
    // The caption stays put under a zoom, at the foot of the picture's place.
    paintCaption(p, target.intersected(QRectF(rect())), captionShown());
}

} // namespace hw::media
