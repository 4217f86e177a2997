#include "hw/report/TReport.h"
#include "hw/Exception.h"
#include "hw/FileReplacement.h"
#include "hw/Termination.h"
#include "hw/report/ReportPlatform.h"
#include "hw/report/TReportOutput.h"
#include "hw/report/TReportPreviewWindow.h"

#include "PagePainter.h"
#include "PrintProgressWindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPointer>
#include <QPrinter>

#include <cmath>

namespace hw {
namespace {

// Paper as printed (landscape swaps the sides), tenths of a millimetre.
QSizeF oriented(QSizeF portrait, TReportOrientation orientation)
{
    return orientation == poLandscape ? portrait.transposed() : portrait;
}

class BusyScope {
public:
    BusyScope(bool& busy, TReportUnits& units)
        : busy_(busy)
        , units_(units)
        , saved_(units)
    {
        busy_ = true;
        units_ = TReportUnits::Native;
    }
    ~BusyScope()
    {
        units_ = saved_;
        busy_ = false;
    }

private:
    bool& busy_;
    TReportUnits& units_;
    TReportUnits saved_;
};

// The printer the next Print and Printer setup use; null when none is installed or it
// cannot be opened.
std::unique_ptr<QPrinter> openPrinter(const TReport& report)
{
    const auto system = printerSystem();
    if (!system->hasPrinters())
        return nullptr;
    return system->createPrinter(report.printerName());
}

// Why a printer job could not be opened, in the user's words.
QString jobFailure(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("cannot write file %1").arg(printer.outputFileName());
    if (!printer.isValid())
        return QStringLiteral("the printer is not available");
    if (printer.printerState() == QPrinter::Error)
        return QStringLiteral("the printer reported an error");
    return QStringLiteral("the printer did not accept the job");
}

// A PDF file that was written to its end.
bool completePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16 || !file.seek(file.size() - 16))
        return false;
    return file.read(16).contains("%%EOF");
}

} // namespace

TReport::TReport(QObject* parent)
    : QObject(parent)
    , font_(QStringLiteral("Arial"), 10)
{ }

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

QString TReport::printerName() const
{
    const auto system = printerSystem();
    const QStringList names = system->printerNames();
    if (names.isEmpty())
        return {};
    if (!chosenPrinter_.isEmpty() && names.contains(chosenPrinter_))
        return chosenPrinter_;
    if (printerIndex_ >= 0 && printerIndex_ < names.size())
        return names.at(printerIndex_);
    const QString def = system->defaultPrinterName();
    return names.contains(def) ? def : names.first();
}

