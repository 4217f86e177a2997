#include "hw/report/TReport.h"
#include "hw/report/ReportPlatform.h"
#include "hw/report/TReportOutput.h"

namespace hw {

TReport::TReport(QObject* parent) : QObject(parent), font_(QStringLiteral("Arial"), 10)
{
}

TReport::~TReport() = default;

TReportBand* TReport::AddBand(TReportBandType type)
{
    bands_.emplace_back(new TReportBand(this, type));
    return bands_.back().get();
}

TReportLabel* TReport::AddLabel()
{
    auto* label = new TReportLabel(this, nullptr);
    elements_.emplace_back(label);
    return label;
}

TReportMemo* TReport::AddMemo()
{
    auto* memo = new TReportMemo(this, nullptr);
    elements_.emplace_back(memo);
    return memo;
}

TReportImage* TReport::AddImage()
{
    auto* image = new TReportImage(this, nullptr);
    elements_.emplace_back(image);
    return image;
}

void TReport::endLayoutLoad()
{
    if (loading_ > 0)
        --loading_;
}

double TReport::screenPpi() const
{
    return hw::screenPpi();
}

void TReport::Preview() {}
void TReport::Print() {}
void TReport::PrinterSetup() {}
bool TReport::ExportPdf(const QString&) { return false; }
void TReport::Generate(TReportOutput&) {}

} // namespace hw
