#include "hw/tutor/PictureButton.h"

#include "PicturePainting.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace hw {

PictureButton::PictureButton(QWidget* parent)
    : QAbstractButton(parent)
{
    // Reached with Tab; a mouse click leaves the focus where it was (in the topic list, say).
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureButton::setFace(const LabelledPicture& face)
{
    face_ = face;
    setText(face.label); // what assistive tools and mnemonics see; never drawn
    setAccessibleName(face.label);
    update();
}

void PictureButton::setHint(const QString& hint)
{
    setToolTip(hint);
    setAccessibleDescription(hint);
}

QSize PictureButton::sizeHint() const
{
    return face_.isNull() ? QSize(49, 32) : face_.size() - QSize(1, 1);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!face_.isNull())
        paintPicture(painter, QRect(QPoint(0, 0), face_.size()), face_.image);
    if (hasFocus()) {
        // A dotted rectangle inside the bevel, as a keyboard user expects on a button.
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen(Qt::black, 0, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4));
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool PictureButton::event(QEvent* event)
{
    // A focused button keeps Space for itself, ahead of the window's Space shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QAbstractButton::event(event);
}

} // namespace hw
