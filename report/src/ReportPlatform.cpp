#include "hw/report/ReportPlatform.h"

namespace hw {

std::shared_ptr<TPrinterSystem> systemPrinters() { return nullptr; }
std::shared_ptr<TPrinterSystem> fixedPrinters(const QStringList&, const QString&, const QList<QPageSize>&) { return nullptr; }
std::shared_ptr<TPrinterSystem> printerSystem() { return nullptr; }
void setPrinterSystem(std::shared_ptr<TPrinterSystem>) {}
double screenPpi() { return 96.0; }
void setScreenPpiOverride(double) {}
TPrintDialogRunner printDialogRunner() { return {}; }
void setPrintDialogRunner(TPrintDialogRunner) {}

} // namespace hw
