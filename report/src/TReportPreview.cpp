#include "hw/report/TReportPreview.h"

namespace hw {

TReportPreview::TReportPreview(QWidget* parent) : QAbstractScrollArea(parent) {}
void TReportPreview::setOutput(TReportOutput* output) { output_ = output; }
void TReportPreview::setZoom(int percent) { zoom_ = percent; }
void TReportPreview::zoomToWidth() {}
void TReportPreview::zoomToFit() {}
int TReportPreview::pageCount() const { return 0; }
void TReportPreview::showPage(int number) { page_ = number; }
QSize TReportPreview::pageSize() const { return {}; }
QRect TReportPreview::pageRect() const { return {}; }
int TReportPreview::widthZoom(const QSize&, const QSize&) { return 100; }
int TReportPreview::fitZoom(const QSize&, const QSize&) { return 100; }
void TReportPreview::paintEvent(QPaintEvent*) {}
void TReportPreview::resizeEvent(QResizeEvent*) {}
void TReportPreview::keyPressEvent(QKeyEvent*) {}
void TReportPreview::scrollContentsBy(int, int) {}
void TReportPreview::onPageFinished(int) {}
void TReportPreview::updateScrollBars() {}
void TReportPreview::resetScroll() {}

} // namespace hw
