#pragma once
// Plain list lines of a fixed height.
#include <QStyledItemDelegate>

namespace hw {

class LineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    LineDelegate(int height, QObject* parent)
        : QStyledItemDelegate(parent)
        , height_(height)
    { }
    void setHeight(int height) { height_ = height; }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

} // namespace hw
