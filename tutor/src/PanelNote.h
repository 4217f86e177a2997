#pragma once
// A small note over one corner of the video panel, or beside it in the window: light text on
// a dark, slightly transparent plate; or a band across the panel's top edge, on a plate of its
// own colour. It takes no mouse input, keeps above the pictures the clip device shows in the
// panel, and is hidden while it has no text (and, beside the panel, while the panel is hidden).
#include <QTimer>
#include <QWidget>

#include <optional>

namespace hw {

class PanelNote : public QWidget {
    Q_OBJECT

public:
    enum class Corner { TopLeft, TopRight, TopBand };
    PanelNote(QWidget* panel, Corner corner, const QString& name);
    // Beside the panel, in its parent, with the note's top-right corner at anchor (in the
    // parent's coordinates).
    PanelNote(QWidget* panel, QPoint anchor, const QString& name);

    void setText(const QString& text); // empty: hidden
    QString text() const { return text_; }
    // Shows the text for a moment, then hides.
    void flash(const QString& text);
    // In a corner: how far below the panel's top edge (below a band along it).
    void setTopMargin(int pixels) { topMargin_ = pixels; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    bool panelShown() const;
    QWidget* panel_;
    Corner corner_ = Corner::TopLeft;
    std::optional<QPoint> anchor_;
    int topMargin_ = -1; // -1: the usual margin
    QString text_;
    QTimer hideTimer_;
};

} // namespace hw
