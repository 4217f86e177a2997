#include "PictureSink.h"

#include <QCoreApplication>

namespace hw::media {

QEvent::Type PictureSink::updateEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

void PictureSink::present(QImage picture, int frame)
{
    std::lock_guard lock(pictureMutex_);
    picture_ = std::move(picture);
    frame_ = frame;
    if (hook_)
        hook_(picture_, frame_);
    if (surface_ && !updatePosted_) {
        updatePosted_ = true;
        QCoreApplication::postEvent(surface_, new QEvent(updateEventType()));
    }
}

void PictureSink::setPresentHook(PresentHook hook)
{
    std::lock_guard lock(pictureMutex_);
    hook_ = std::move(hook);
}

QImage PictureSink::picture() const
{
    std::lock_guard lock(pictureMutex_);
    return picture_;
}

int PictureSink::frame() const
{
    std::lock_guard lock(pictureMutex_);
    return frame_;
}

void PictureSink::clear()
{
    std::lock_guard lock(pictureMutex_);
    picture_ = QImage();
    frame_ = -1;
}

QSize PictureSink::panel() const
{
    std::lock_guard lock(pictureMutex_);
    return panel_;
}

void PictureSink::setPanel(const QSize& devicePixels)
{
    std::lock_guard lock(pictureMutex_);
    panel_ = devicePixels;
}

void PictureSink::attach(QObject* surface)
{
    std::lock_guard lock(pictureMutex_);
    surface_ = surface;
    updatePosted_ = false;
}

void PictureSink::detach(QObject* surface)
{
    std::lock_guard lock(pictureMutex_);
    if (surface_ == surface) {
        surface_ = nullptr;
        panel_ = QSize();
    }
}

void PictureSink::updateTaken()
{
    std::lock_guard lock(pictureMutex_);
    updatePosted_ = false;
}

} // namespace hw::media
