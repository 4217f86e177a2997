#include "hw/tutor/ImageBox.h"

#include "PicturePainting.h"

#include <QPainter>

namespace hw {

ImageBox::ImageBox(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setFocusPolicy(Qt::NoFocus);
}

void ImageBox::setPicture(const LabelledPicture& picture)
{
    picture_ = picture;
    setAccessibleName(picture.label);
    update();
}

void ImageBox::setStretch(bool stretch)
{
    stretch_ = stretch;
    update();
}

void ImageBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter painter(this);
    const QRect target = stretch_ ? rect() : QRect(QPoint(0, 0), picture_.size());
    paintPicture(painter, target, picture_.image);
}

} // namespace hw
