#pragma once
// A report: page settings, bands and elements, generated into page images for the preview
// or straight into a printer job. Every stored length is in tenths of a millimetre.
//
//   hw::TReport report;
//   report.page().setPaperSize(hw::TPaperSize::Letter);
//   report.page().setValues({127.0, 2794.0, 127.0, 2159.0, 127.0, 127.0, 0.0});
//   auto* band = report.AddBand(hw::rbPageHeader);
//   band->setSize(214.3125, 1905.0);
//   band->frame().setAll(true);
//   auto* title = band->AddLabel();
//   title->setSize(66.15, 0.0, 10.58, 1907.65);   // Height, Left, Top, Width
//   title->setFont(QFont("Arial", 16, QFont::Bold));
//   title->setAlignment(hw::taCenter);
//   title->setCaption("Hacklewright");
//   report.Preview();
#include "hw/report/ReportUnits.h"
#include "hw/report/TPrinterSettings.h"
#include "hw/report/TReportBand.h"
#include "hw/report/TReportFrame.h"
#include "hw/report/TReportImage.h"
#include "hw/report/TReportLabel.h"
#include "hw/report/TReportMemo.h"
#include "hw/report/TReportPage.h"

#include <QFlags>
#include <QFont>
#include <QObject>
#include <memory>
#include <vector>

class QPainter;

namespace hw {

class TReportOutput;
class TReportPreviewWindow;

class TReport : public QObject {
    Q_OBJECT
public:
    enum Option { FirstPageHeader = 0x1, LastPageFooter = 0x2 };
    Q_DECLARE_FLAGS(Options, Option)

    explicit TReport(QObject* parent = nullptr);
    ~TReport() override;

    // Page settings. A new report is Letter, portrait, half-inch margins.
    TReportPage& page() { return page_; }
    const TReportPage& page() const { return page_; }

    Options options() const { return options_; }
    void setOptions(Options options) { options_ = options; }
    bool printIfEmpty() const { return printIfEmpty_; }
    void setPrintIfEmpty(bool print) { printIfEmpty_ = print; }
    TPrinterSettings& printerSettings() { return printerSettings_; }
    const TPrinterSettings& printerSettings() const { return printerSettings_; }
    // Display unit only: stored values and the printed result do not depend on it.
    TReportUnits units() const { return units_; }
    void setUnits(TReportUnits units) { units_ = units; }
    // Design zoom in percent.
    int zoom() const { return zoom_; }
    void setZoom(int zoom) { zoom_ = zoom; }
    // Inherited by every element without a font of its own. Arial 10 pt by default.
    QFont font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }
    const TReportFrame& frame() const { return frame_; }
    TReportFrame& frame() { return frame_; }
    bool snapToGrid() const { return snapToGrid_; }
    void setSnapToGrid(bool snap) { snapToGrid_ = snap; }
    QString reportTitle() const { return reportTitle_; }
    void setReportTitle(const QString& title) { reportTitle_ = title; }
    bool showProgress() const { return showProgress_; }
    void setShowProgress(bool show) { showProgress_ = show; }
    // -1: the system's default printer; else an index into the installed printers.
    int printerIndex() const { return printerIndex_; }
    void setPrinterIndex(int index) { printerIndex_ = index; }

    // Bands and elements placed directly on the page, owned by the report, kept in
    // creation order.
    TReportBand* AddBand(TReportBandType type);
    TReportLabel* AddLabel();
    TReportMemo* AddMemo();
    TReportImage* AddImage();
    const std::vector<std::unique_ptr<TReportBand>>& bands() const { return bands_; }
    const std::vector<std::unique_ptr<TReportPrintable>>& elements() const { return elements_; }

    // While a layout loads, on-screen bounds changes (an image sizing itself to its picture)
    // leave the stored values alone; the stored values are authoritative afterwards.
    void beginLayoutLoad() { ++loading_; }
    void endLayoutLoad();
    bool loadingLayout() const { return loading_ > 0; }

    // The screen PPI the on-screen bounds are derived from.
    double screenPpi() const;

    // True while pages are being generated; Preview and Print then return at once.
    bool busy() const { return busy_; }

    // Opens a preview window on a fresh page-image output, generates the report into it and
    // waits, processing events, until that window closes or the application terminates.
    void Preview();
    // Generates the report into a job on the chosen printer; nothing without a printer.
    // Throws EPrinterError, naming the printer and the reason, when the job cannot start.
    void Print();
    // Shows the system print dialog; keeps copies and page range. Nothing without a printer.
    void PrinterSetup();
    // Generates the report into a PDF file (vector text) through the same paint path.
    bool ExportPdf(const QString& path);

    // Produces the pages into `output` (one page for a report without data).
    void Generate(TReportOutput& output);

    // The printer the next Print and Printer setup use ("" when none is installed).
    QString printerName() const;

signals:
    // A preview window has been shown (whoever watches may close it from here).
    void previewOpened(hw::TReportPreviewWindow* window);

private:
    QSizeF pageImagePaper() const;

    TReportPage page_;
    Options options_ = {FirstPageHeader, LastPageFooter};
    bool printIfEmpty_ = false;
    TPrinterSettings printerSettings_;
    TReportUnits units_ = TReportUnits::Inches;
    int zoom_ = 100;
    QFont font_;
    TReportFrame frame_;
    bool snapToGrid_ = true;
    QString reportTitle_;
    bool showProgress_ = true;
    int printerIndex_ = -1;
    QString chosenPrinter_;
    bool busy_ = false;
    bool finished_ = false;
    int lastPageCount_ = 0;
    int loading_ = 0;
    std::vector<std::unique_ptr<TReportBand>> bands_;
    std::vector<std::unique_ptr<TReportPrintable>> elements_;
};

} // namespace hw

Q_DECLARE_OPERATORS_FOR_FLAGS(hw::TReport::Options)
