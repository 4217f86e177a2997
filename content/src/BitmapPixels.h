#pragma once
#include "BitmapHeader.h"

#include <QImage>

namespace hw {

// Decodes the pixels that layout describes into an opaque 32-bit picture, top row first.
// Throws EContentError "Stream read error" when run-length data stops inside a record,
// "Bitmap image is not valid" when the picture cannot be allocated.
QImage decodeBitmapPixels(const BitmapLayout& layout, QByteArrayView file);

} // namespace hw
