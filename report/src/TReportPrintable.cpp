#include "hw/report/TReportPrintable.h"
#include "hw/report/ReportUnits.h"
#include "hw/report/TReport.h"

#include <cmath>

namespace hw {

TReportPrintable::TReportPrintable(TReport* report, TReportBand* band)
    : report_(report)
    , band_(band)
{ }

TReportPrintable::~TReportPrintable() = default;

void TReportPrintable::setSize(double height, double left, double top, double width)
{
    size_ = {height, left, top, width};
}

QRect TReportPrintable::bounds() const
{
    const double ppi = report_->screenPpi();
    const double zoom = report_->zoom();
    auto px = [&](double v) {
        return static_cast<int>(std::lround(toDisplayUnits(v, TReportUnits::Pixels, ppi, zoom)));
    };
    return QRect(px(size_.left), px(size_.top), px(size_.width), px(size_.height));
}

void TReportPrintable::setBounds(const QRect& pixels)
{
    // The stored values are authoritative while a layout loads: a control resizing itself
    // then must not move or resize what prints.
    if (report_->loadingLayout())
        return;
    const double ppi = report_->screenPpi();
    const double zoom = report_->zoom();
    auto tenths = [&](int v) { return fromDisplayUnits(v, TReportUnits::Pixels, ppi, zoom); };
    size_ = {tenths(pixels.height()), tenths(pixels.left()), tenths(pixels.top()), tenths(pixels.width())};
}

QFont TReportPrintable::font() const
{
    return parentFont_ ? report_->font() : font_;
}

void TReportPrintable::setFont(const QFont& font)
{
    font_ = font;
    parentFont_ = false;
}

int TReportPrintable::fontSize() const
{
    return font().pointSize();
}

void TReportPrintable::setFontSize(int points)
{
    QFont f = font();
    f.setPointSize(points);
    setFont(f);
}

} // namespace hw
