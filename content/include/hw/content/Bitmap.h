#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace hw {

// Loads a Windows bitmap. displayPath is the content path as built (for the message).
// Throws hw::EContentError: "Cannot open file %s" when it cannot be opened; "Stream read
// error" for 1..13 bytes or pixel data shorter than the header promises; "Bitmap image is
// not valid" for a file not starting with BM or otherwise corrupt, including headers that
// claim sizes beyond a fixed limit (checked before anything is allocated). An empty file
// gives a null image and no error. Pictures are opaque: Format_BGR888 for 24-bit files (their
// bytes as stored), Format_RGB32 for every other depth and for run-length data.
QImage loadBitmapFile(const QString& absolutePath, const QString& displayPath);
QImage decodeBitmap(const QByteArray& bytes);

} // namespace hw
