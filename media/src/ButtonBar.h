#pragma once
// The player's bar of buttons: the visible ones side by side in their fixed order, each an
// equal share of the bar's width. A button is clicked with the mouse (released over the
// button it was pressed on) or with the space bar on the focused button; the arrow keys
// move the focus among the visible, enabled buttons. Clicks go to the owner's handler;
// which buttons are visible, enabled and coloured is the owner's to say.
#include "hw/media/MediaButtons.h"
#include "hw/media/TMediaPlayer.h"

#include <QWidget>

#include <functional>
#include <optional>

namespace hw::media {

// What the open device says it can do.
struct DeviceAbilities {
    bool canPlay = false;
    bool canStep = false;
    bool canEject = false;
    bool canRecord = false;
    bool hasVideo = false;
};

// The buttons AutoEnable enables: none while closed; otherwise what the device can do in
// its mode (Play while stopped or paused, Pause and Stop while playing or paused...).
TButtonSet autoEnabledButtons(bool open, const DeviceAbilities& abilities, TMPModes mode);

class ButtonBar : public QWidget {
public:
    ButtonBar(QWidget* parent, std::function<void(TMPBtnType)> clicked);

    void setButtons(TButtonSet visible, TButtonSet enabled, TButtonSet colored);
    // Where a visible button lies in the bar (empty for a hidden one).
    QRect buttonRect(TMPBtnType button) const;
    std::optional<TMPBtnType> buttonAt(QPoint point) const;
    TMPBtnType focusedButton() const { return focused_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int visibleCount() const;
    bool usable(TMPBtnType button) const;
    void moveFocus(int direction);
    void click(TMPBtnType button);

    std::function<void(TMPBtnType)> clicked_;
    TButtonSet visible_ = TButtonSet::all();
    TButtonSet enabled_ = TButtonSet::all();
    TButtonSet colored_ = TButtonSet::all();
    TMPBtnType focused_ = TMPBtnType::btPlay;
    std::optional<TMPBtnType> pressed_; // held down with the mouse
    bool pressedInside_ = false;
};

} // namespace hw::media
