#pragma once
// A button drawn entirely by its face, a bitmap that can be replaced at run time. The face
// is drawn unscaled from the top-left corner, so a face one pixel larger than the button
// covers all of it. Space, Return and Enter press it when it has the keyboard focus.
#include "hw/tutor/LabelledPicture.h"

#include <QAbstractButton>

namespace hw {

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

    const LabelledPicture& Face() const { return face_; }
    // Takes a copy of the picture; the accessible name becomes the face's label.
    void setFace(const LabelledPicture& face);

    // The hover hint; also the accessible description. Empty: no hint.
    void setHint(const QString& hint);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    // A checkable button's state is set by its owner alone, never by a click.
    void nextCheckState() override { }

private:
    LabelledPicture face_;
};

} // namespace hw
