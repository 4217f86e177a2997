#include "TransportShortcuts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QShortcut>
#include <QWidget>

namespace hw {

TransportShortcuts::TransportShortcuts(QWidget* window)
    : window_(window)
{ }

void TransportShortcuts::add(const QKeySequence& key, QAbstractButton* button, bool autoRepeat)
{
    auto* shortcut = new QShortcut(key, window_);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(autoRepeat);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible())
            button->click();
    });
    bindings_.push_back({shortcut, button});
    button->installEventFilter(this);
    update(button);
}

bool TransportShortcuts::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        update(static_cast<QAbstractButton*>(watched));
    return false;
}

void TransportShortcuts::update(QAbstractButton* button)
{
    for (const Binding& b : bindings_) {
        if (b.button == button)
            b.shortcut->setEnabled(!button->isHidden());
    }
}

} // namespace hw
