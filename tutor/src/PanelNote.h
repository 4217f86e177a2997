#pragma once
// A small caption over one corner of the video panel: light text on a dark, slightly
// transparent plate; or a band across the panel's top edge, on a plate of its own colour.
// It takes no mouse input, keeps above the pictures the clip device shows in the panel, and
// is hidden while it has no text.
#include <QTimer>
#include <QWidget>

namespace hw {

class PanelNote : public QWidget {
    Q_OBJECT

public:
    enum class Corner { TopLeft, TopRight, TopBand };
    PanelNote(QWidget* panel, Corner corner, const QString& name);

    void setText(const QString& text); // empty: hidden
    QString text() const { return text_; }
    // Shows the text for a moment, then hides.
    void flash(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();
    Corner corner_;
    QString text_;
    QTimer hideTimer_;
};

} // namespace hw
