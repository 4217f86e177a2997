#include "PicturePainting.h"

#include <QCache>
#include <QPaintDevice>

namespace hw {
namespace {

struct ScaledKey {
    qint64 image;
    int width;
    int height;
    friend bool operator==(const ScaledKey&, const ScaledKey&) = default;
};

size_t qHash(const ScaledKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.image, key.width, key.height);
}

// Resampling a picture for every paint would be wasteful: the gallery repaints its cells
// on every scroll and focus change.
QImage resampled(const QImage& image, const QSize& deviceSize)
{
    static QCache<ScaledKey, QImage> cache(64);
    const ScaledKey key{image.cacheKey(), deviceSize.width(), deviceSize.height()};
    if (const QImage* hit = cache.object(key))
        return *hit;
    QImage scaled = image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    cache.insert(key, new QImage(scaled));
    return scaled;
}

} // namespace

qreal painterPixelRatio(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const qreal deviceRatio = device ? device->devicePixelRatioF() : 1.0;
    // A painter may already be scaled (QWidget::render into a larger image).
    const qreal transformRatio = painter.worldTransform().m11();
    return deviceRatio * (transformRatio > 0 ? transformRatio : 1.0);
}

void paintPicture(QPainter& painter, const QRect& target, const QImage& image)
{
    if (image.isNull() || target.isEmpty())
        return;
    const qreal ratio = painterPixelRatio(painter);
    const qreal scaleX = target.width() * ratio / image.width();
    const qreal scaleY = target.height() * ratio / image.height();
    painter.save();
    if (scaleX >= 1.0 && scaleY >= 1.0) {
        // Enlarged: picture pixels are repeated over device pixels, so edges stay hard.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, image);
    } else {
        // Reduced: averaged once to the device size, then copied pixel for pixel.
        const QSize deviceSize(qRound(target.width() * ratio), qRound(target.height() * ratio));
        QImage scaled = resampled(image, deviceSize);
        scaled.setDevicePixelRatio(ratio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QPointF(target.topLeft()), scaled);
    }
    painter.restore();
}

} // namespace hw
