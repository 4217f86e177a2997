#pragma once
// The lines drawn along the sides of a band, an element or the page.
#include <QColor>

namespace hw {

struct TReportFrame {
    QColor color = Qt::black;
    bool drawTop = false;
    bool drawBottom = false;
    bool drawLeft = false;
    bool drawRight = false;
    int width = 1; // line thickness in points (1/72 inch)

    bool hasLines() const { return drawTop || drawBottom || drawLeft || drawRight; }
    void setAll(bool draw) { drawTop = drawBottom = drawLeft = drawRight = draw; }
};

} // namespace hw
