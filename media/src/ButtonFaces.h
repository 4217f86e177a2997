#pragma once
// The faces of the player's bar buttons, drawn in the colours of the window's artwork:
// a lavender face with a light and a dark bevel inside a dark outline, and the button's
// symbol in the middle.
#include "hw/media/MediaButtons.h"

#include <QRect>

class QPainter;

namespace hw::media {

enum class FaceState : uint8_t { Disabled, Enabled, Colored };

void paintButtonFace(QPainter& painter, const QRect& bounds, TMPBtnType button, FaceState state, bool down,
                     bool focused);

} // namespace hw::media
