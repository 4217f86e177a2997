#include "hw/report/TReportOutput.h"

#include <QPainter>
#include <QPrinter>

namespace hw {

TReportOutput::TReportOutput(Destination destination) : destination_(destination) {}
TReportOutput::~TReportOutput() = default;

std::unique_ptr<TReportOutput> TReportOutput::forPageImages(double ppi)
{
    std::unique_ptr<TReportOutput> out(new TReportOutput(Destination::PageImages));
    out->mapping_.dpiX = out->mapping_.dpiY = ppi;
    return out;
}

std::unique_ptr<TReportOutput> TReportOutput::forPrinter(std::unique_ptr<QPrinter> printer)
{
    std::unique_ptr<TReportOutput> out(new TReportOutput(Destination::Printer));
    out->printer_ = std::move(printer);
    return out;
}

void TReportOutput::setPreviewShown(bool shown) { previewShown_ = shown; }
const QPicture& TReportOutput::page(int number) const { return pages_.at(number - 1); }
QSize TReportOutput::pagePixelSize() const { return {}; }
bool TReportOutput::savePages(const QString&, QString*) const { return false; }
std::unique_ptr<TReportOutput> TReportOutput::loadPages(const QString&, QString*) { return nullptr; }
void TReportOutput::begin(const TPrinterSettings& settings) { settings_ = settings; }
QPainter* TReportOutput::beginPage() { return nullptr; }
void TReportOutput::endPage() {}
void TReportOutput::setProgress(int percent) { progress_ = percent; }
void TReportOutput::end() {}

} // namespace hw
