#pragma once
// The zoom of the practice view: a factor from 1 to 4 about a point and a pan, both kept so
// that the zoomed picture always covers the place the whole picture had (no black comes in
// where picture was).
#include <QPointF>
#include <QRectF>
#include <QTransform>

namespace hw {

class PictureZoom {
public:
    static constexpr double kMax = 4.0;
    static constexpr double kWheelStep = 1.25; // per notch of the wheel

    double factor() const { return factor_; }
    bool zoomed() const { return factor_ > 1.0; }
    // picture: where the whole picture lies unzoomed.
    void zoomAbout(const QPointF& at, double by, const QRectF& picture);
    void pan(const QPointF& by, const QRectF& picture);
    void reset();
    // Maps the unzoomed place of a point to where it is drawn.
    QTransform transform() const;

private:
    void keepCovering(const QRectF& picture);
    double factor_ = 1.0;
    QPointF shift_;
};

} // namespace hw
