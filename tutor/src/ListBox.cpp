#include "hw/tutor/ListBox.h"

#include "LineDelegate.h"
#include "hw/AnsiText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace hw {

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new LineDelegate(itemHeight_, this));
    setFocusPolicy(Qt::StrongFocus);
}

void ListBox::addBytes(const QByteArray& text)
{
    auto* item = new QListWidgetItem(ansiToQString(text));
    item->setData(Qt::UserRole, text);
    addItem(item);
}

QByteArray ListBox::bytesAt(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->data(Qt::UserRole).toByteArray() : QByteArray();
}

int ListBox::ItemIndex() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void ListBox::setItemIndex(int index)
{
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(index));
}

QByteArray ListBox::selectedBytes() const
{
    const int index = ItemIndex();
    return index < 0 ? QByteArray() : bytesAt(index);
}

void ListBox::setItemHeight(int height)
{
    itemHeight_ = height;
    if (auto* lines = dynamic_cast<LineDelegate*>(itemDelegate()))
        lines->setHeight(height);
    doItemsLayout();
}

int ListBox::itemAtPoint(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

void ListBox::raiseClick()
{
    if (OnClick)
        OnClick();
}

bool ListBox::event(QEvent* event)
{
    // Home, End, Page Up and Page Down move within a focused list; the window's transport
    // shortcuts on the same keys act only where no list has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
                event->accept();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QListWidget::event(event);
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const int index = itemAtPoint(event->position().toPoint());
    if (index < 0)
        return; // the empty part of the list selects nothing
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    raiseClick();
}

void ListBox::mouseMoveEvent(QMouseEvent* event)
{
    // The selection does not follow a dragging mouse: only a press chooses a line.
    if (event->buttons() != Qt::NoButton)
        return;
    QListWidget::mouseMoveEvent(event);
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    if (displayOnly_) {
        QScrollBar* bar = verticalScrollBar();
        switch (event->key()) {
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return;
        case Qt::Key_Home:
            bar->triggerAction(QAbstractSlider::SliderToMinimum);
            return;
        case Qt::Key_End:
            bar->triggerAction(QAbstractSlider::SliderToMaximum);
            return;
        default:
            break;
        }
        QWidget::keyPressEvent(event); // Tab and the rest go to the window
        return;
    }
    const int before = ItemIndex();
    QListWidget::keyPressEvent(event);
    if (ItemIndex() != before && ItemIndex() >= 0)
        raiseClick();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const
{
    // One line stays selected: the user can move the selection but never clear it.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (event && (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove))
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

} // namespace hw
