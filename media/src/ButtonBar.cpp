#include "ButtonBar.h"

#include "ButtonFaces.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace hw::media {

namespace {
TMPBtnType buttonOf(int index)
{
    return static_cast<TMPBtnType>(index);
}
int indexOf(TMPBtnType button)
{
    return static_cast<int>(button);
}
} // namespace

TButtonSet autoEnabledButtons(bool open, const DeviceAbilities& abilities, TMPModes mode)
{
    using enum TMPBtnType;
    TButtonSet set;
    if (!open)
        return set;
    const bool running = mode == TMPModes::mpPlaying || mode == TMPModes::mpPaused;
    const bool recording = mode == TMPModes::mpRecording;
    if (abilities.canPlay && mode != TMPModes::mpPlaying && !recording)
        set.insert(btPlay);
    if (running || recording)
        set.insert(btPause).insert(btStop);
    if (!recording) {
        set.insert(btNext).insert(btPrev);
        if (abilities.canStep)
            set.insert(btStep).insert(btBack);
    }
    if (abilities.canRecord && !running && !recording)
        set.insert(btRecord);
    if (abilities.canEject && !running && !recording)
        set.insert(btEject);
    return set;
}

ButtonBar::ButtonBar(QWidget* parent, std::function<void(TMPBtnType)> clicked)
    : QWidget(parent)
    , clicked_(std::move(clicked))
{
    setObjectName(QStringLiteral("mediaButtonBar"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Media player buttons"));
}

void ButtonBar::setButtons(TButtonSet visible, TButtonSet enabled, TButtonSet colored)
{
    if (visible == visible_ && enabled == enabled_ && colored == colored_)
        return;
    visible_ = visible;
    enabled_ = enabled;
    colored_ = colored;
    if (pressed_ && !usable(*pressed_))
        pressed_.reset();
    update();
}

int ButtonBar::visibleCount() const
{
    int n = 0;
    for (int i = 0; i < kMediaButtonCount; ++i)
        n += visible_.contains(buttonOf(i)) ? 1 : 0;
    return n;
}

QRect ButtonBar::buttonRect(TMPBtnType button) const
{
    if (!visible_.contains(button))
        return {};
    const int n = visibleCount();
    int slot = 0;
    for (int i = 0; i < indexOf(button); ++i)
        slot += visible_.contains(buttonOf(i)) ? 1 : 0;
    const int left = slot * width() / n;
    const int right = (slot + 1) * width() / n;
    return QRect(left, 0, right - left, height());
}

std::optional<TMPBtnType> ButtonBar::buttonAt(QPoint point) const
{
    for (int i = 0; i < kMediaButtonCount; ++i)
        if (buttonRect(buttonOf(i)).contains(point))
            return buttonOf(i);
    return std::nullopt;
}

bool ButtonBar::usable(TMPBtnType button) const
{
    return visible_.contains(button) && enabled_.contains(button);
}

void ButtonBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < kMediaButtonCount; ++i) {
        const TMPBtnType b = buttonOf(i);
        if (!visible_.contains(b))
            continue;
        const FaceState state = !enabled_.contains(b) ? FaceState::Disabled
            : colored_.contains(b)                    ? FaceState::Colored
                                                      : FaceState::Enabled;
        const bool down = pressed_ == b && pressedInside_;
        paintButtonFace(painter, buttonRect(b), b, state, down, hasFocus() && focused_ == b);
    }
}

void ButtonBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const auto b = buttonAt(event->position().toPoint());
    if (!b || !usable(*b))
        return;
    pressed_ = b;
    pressedInside_ = true;
    focused_ = *b;
    update();
}

void ButtonBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    const bool inside = buttonRect(*pressed_).contains(event->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        update();
    }
}

void ButtonBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return QWidget::mouseReleaseEvent(event);
    const TMPBtnType b = *pressed_;
    const bool inside = buttonRect(b).contains(event->position().toPoint());
    pressed_.reset();
    update();
    if (inside && usable(b))
        click(b);
}

void ButtonBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveFocus(-1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveFocus(+1);
        return;
    case Qt::Key_Space:
        if (!event->isAutoRepeat() && usable(focused_))
            click(focused_);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ButtonBar::moveFocus(int direction)
{
    for (int i = indexOf(focused_) + direction; i >= 0 && i < kMediaButtonCount; i += direction) {
        if (usable(buttonOf(i))) {
            focused_ = buttonOf(i);
            update();
            return;
        }
    }
}

void ButtonBar::focusInEvent(QFocusEvent* event)
{
    // The focus lands on a button that can be clicked, if there is one.
    if (!usable(focused_)) {
        for (int i = 0; i < kMediaButtonCount; ++i)
            if (usable(buttonOf(i))) {
                focused_ = buttonOf(i);
                break;
            }
    }
    update();
    QWidget::focusInEvent(event);
}

void ButtonBar::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void ButtonBar::click(TMPBtnType button)
{
    // The handler may hide or delete the bar.
    const QPointer<ButtonBar> self(this);
    if (clicked_)
        clicked_(button);
    if (self)
        self->update();
}

} // namespace hw::media
