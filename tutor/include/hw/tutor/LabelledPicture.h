#pragma once
// A picture as the window's image controls and picture buttons hold it: the bitmap and the
// words it shows, which assistive tools read out in its place.
#include <QImage>
#include <QString>

namespace hw {

struct LabelledPicture {
    QImage image;
    QString label;

    bool isNull() const { return image.isNull(); }
    QSize size() const { return image.size(); }
};

} // namespace hw
