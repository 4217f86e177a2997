#pragma once
// Bevelled button faces with their label lettered in the picture.
#include <QImage>
#include <QSize>
#include <QString>

namespace hw {

enum class FaceState { Up, Down };
enum class FaceGlyph { Text, ChevronsLeft, ChevronsRight };

QImage renderFace(const QSize& size, const QString& label, FaceState state, FaceGlyph glyph = FaceGlyph::Text,
                  int pixelSize = 15);

} // namespace hw
