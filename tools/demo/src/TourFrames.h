#pragma once
// Frames of the Quick Tour (a miniature of the tutor window with the part being explained
// picked out) and of the splash title sequence.
#include "DemoContent.h"

#include <QImage>
#include <QList>
#include <QRectF>

#include <cstdint>

namespace hw::demo {

class TourFrames {
public:
    TourFrames(const TourSpec& design, int number, const QSize& size);
    QImage frame(int index, int count, int32_t frameNumber) const;

private:
    QImage backdrop_;
    QList<QRectF> highlights_; // in frame coordinates
    QRectF screen_;            // where the miniature window lies
};

class SplashFrames {
public:
    explicit SplashFrames(const QSize& size);
    QImage frame(int index, int count, int32_t frameNumber) const;

private:
    QImage backdrop_;
    QImage fly_;
};

} // namespace hw::demo