QSizeF TReport::pageImagePaper() const
{
    const auto system = printerSystem();
    const TReportOrientation orientation = page_.orientation();
    // Without a printer the page images take the system's fallback paper.
    if (!system->hasPrinters())
        return oriented(paperDimensions(TPaperSize::A4), orientation);
    const QSizeF wanted
        = page_.paperSize() == TPaperSize::Custom || paperDimensions(page_.paperSize()).isEmpty()
        ? QSizeF(page_.width(), page_.length())
        : oriented(paperDimensions(page_.paperSize()), orientation);
    if (page_.paperSize() == TPaperSize::Custom)
        return wanted;
    const QString name = printerName();
    const QList<QPageSize> sizes = system->supportedPageSizes(name);
    const QSizeF portrait = paperDimensions(page_.paperSize());
    if (sizes.isEmpty() || portrait.isEmpty())
        return wanted;
    const QPageSize asked(portrait / 10.0, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    for (const QPageSize& s : sizes) {
        if (s.isEquivalentTo(asked) || (s.id() != QPageSize::Custom && s.id() == asked.id()))
            return wanted;
    }
    // A printer without that paper keeps its own.
    const QPageSize own = system->defaultPageSize(name);
    if (!own.isValid())
        return wanted;
    return oriented(own.size(QPageSize::Millimeter) * 10.0, orientation);
}

void TReport::Generate(TReportOutput& output)
{
    if (busy_)
        return;
    BusyScope scope(busy_, units_);

    TPrinterSettings settings = printerSettings_;
    settings.paperSize = page_.paperSize();
    settings.orientation = page_.orientation();
    settings.customLength = page_.length();
    settings.customWidth = page_.width();
    if (output.destination() == TReportOutput::Destination::PageImages)
        output.setPaper(pageImagePaper());
    output.begin(settings);

    QPainter* painter = output.beginPage();
    if (painter) {
        PagePainter paint(*painter, output.mapping(), *this);
        QPointF at(std::round(page_.leftMargin()), std::round(page_.topMargin()));
        auto printBands = [&](TReportBandType type) {
            for (const auto& band : bands_) {
                if (band->bandType() != type)
                    continue;
                paint.paintBand(*band, at);
                at.ry() += band->height();
            }
        };
        if (options_.testFlag(FirstPageHeader))
            printBands(rbPageHeader);
        // Without a data source only an explicit PrintIfEmpty produces the title and
        // summary; there are never detail rows.
        if (printIfEmpty_) {
            printBands(rbTitle);
            printBands(rbSummary);
        }
        output.setProgress(50);

        double footers = 0.0;
        for (const auto& band : bands_) {
            if (band->bandType() == rbPageFooter)
                footers += band->height();
        }
        at.setY(page_.length() - page_.bottomMargin() - footers);
        if (options_.testFlag(LastPageFooter))
            printBands(rbPageFooter);

        // Elements on the page print at their own paper positions, whatever the bands did.
        for (const auto& element : elements_) {
            if (element->enabled())
                paint.paintElement(*element, QPointF(0.0, 0.0));
        }
        if (frame_.hasLines()) {
            const QRect area
                = output.mapping().rect(page_.leftMargin(), page_.topMargin(),
                                        page_.width() - page_.leftMargin() - page_.rightMargin(),
                                        page_.length() - page_.topMargin() - page_.bottomMargin());
            paint.paintFrame(frame_, area);
        }
        output.endPage();
    }
    output.end();
    finished_ = true;
    lastPageCount_ = output.pageCount();
}

void TReport::Preview()
{
    if (busy_)
        return;
    auto output = TReportOutput::forPageImages(hw::screenPpi());
    output->printAction = [this] { Print(); };
    output->printerSetupAction = [this] { PrinterSetup(); };
    output->exportPdfAction = [this](const QString& path) { return ExportPdf(path); };

    // Owned by the application, not by this report: it deletes itself when closed.
    QPointer<TReportPreviewWindow> window = new TReportPreviewWindow(output.get());
    window->showMaximized();
    emit previewOpened(window.data());
    QCoreApplication::processEvents();
    if (window)
        Generate(*output);

    while (output->previewShown() && !terminateRequested())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The window must not outlive the output it shows.
    delete window.data();
}

void TReport::Print()
{
    if (busy_)
        return;
    const QString name = printerName();
    std::unique_ptr<QPrinter> printer = openPrinter(*this);
    if (!printer)
        return;
    printer->setDocName(reportTitle_);
    auto output = TReportOutput::forPrinter(std::move(printer));
    std::unique_ptr<PrintProgressWindow> progress;
    if (showProgress_) {
        progress = std::make_unique<PrintProgressWindow>(output.get());
        progress->show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    Generate(*output);
    if (output->failed())
        throw EPrinterError(
            QStringLiteral("Cannot print on %1: %2").arg(name, jobFailure(*output->printer())));
}

void TReport::PrinterSetup()
{
    std::unique_ptr<QPrinter> printer = openPrinter(*this);
    if (!printer)
        return;
    PrintDialogRequest request;
    request.copies = printerSettings_.copies;
    request.minPage = 1;
    request.maxPage = 9999;
    if (finished_ && lastPageCount_ > 0) {
        request.maxPage = lastPageCount_;
        request.hasRange = true;
        request.fromPage = 1;
        request.toPage = lastPageCount_;
    }
    const PrintDialogAnswer answer = printDialogRunner()(*printer, request);
    if (!answer.accepted)
        return;
    printerSettings_.copies = std::max(1, answer.copies);
    if (answer.range == PrintDialogAnswer::Range::PageRange) {
        printerSettings_.firstPage = answer.fromPage;
        printerSettings_.lastPage = answer.toPage;
    } else {
        printerSettings_.firstPage = 0;
        printerSettings_.lastPage = 0;
    }
    // The next print from this report goes to the printer chosen here.
    if (printer->outputFormat() == QPrinter::NativeFormat && !printer->printerName().isEmpty())
        chosenPrinter_ = printer->printerName();
}

bool TReport::ExportPdf(const QString& path)
{
    if (busy_)
        return false;
    // Written beside its place and moved there once whole: a place that fills up or refuses
    // writing keeps what it had, and no half-written file looks like a finished one.
    FileReplacement replacement(path);
    const QString partial = replacement.partialPath();
    if (partial.isEmpty())
        return false;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(partial);
    printer->setCreator(QCoreApplication::applicationName());
    printer->setDocName(reportTitle_);
    // A PDF page has no unprintable border: positions stay measured from the paper's edge.
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer->setFullPage(true);
    auto output = TReportOutput::forPrinter(std::move(printer));
    Generate(*output);
    const bool generated = !output->failed() && output->pageCount() > 0;
    output.reset(); // ends the job: the file is complete now, or never will be
    return generated && completePdf(partial) && replacement.commit();
}

} // namespace hw
