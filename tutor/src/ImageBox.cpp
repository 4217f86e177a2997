#include "hw/tutor/TImage.h"

#include "PicturePainting.h"

#include <QPainter>

namespace hw {

TImage::TImage(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setFocusPolicy(Qt::NoFocus);
}

void TImage::setPicture(const TPicture& picture)
{
    picture_ = picture;
    setAccessibleName(picture.label);
    update();
}

void TImage::setStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QRect target = stretch_ ? rect() : QRect(QPoint(0, 0), picture_.size());
    paintPicture(painter, target, picture_.image);
}

} // namespace hw
