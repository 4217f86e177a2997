#pragma once
// The practice view: the lesson's picture over the whole screen that the tutor window is on,
// for a learner at the vise. The clip device draws into it while it is open (at the screen's
// resolution) and back into the window's video panel when it closes, so the play goes on
// across both. The wheel zooms about the pointer, a drag pans, and the band along the top
// shows the step and the practice badges.
#include "PictureZoom.h"
#include "ViewBand.h"

#include <QTimer>
#include <QWidget>

#include <functional>

namespace hw {

class PanelNote;
class TMediaPlayer;

class PracticeView : public QWidget {
    Q_OBJECT

public:
    PracticeView(QWidget* window, QWidget* panel, TMediaPlayer* player);

    bool isOpen() const { return isVisible(); }
    void open();
    void leave(); // back to the tutor window
    void toggle();

    // Asked for the step on show while the view is open.
    std::function<StepInfo()> describeStep;
    void setBadges(const QString& badges);
    void flashNote(const QString& text);

    const PictureZoom& zoom() const { return zoom_; }
    void resetZoom();
    ViewBand* band() const { return band_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void refresh();
    void applyZoom();
    void wakeBand();

    QWidget* window_;
    QWidget* panel_;
    TMediaPlayer* player_;
    ViewBand* band_ = nullptr;
    PanelNote* note_ = nullptr;
    PictureZoom zoom_;
    QTimer refresh_;
    const void* step_ = nullptr;
    bool dragging_ = false;
    QPointF dragFrom_;
};

} // namespace hw
