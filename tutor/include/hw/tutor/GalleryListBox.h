#pragma once
// The pattern gallery: a sorted, owner-drawn list of display names laid out in columns of
// fixed-height cells, filled column by column. The owner draws every cell (OnDrawItem);
// the list adds only the focus rectangle.
#include "hw/tutor/ListBox.h"

#include <QCollator>
#include <QPainter>
#include <QStyle>

namespace hw {

class GalleryListBox : public ListBox {
    Q_OBJECT
public:
    explicit GalleryListBox(QWidget* parent = nullptr);

    // Draws item index into rect (viewport coordinates); the painter's brush is already
    // the fill the list prepared for the item (background, or highlight when selected).
    std::function<void(QPainter& painter, int index, const QRect& rect, QStyle::State state)> OnDrawItem;

    // Inserts text at its place in the sorted order (after equal entries): the user's
    // language's order, without regard to case.
    void addSorted(const QByteArray& text);

    int Columns() const { return columns_; }
    void setColumns(int columns);
    // (list width + columns - 3) div columns, as a multi-column list box computes it.
    int columnWidth() const;

    // Only a press inside an item's cell reaches it; the empty part of the list none.
    int itemAtPoint(const QPoint& pos) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateCellSize();
    int columns_ = 3;
    QCollator collator_;
};

} // namespace hw
