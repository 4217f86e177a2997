#pragma once
// The program's icon for desktop menus: a finished fly on a rounded tile.
#include <QImage>
#include <QList>

namespace hw {

// The square sizes the desktop's icon theme gets, in pixels.
QList<int> appIconSizes();
// The icon at size × size pixels, transparent outside the tile.
QImage renderAppIcon(int size);

} // namespace hw
