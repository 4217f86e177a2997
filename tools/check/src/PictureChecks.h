#pragma once
#include "Findings.h"

#include <QImage>

namespace hw::check {

// A pattern's picture as the gallery will draw it: stretched into a 125 x 80 cell.
void checkGalleryPicture(const QImage& picture, const QString& file, Findings& out);
// The same picture beside the lesson: drawn unscaled from its top-left corner in a 120 x 80
// place, so that any other size shows part of it or fills part of the place.
void checkLessonPicture(const QImage& picture, const QString& file, Findings& out);

} // namespace hw::check
