#include "TransportShortcuts.h"

#include <QAbstractButton>
#include <QEvent>
#include <QShortcut>
#include <QWidget>

namespace hw {

TransportShortcuts::TransportShortcuts(QWidget* window)
    : window_(window)
{ }

QShortcut* TransportShortcuts::makeShortcut(const QKeySequence& key, QWidget* in, QAbstractButton* button,
                                            bool autoRepeat)
{
    auto* shortcut = new QShortcut(key, in);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(autoRepeat);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible())
            button->click();
    });
    return shortcut;
}

void TransportShortcuts::add(const QKeySequence& key, QAbstractButton* button, bool autoRepeat)
{
    bindings_.push_back({makeShortcut(key, window_, button, autoRepeat), button, autoRepeat});
    button->installEventFilter(this);
    update(button);
}

void TransportShortcuts::alsoIn(QWidget* other)
{
    const std::vector<Binding> own = bindings_;
    for (const Binding& b : own) {
        bindings_.push_back(
            {makeShortcut(b.shortcut->key(), other, b.button, b.autoRepeat), b.button, b.autoRepeat});
        update(b.button);
    }
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
