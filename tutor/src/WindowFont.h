#pragma once
#include <QFont>

namespace hw {

// A sans-serif stand-in for the 8-point system font the window was laid out with: an
// 11-pixel character height, whatever the screen's logical resolution.
QFont windowFont();

} // namespace hw
