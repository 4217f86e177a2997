#pragma once
// The child widget that shows the device's picture inside the player's Display: it follows
// the Display's size, tells the worker its size in device pixels, and paints the last
// presented picture centred on black, keeping its aspect.
#include "PictureSink.h"

#include <QWidget>

#include <memory>
#include <optional>

namespace hw::media {

class DisplaySurface : public QWidget {
public:
    DisplaySurface(QWidget* display, std::shared_ptr<PictureSink> sink);
    ~DisplaySurface() override;

    // Puts the picture at a fixed place in the Display; none follows the Display's size.
    void setPlacement(std::optional<QRect> rect);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void followDisplay();
    void publishPanel();

    std::shared_ptr<PictureSink> sink_;
    std::optional<QRect> placement_;
};

} // namespace hw::media
