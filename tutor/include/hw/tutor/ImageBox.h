#pragma once
// An image control: shows a copy of a picture, either unscaled from its top-left corner or
// stretched over the whole control. It takes no input.
#include "hw/tutor/LabelledPicture.h"

#include <QWidget>

namespace hw {

class ImageBox : public QWidget {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    const LabelledPicture& Picture() const { return picture_; }
    // Takes a copy; the accessible name follows the picture's label.
    void setPicture(const LabelledPicture& picture);

    bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LabelledPicture picture_;
    bool stretch_ = false;
};

} // namespace hw
