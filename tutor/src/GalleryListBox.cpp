#include "hw/tutor/GalleryListBox.h"

#include "hw/AnsiText.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace hw {
namespace {

// Hands every cell to the owner, then adds the focus rectangle: nothing else marks the
// selection, because the owner's picture covers the whole cell.
class GalleryDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit GalleryDelegate(GalleryListBox* list)
        : QStyledItemDelegate(list)
        , list_(list)
    { }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {list_->columnWidth(), list_->ItemHeight()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group
            = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        painter->setBrush(option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(Qt::NoPen);
        if (list_->OnDrawItem)
            list_->OnDrawItem(*painter, index.row(), option.rect, option.state);
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(Qt::white, 0, Qt::SolidLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->setPen(QPen(Qt::black, 0, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }

private:
    GalleryListBox* list_;
};

} // namespace

GalleryListBox::GalleryListBox(QWidget* parent)
    : ListBox(parent)
{
    setItemDelegate(new GalleryDelegate(this));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setSpacing(0);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemHeight(80);
    updateCellSize();
    // Names sort as in the user's language, accented letters beside their plain ones. The
    // C locale knows no language and would put them after Z: English stands in for it.
    QLocale language;
    if (language.language() == QLocale::C)
        language = QLocale(QLocale::English, QLocale::UnitedStates);
    collator_ = QCollator(language);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void GalleryListBox::addSorted(const QByteArray& text)
{
    const QString shown = ansiToQString(text);
    // The first entry that sorts after the new one, by halving.
    int low = 0;
    int high = count();
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (collator_.compare(item(mid)->text(), shown) > 0)
            high = mid;
        else
            low = mid + 1;
    }
    auto* it = new QListWidgetItem(shown);
    it->setData(Qt::UserRole, text);
    insertItem(low, it);
}

void GalleryListBox::setColumns(int columns)
{
    columns_ = qMax(1, columns);
    updateCellSize();
}

int GalleryListBox::columnWidth() const
{
    return (width() + columns_ - 3) / columns_;
}

int GalleryListBox::itemAtPoint(const QPoint& pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || !visualRect(index).contains(pos))
        return -1;
    return index.row();
}

void GalleryListBox::resizeEvent(QResizeEvent* event)
{
    ListBox::resizeEvent(event);
    updateCellSize();
}

void GalleryListBox::keyPressEvent(QKeyEvent* event)
{
    // Return, Enter or Space open the focused picture, also when it is already selected.
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && currentRow() >= 0) {
        setCurrentRow(currentRow(), QItemSelectionModel::ClearAndSelect);
        raiseClick();
        return;
    }
    ListBox::keyPressEvent(event);
}

void GalleryListBox::updateCellSize()
{
    setGridSize(QSize(columnWidth(), ItemHeight()));
    doItemsLayout();
}

} // namespace hw

#include "GalleryListBox.moc"
