#include "hw/report/TReportPreviewWindow.h"
#include "hw/report/TReportOutput.h"
#include "hw/report/TReportPreview.h"

#include <QCloseEvent>

namespace hw {

TReportPreviewWindow::TReportPreviewWindow(TReportOutput* output, QWidget* parent)
    : QWidget(parent), output_(output)
{
}
TReportPreviewWindow::~TReportPreviewWindow() = default;
QString TReportPreviewWindow::statusText() const { return {}; }
bool TReportPreviewWindow::progressVisible() const { return false; }
QToolButton* TReportPreviewWindow::button(const QString&) const { return nullptr; }
bool TReportPreviewWindow::saveTo(const QString&, QString*) { return false; }
bool TReportPreviewWindow::loadFrom(const QString&, QString*) { return false; }
void TReportPreviewWindow::closeEvent(QCloseEvent* event) { QWidget::closeEvent(event); }
void TReportPreviewWindow::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }
void TReportPreviewWindow::buildToolbar() {}
void TReportPreviewWindow::updateStatus() {}
void TReportPreviewWindow::onSave() {}
void TReportPreviewWindow::onLoad() {}

} // namespace hw
