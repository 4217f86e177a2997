#include "PictureZoom.h"

#include <algorithm>

namespace hw {

void PictureZoom::zoomAbout(const QPointF& at, double by, const QRectF& picture)
{
    const double next = std::clamp(factor_ * by, 1.0, kMax);
    // The point of the picture under `at` stays under it.
    const QPointF unzoomed = (at - shift_) / factor_;
    shift_ = at - unzoomed * next;
    factor_ = next;
    keepCovering(picture);
}

void PictureZoom::pan(const QPointF& by, const QRectF& picture)
{
    shift_ += by;
    keepCovering(picture);
}

void PictureZoom::reset()
{
    factor_ = 1.0;
    shift_ = {};
}

QTransform PictureZoom::transform() const
{
    return QTransform(factor_, 0, 0, factor_, shift_.x(), shift_.y());
}

void PictureZoom::keepCovering(const QRectF& picture)
{
    if (factor_ <= 1.0 || picture.isEmpty()) {
        shift_ = {};
        return;
    }
    // Zoomed, the picture spans factor * edge + shift; it must reach past both edges of its
    // unzoomed place.
    const double grow = 1.0 - factor_;
    shift_.setX(std::clamp(shift_.x(), picture.right() * grow, picture.left() * grow));
    shift_.setY(std::clamp(shift_.y(), picture.bottom() * grow, picture.top() * grow));
}

} // namespace hw
