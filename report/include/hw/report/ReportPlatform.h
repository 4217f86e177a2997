#pragma once
// The platform services the report engine needs, as seams tests can replace: the installed
// printers, the screen's pixels per inch and the system print dialog.
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

namespace hw {

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    virtual QStringList printerNames() const = 0;
    // Empty when there is no default printer.
    virtual QString defaultPrinterName() const = 0;
    // Paper sizes the printer offers; empty when it cannot tell.
    virtual QList<QPageSize> supportedPageSizes(const QString& printer) const = 0;
    // The printer's current paper when nothing is asked of it.
    virtual QPageSize defaultPageSize(const QString& printer) const = 0;
    // A printer object for a job on `printer` (high resolution).
    virtual std::unique_ptr<QPrinter> createPrinter(const QString& printer) const = 0;

    bool hasPrinters() const { return !printerNames().isEmpty(); }
};

// The system's printers (CUPS on Linux), read afresh at each call.
std::shared_ptr<PrinterSystem> systemPrinters();
// The printer system every report uses; replace it in tests.
std::shared_ptr<PrinterSystem> printerSystem();
void setPrinterSystem(std::shared_ptr<PrinterSystem> system);

// The screen's logical pixels per inch (the primary screen's, or the override).
double screenPpi();
// 0 restores the primary screen's value.
void setScreenPpiOverride(double ppi);

// The answer of the print dialog.
struct PrintDialogRequest {
    int copies = 1;
    int minPage = 1;
    int maxPage = 1;
    bool hasRange = false; // the report has finished: the dialog starts with fromPage..toPage
    int fromPage = 0;
    int toPage = 0;
};
struct PrintDialogAnswer {
    bool accepted = false;
    enum class Range { AllPages, Selection, PageRange } range = Range::AllPages;
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
};
// Shows the print dialog for `printer`; the default shows QPrintDialog modally.
using PrintDialogRunner = std::function<PrintDialogAnswer(QPrinter& printer, const PrintDialogRequest&)>;
PrintDialogRunner printDialogRunner();
// An empty runner restores the system dialog.
void setPrintDialogRunner(PrintDialogRunner runner);

} // namespace hw
