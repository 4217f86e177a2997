#pragma once
// The pictures the program carries in itself: window backgrounds, logos, button faces and
// the recipe-card pictures, all drawn by code so that they can be made again at will.
#include "hw/artwork/FlyDrawing.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace hw {

struct ArtworkPicture {
    QString path; // relative to the assets folder, e.g. "artwork/MainMenu.bmp"
    QSize size;
    int pixelsPerMetre; // the bitmap's resolution field
};

// Every picture of the set, in a fixed order.
QList<ArtworkPicture> artworkPictures();
// Draws the picture at path (as listed by artworkPictures()); a null image for any other path.
QImage renderArtwork(const QString& path);
// Writes the whole set under dir as 24-bit bitmaps; false with *error set on the first failure.
bool writeArtwork(const QString& dir, QString* error);

// The pieces, for other drawings that reuse them (the demo library's videos and pictures).
QImage renderBackground(bool patternsMenu);
// A fly on a white, softly lit ground, as in a studio photograph.
QImage renderFlyPicture(FlyKind kind, const QSize& size);

} // namespace hw
