#pragma once
// Spoken commands in the tutor window: listening switched on and off (V), kept between runs,
// a badge that says so and flashes each command heard, and the command handed on to act as
// its key does. The listener itself comes from a factory the window is given; it calls from
// its own thread, and what it says is carried over to the window's.
#include "hw/listen/CommandListener.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSettings;

namespace hw {

class PanelNote;

class HandsFree : public QObject {
    Q_OBJECT

public:
    using ListenerFactory = std::function<std::unique_ptr<CommandListener>()>;
    HandsFree(QObject* parent, PanelNote* badge, std::shared_ptr<QSettings> settings);
    ~HandsFree() override;

    // Empty: there is nothing to listen with, and switching on says "No microphone found".
    void setListenerFactory(ListenerFactory make) { make_ = std::move(make); }
    // Switches listening on when it was on at the end of the last run.
    void restore();
    void setListening(bool on);
    bool listening() const { return listener_ != nullptr; }
    // What the badge says now ("" when it shows nothing).
    QString badgeText() const;

    // A command heard, on the window's thread.
    std::function<void(SpokenCommand)> onCommand;
    // The badge's text has changed (for the practice view's band).
    std::function<void()> onBadgeChanged;
    // A note to show for a moment ("heard: again", "No microphone found").
    std::function<void(const QString&)> onFlash;

private:
    void heard(unsigned generation, SpokenCommand command);
    void stateChanged(unsigned generation, ListenState state);
    void showBadge(const QString& text);
    void save(bool on);

    PanelNote* badge_;
    std::shared_ptr<QSettings> settings_;
    ListenerFactory make_;
    std::unique_ptr<CommandListener> listener_;
    unsigned generation_ = 0; // of the listener now; what an earlier one says is ignored
    QTimer flashEnd_;
};

} // namespace hw
