#pragma once
// A panel drawn the classic way: a single dark line round it, then a raised bevel of a
// given width (light on the top and left edges, shadow on the bottom and right).
#include <QFrame>

namespace hw {

class RaisedPanel : public QFrame {
    Q_OBJECT
public:
    explicit RaisedPanel(QWidget* parent, int bevelWidth);

    int bevelWidth() const { return bevelWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int bevelWidth_;
};

} // namespace hw
