#pragma once
// How labels and memos lay out their text: word wrap and auto size are measured on the
// screen (so the preview and the printer break lines alike); the line pitch is measured on
// the output device.
#include <QFont>
#include <QStringList>

namespace hw {

// The element's font at a device resolution: the point size becomes a whole pixel size,
// so that measuring is independent of the device's own idea of points.
QFont fontAtDpi(const QFont& font, double dpi);

// Width of `text` as the wrap and auto-size rules measure it: screen pixels of the font at
// `ppi`, plus 1, times zoom / 100.
double measuredScreenWidth(const QString& text, const QFont& font, double ppi, int zoom);

// Splits each line at every single blank and refills the words into lines that fit
// `boxWidthPixels` (the box's on-screen width). A word wider than the box stays whole.
QStringList wrapLines(const QStringList& lines, const QFont& font, double ppi, int zoom,
                      double boxWidthPixels);

// Height of "W" in `font` on a device with vertical resolution `dpiY`, in tenths of a mm.
double linePitch(const QFont& font, double dpiY);

// How many of `lineCount` lines of `pitch` fit a box `boxHeight` high: a line prints unless
// its bottom would lie more than 1.0 tenth of a millimetre below the box's bottom edge.
int linesThatFit(int lineCount, double pitch, double boxHeight);

} // namespace hw
