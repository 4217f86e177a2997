#include "hw/report/TReportBand.h"
#include "hw/report/ReportUnits.h"
#include "hw/report/TReport.h"

#include <cmath>

namespace hw {

TReportBand::TReportBand(TReport* report, TReportBandType type)
    : report_(report)
    , bandType_(type)
{ }

TReportBand::~TReportBand() = default;

QRect TReportBand::bounds() const
{
    const double ppi = report_->screenPpi();
    const double zoom = report_->zoom();
    auto px = [&](double v) {
        return static_cast<int>(std::lround(toDisplayUnits(v, TReportUnits::Pixels, ppi, zoom)));
    };
    return QRect(0, 0, px(size_.width), px(size_.height));
}

TReportLabel* TReportBand::AddLabel()
{
    auto* label = new TReportLabel(report_, this);
    elements_.emplace_back(label);
    return label;
}

TReportMemo* TReportBand::AddMemo()
{
    auto* memo = new TReportMemo(report_, this);
    elements_.emplace_back(memo);
    return memo;
}

TReportImage* TReportBand::AddImage()
{
    auto* image = new TReportImage(report_, this);
    elements_.emplace_back(image);
    return image;
}

} // namespace hw
