#pragma once
#include "Findings.h"

#include <QImage>

namespace hw::check {

// A pattern's picture as the gallery will draw it: stretched into a 125 x 80 cell.
void checkGalleryPicture(const QImage& picture, const QString& file, Findings& out);

} // namespace hw::check
