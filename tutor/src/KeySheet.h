#pragma once
// The sheet of every key of the tutor window, opened over the window's middle and closed
// by any key or click.
#include <QFrame>

namespace hw {

class KeySheet : public QFrame {
    Q_OBJECT

public:
    explicit KeySheet(QWidget* window);
    void open(QWidget* over); // centred over that window, with the keyboard

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace hw
