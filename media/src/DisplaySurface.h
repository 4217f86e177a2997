#pragma once
// The child widget that shows the device's picture inside the player's Display: it follows
// the Display's size, tells the worker its size in device pixels, and paints the last
// presented picture centred on black, keeping its aspect, zoomed and with its caption when
// asked.
#include "PictureSink.h"

#include <QTransform>
#include <QWidget>

#include <memory>
#include <optional>

namespace hw {
class CaptionTrack;
}

namespace hw::media {

class DisplaySurface : public QWidget {
public:
    DisplaySurface(QWidget* display, std::shared_ptr<PictureSink> sink);
    ~DisplaySurface() override;

    // Puts the picture at a fixed place in the Display; none follows the Display's size.
    void setPlacement(std::optional<QRect> rect);
    // Captions drawn over the picture's foot (null: none); fps turns frames into clip time.
    void setCaptions(std::shared_ptr<const CaptionTrack> captions, double fps);
    // The caption drawn for the picture on show; empty when none.
    QString captionShown() const;
    // Zoom and pan: maps where the picture lies in the surface to where it is drawn.
    void setZoom(const QTransform& zoom);
    // Where the picture on show lies in the surface before the zoom; empty without one.
    QRectF picturePlace() const;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void followDisplay();
    void publishPanel();
    QRectF placeOf(const QImage& picture) const;

    std::shared_ptr<PictureSink> sink_;
    std::optional<QRect> placement_;
    std::shared_ptr<const CaptionTrack> captions_;
    double fps_ = 0;
    QTransform zoom_;
};

} // namespace hw::media
