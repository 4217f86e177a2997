#pragma once
// Keyboard shortcuts for the clip transport. Each presses its button, and is live only
// while that button is visible, so a screen without the button leaves the key to the
// control that has the focus.
#include <QKeySequence>
#include <QObject>

#include <vector>

class QAbstractButton;
class QShortcut;
class QWidget;

namespace hw {

class TransportShortcuts : public QObject {
    Q_OBJECT

public:
    explicit TransportShortcuts(QWidget* window);
    // autoRepeat: a held key presses again (only for commands that finish at once).
    void add(const QKeySequence& key, QAbstractButton* button, bool autoRepeat = false);
    // The same keys in another window of the program (the practice view), pressing the same
    // buttons; call after the last add.
    void alsoIn(QWidget* other);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding {
        QShortcut* shortcut;
        QAbstractButton* button;
        bool autoRepeat;
    };
    QShortcut* makeShortcut(const QKeySequence& key, QWidget* in, QAbstractButton* button, bool autoRepeat);
    void update(QAbstractButton* button);
    QWidget* window_;
    std::vector<Binding> bindings_;
};

} // namespace hw
