#pragma once
#include "BitmapHeader.h"

#include <QImage>

namespace hw {

// Decodes the pixels that layout describes into an opaque picture, top row first: 24-bit
// pictures as Format_BGR888, all others as Format_RGB32.
// Throws EContentError "Stream read error" when run-length data stops inside a record,
// "Bitmap image is not valid" when the picture cannot be allocated.
QImage decodeBitmapPixels(const BitmapLayout& layout, QByteArrayView file);

} // namespace hw
