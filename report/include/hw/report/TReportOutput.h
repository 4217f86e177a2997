#pragma once
// One generation's destination: page images for the preview (pictures at the screen's PPI)
// or a printer job (QPrinter, also used for PDF files). Created anew for each preview or
// print and discarded afterwards.
#include "hw/report/DeviceMapping.h"
#include "hw/report/TPrinterSettings.h"

#include <QObject>
#include <QPicture>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPrinter;

namespace hw {

class TReportOutput : public QObject {
    Q_OBJECT
public:
    enum class Destination { PageImages, Printer };

    // Page pictures drawn at `ppi` on both axes, offsets 0.
    static std::unique_ptr<TReportOutput> forPageImages(double ppi);
    // A printer job on `printer` (owned by the output). A PDF QPrinter works the same way.
    static std::unique_ptr<TReportOutput> forPrinter(std::unique_ptr<QPrinter> printer);
    ~TReportOutput() override;

    Destination destination() const { return destination_; }
    int pageCount() const { return pageCount_; }
    bool finished() const { return finished_; }
    bool previewShown() const { return previewShown_; }
    void setPreviewShown(bool shown);

    // Resolution and unprintable offsets used for output (offsets in tenths of a mm).
    double dpiX() const { return mapping_.dpiX; }
    double dpiY() const { return mapping_.dpiY; }
    double offsetLeft() const { return mapping_.offsetLeft; }
    double offsetTop() const { return mapping_.offsetTop; }
    const DeviceMapping& mapping() const { return mapping_; }

    const TPrinterSettings& printerSettings() const { return settings_; }
    // The paper the pages have, portrait-or-landscape as printed, in tenths of a mm.
    QSizeF paperSize() const { return paper_; }
    // The printer of a printer output; nullptr for page images.
    QPrinter* printer() const { return printer_.get(); }

    // Finished page pictures (page images only), 1-based.
    const QPicture& page(int number) const;
    int storedPages() const { return static_cast<int>(pages_.size()); }
    // Size of a page picture in device pixels at the output's PPI.
    QSize pagePixelSize() const;

    // Progress of the generation in percent (0 before, 100 when finished).
    int progress() const { return progress_; }

    // The report's actions attached by Preview, so that the preview window acts on its report.
    std::function<void()> printAction;
    std::function<void()> printerSetupAction;
    std::function<bool(const QString& pdfPath)> exportPdfAction;

    // The engine's page file: the page pictures with their paper size and PPI.
    bool savePages(const QString& path, QString* error = nullptr) const;
    static std::unique_ptr<TReportOutput> loadPages(const QString& path, QString* error = nullptr);

    // False when the printer job could not be opened.
    bool failed() const { return failed_; }

    // Generation steps, driven by TReport.
    // The paper of page images (the report resolves it against the default printer).
    void setPaper(const QSizeF& tenths);
    // Applies the settings (to the printer, for a printer output) and takes resolution,
    // offsets and paper size.
    void begin(const TPrinterSettings& settings);
    // Starts the next page and returns the painter to paint it with (valid until endPage).
    QPainter* beginPage();
    void endPage();
    void setProgress(int percent);
    // Ends the printer job, or marks the page images finished.
    void end();

signals:
    void pageFinished(int number);
    void progressChanged(int percent);
    void finishedChanged();

private:
    TReportOutput(Destination destination);

    Destination destination_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_; // the printer job's painter
    std::unique_ptr<QPainter> scratch_; // the current page picture's painter
    QPainter* painting_ = nullptr;
    std::vector<QPicture> pages_;
    QPicture current_;
    DeviceMapping mapping_;
    TPrinterSettings settings_;
    QSizeF paper_;
    int pageCount_ = 0;
    int progress_ = 0;
    bool finished_ = false;
    bool previewShown_ = false;
    bool jobOpen_ = false;
    bool failed_ = false;
};

} // namespace hw
