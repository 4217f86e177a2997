#pragma once
// The one paint path: bands and elements onto any QPainter (page picture, printer, PDF),
// through one device mapping. Positions arrive in tenths of a millimetre from the paper's
// top-left corner.
#include "hw/report/DeviceMapping.h"

#include <QPointF>

class QPainter;
class QRect;

namespace hw {

class TReport;
class TReportBand;
class TReportCustomLabel;
class TReportImage;
class TReportPrintable;
struct TReportFrame;

class PagePainter {
public:
    PagePainter(QPainter& painter, const DeviceMapping& mapping, const TReport& report);

    // Fills the band, prints its elements and draws its frame on top; `at` is its top-left.
    void paintBand(const TReportBand& band, QPointF at);
    // Prints an element with `offset` added to its own Left and Top.
    void paintElement(const TReportPrintable& element, QPointF offset);
    // Frame lines inside `box` (device pixels).
    void paintFrame(const TReportFrame& frame, const QRect& box);

private:
    void paintText(const TReportCustomLabel& label, QPointF offset);
    void paintImage(const TReportImage& image, QPointF offset);

    QPainter& painter_;
    DeviceMapping mapping_;
    const TReport& report_;
};

} // namespace hw
