#pragma once
#include <QImage>
#include <QString>

namespace hw {

// The card picture embedded under `resource`; a null image when it is not there, so that
// the card still prints (with an empty picture box).
QImage loadCardPicture(const QString& resource);

} // namespace hw
