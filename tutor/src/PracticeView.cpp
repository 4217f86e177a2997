#include "PracticeView.h"

#include "PanelNote.h"
#include "hw/media/TMediaPlayer.h"

#include <QAction>
#include <QChildEvent>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>

namespace hw {

namespace {
constexpr int kRefreshMs = 150; // the band's step and place, and a change of step
}

PracticeView::PracticeView(QWidget* window, QWidget* panel, TMediaPlayer* player)
    : QWidget(window, Qt::Window | Qt::FramelessWindowHint)
    , window_(window)
    , panel_(panel)
    , player_(player)
{
    setObjectName(QStringLiteral("PracticeView"));
    setWindowTitle(QStringLiteral("Practice view"));
    setAccessibleName(QStringLiteral("Practice view"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    band_ = new ViewBand(this);
    note_ = new PanelNote(this, PanelNote::Corner::TopLeft, QStringLiteral("ViewNote"));
    note_->setTopMargin(ViewBand::kHeight + 8);

    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    connect(escape, &QAction::triggered, this, &PracticeView::leave);
    addAction(escape);
    auto* unzoom = new QAction(this);
    unzoom->setObjectName(QStringLiteral("ResetZoomAction"));
    unzoom->setShortcut(Qt::Key_0);
    connect(unzoom, &QAction::triggered, this, &PracticeView::resetZoom);
    addAction(unzoom);

    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &PracticeView::refresh);
}

void PracticeView::open()
{
    if (isOpen())
        return;
    QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        setGeometry(screen->geometry());
        if (QWindow* handle = windowHandle())
            handle->setScreen(screen);
    }
    zoom_.reset();
    step_ = describeStep ? describeStep().step : nullptr;
    showFullScreen();
    raise();
    activateWindow();
    player_->setDisplay(this);
    applyZoom();
    refresh();
    refresh_.start();
    wakeBand();
}

void PracticeView::leave()
{
    if (!isOpen())
        return;
    refresh_.stop();
    dragging_ = false;
    // The window's panel shows the picture as it always has: unzoomed.
    zoom_.reset();
    applyZoom();
    player_->setDisplay(panel_);
    hide();
    unsetCursor();
    window_->raise();
    window_->activateWindow();
}

void PracticeView::toggle()
{
    if (isOpen())
        leave();
    else
        open();
}

void PracticeView::setBadges(const QString& badges)
{
    band_->setBadges(badges);
    if (isOpen())
        wakeBand();
}

void PracticeView::flashNote(const QString& text)
{
    if (isOpen())
        note_->flash(text);
}

void PracticeView::resetZoom()
{
    zoom_.reset();
    applyZoom();
}

void PracticeView::applyZoom()
{
    player_->setPictureZoom(zoom_.transform());
}

void PracticeView::refresh()
{
    if (!describeStep)
        return;
    const StepInfo info = describeStep();
    if (info.step != step_) {
        step_ = info.step;
        resetZoom(); // a new step starts unzoomed
    }
    band_->setStep(info);
    // Out of the way while the band is: no pointer over the picture.
    if (!band_->isVisible() && !dragging_)
        setCursor(Qt::BlankCursor);
}

void PracticeView::wakeBand()
{
    unsetCursor();
    band_->wake();
}

bool PracticeView::event(QEvent* event)
{
    // The clip device puts a fresh picture surface into the view at every Open; the band
    // stays above it.
    if (event->type() == QEvent::ChildAdded && static_cast<QChildEvent*>(event)->child() != band_
        && static_cast<QChildEvent*>(event)->child() != note_ && band_ && band_->isVisible())
        band_->raise();
    return QWidget::event(event);
}

void PracticeView::closeEvent(QCloseEvent* event)
{
    // Closed by the window system (a key of the desktop): back to the window.
    event->ignore();
    leave();
}

void PracticeView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0) {
        zoom_.zoomAbout(event->position(), std::pow(PictureZoom::kWheelStep, notches),
                        player_->picturePlace());
        applyZoom();
    }
    event->accept();
}

void PracticeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragFrom_ = event->position();
    }
    QWidget::mousePressEvent(event);
}

void PracticeView::mouseMoveEvent(QMouseEvent* event)
{
    wakeBand();
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        zoom_.pan(event->position() - dragFrom_, player_->picturePlace());
        dragFrom_ = event->position();
        applyZoom();
    }
}

void PracticeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void PracticeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        leave();
}

} // namespace hw
