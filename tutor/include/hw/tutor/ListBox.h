#pragma once
// A list of single-byte content strings, shown as Windows-1252 text and kept as bytes so
// that lookups compare exactly what the content holds.
//
// OnClick is raised when the user selects a line: a mouse press on a line, or a move of
// the selection with the keyboard. A selection made by the program raises nothing.
#include <QByteArray>
#include <QListWidget>

#include <functional>

namespace hw {

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    std::function<void()> OnClick;

    void addBytes(const QByteArray& text);
    QByteArray bytesAt(int index) const;
    int Count() const { return count(); }
    // The selected line, or -1.
    int ItemIndex() const;
    void setItemIndex(int index); // -1 clears the selection
    // The selected line's bytes; empty when nothing is selected.
    QByteArray selectedBytes() const;

    // Height of one line in pixels.
    int ItemHeight() const { return itemHeight_; }
    void setItemHeight(int height);

    // A display-only list: the keyboard scrolls it instead of moving a selection.
    void setDisplayOnly(bool displayOnly) { displayOnly_ = displayOnly; }

    // The item that a mouse press at pos (viewport coordinates) reaches, or -1.
    virtual int itemAtPoint(const QPoint& pos) const;

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void raiseClick();

private:
    int itemHeight_ = 13;
    bool displayOnly_ = false;
};

} // namespace hw
