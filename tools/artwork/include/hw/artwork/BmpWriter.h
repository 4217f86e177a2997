#pragma once
// Writes pictures the way the content and the artwork need them: uncompressed 24-bit
// Windows bitmaps, bottom-up, with an explicit resolution field.
#include <QByteArray>
#include <QImage>
#include <QString>

namespace hw {

// 96 pixels per inch, the screen resolution of the artwork.
inline constexpr int kScreenPixelsPerMetre = 3780;
// 300 pixels per inch, the resolution of the recipe-card pictures.
inline constexpr int kPrintPixelsPerMetre = 11808;

// The whole file: 14-byte file header, 40-byte info header, rows padded to four bytes; empty
// for a picture too large for the format (4 GB).
QByteArray encodeBmp24(const QImage& image, int pixelsPerMetre = kScreenPixelsPerMetre);
// Writes encodeBmp24's bytes to path; false with *error set when the file cannot be written.
bool writeBmp24(const QImage& image, const QString& path, int pixelsPerMetre, QString* error);

} // namespace hw
