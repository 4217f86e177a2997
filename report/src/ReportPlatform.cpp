#include "hw/report/ReportPlatform.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

namespace hw {
namespace {

class SystemPrinters final : public PrinterSystem {
public:
    QStringList printerNames() const override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() const override { return QPrinterInfo::defaultPrinterName(); }
    QList<QPageSize> supportedPageSizes(const QString& printer) const override
    {
        return QPrinterInfo::printerInfo(printer).supportedPageSizes();
    }
    QPageSize defaultPageSize(const QString& printer) const override
    {
        return QPrinterInfo::printerInfo(printer).defaultPageSize();
    }
    std::unique_ptr<QPrinter> createPrinter(const QString& printer) const override
    {
        return std::make_unique<QPrinter>(QPrinterInfo::printerInfo(printer), QPrinter::HighResolution);
    }
};

std::shared_ptr<PrinterSystem>& currentSystem()
{
    static std::shared_ptr<PrinterSystem> system;
    return system;
}

double& ppiOverride()
{
    static double ppi = 0.0;
    return ppi;
}

PrintDialogRunner& currentRunner()
{
    static PrintDialogRunner runner;
    return runner;
}

PrintDialogAnswer runSystemDialog(QPrinter& printer, const PrintDialogRequest& request)
{
    printer.setCopyCount(request.copies);
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setMinMax(request.minPage, request.maxPage);
    if (request.hasRange) {
        dialog.setFromTo(request.fromPage, request.toPage);
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
    }
    PrintDialogAnswer answer;
    answer.accepted = dialog.exec() == QDialog::Accepted;
    if (!answer.accepted)
        return answer;
    switch (dialog.printRange()) {
    case QAbstractPrintDialog::Selection:
        answer.range = PrintDialogAnswer::Range::Selection;
        break;
    case QAbstractPrintDialog::PageRange:
        answer.range = PrintDialogAnswer::Range::PageRange;
        break;
    default:
        answer.range = PrintDialogAnswer::Range::AllPages;
        break;
    }
    answer.copies = printer.copyCount();
    answer.fromPage = dialog.fromPage();
    answer.toPage = dialog.toPage();
    return answer;
}

} // namespace

std::shared_ptr<PrinterSystem> systemPrinters()
{
    return std::make_shared<SystemPrinters>();
}

std::shared_ptr<PrinterSystem> printerSystem()
{
    auto& system = currentSystem();
    if (!system)
        system = systemPrinters();
    return system;
}

void setPrinterSystem(std::shared_ptr<PrinterSystem> system)
{
    currentSystem() = std::move(system);
}

double screenPpi()
{
    if (ppiOverride() > 0.0)
        return ppiOverride();
    if (auto* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchY();
    return 96.0;
}

void setScreenPpiOverride(double ppi)
{
    ppiOverride() = ppi;
}

PrintDialogRunner printDialogRunner()
{
    auto& runner = currentRunner();
    return runner ? runner : PrintDialogRunner(runSystemDialog);
}

void setPrintDialogRunner(PrintDialogRunner runner)
{
    currentRunner() = std::move(runner);
}

} // namespace hw
