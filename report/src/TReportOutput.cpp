#include "hw/report/TReportOutput.h"
#include "hw/report/ReportUnits.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace hw {
namespace {

QPageSize toPageSize(const TPrinterSettings& s)
{
    if (s.paperSize == TPaperSize::Custom)
        return QPageSize(QSizeF(s.customWidth / 10.0, s.customLength / 10.0), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    const QSizeF mm = paperDimensions(s.paperSize) / 10.0;
    if (mm.isEmpty())
        return QPageSize();
    return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
}

bool offers(const QList<QPageSize>& sizes, const QPageSize& wanted)
{
    for (const QPageSize& s : sizes) {
        if (s.isEquivalentTo(wanted) || (s.id() != QPageSize::Custom && s.id() == wanted.id()))
            return true;
    }
    return false;
}

// Qt's source for a system paper-source code: one less up to the large-capacity bin (Upper
// and OnlyOne are 0), then the cassette and the form source, which skip two codes.
QPrinter::PaperSource toPaperSource(TOutputBin bin)
{
    switch (bin) {
    case TOutputBin::Cassette:
        return QPrinter::Cassette;
    case TOutputBin::FormSource:
        return QPrinter::FormSource;
    default:
        return static_cast<QPrinter::PaperSource>(static_cast<int>(bin) - 1);
    }
}

QSizeF tenthsOf(const QPageLayout& layout)
{
    return layout.fullRect(QPageLayout::Millimeter).size() * 10.0;
}

} // namespace

TReportOutput::TReportOutput(Destination destination)
    : destination_(destination)
{ }

TReportOutput::~TReportOutput()
{
    // A job still open (an interrupted generation) is closed so that the spooler gets it.
    if (painter_ && painter_->isActive())
        painter_->end();
}

std::unique_ptr<TReportOutput> TReportOutput::forPageImages(double ppi)
{
    std::unique_ptr<TReportOutput> out(new TReportOutput(Destination::PageImages));
    out->mapping_.dpiX = out->mapping_.dpiY = ppi;
    out->paper_ = paperDimensions(TPaperSize::A4);
    return out;
}

std::unique_ptr<TReportOutput> TReportOutput::forPrinter(std::unique_ptr<QPrinter> printer)
{
    std::unique_ptr<TReportOutput> out(new TReportOutput(Destination::Printer));
    out->printer_ = std::move(printer);
    return out;
}

void TReportOutput::setPreviewShown(bool shown)
{
    previewShown_ = shown;
}

const QPicture& TReportOutput::page(int number) const
{
    static const QPicture empty;
    if (number < 1 || number > static_cast<int>(pages_.size()))
        return empty;
    return pages_[static_cast<size_t>(number - 1)];
}

QSize TReportOutput::pagePixelSize() const
{
    return QSize(static_cast<int>(std::lround(paper_.width() * mapping_.dpiX / kTenthsPerInch)),
                 static_cast<int>(std::lround(paper_.height() * mapping_.dpiY / kTenthsPerInch)));
}

void TReportOutput::setPaper(const QSizeF& tenths)
{
    paper_ = tenths;
}

void TReportOutput::begin(const TPrinterSettings& settings)
{
    settings_ = settings;
    pageCount_ = 0;
    finished_ = false;
    pages_.clear();
    setProgress(0);
    if (destination_ != Destination::Printer || !printer_)
        return;

    QPrinter& printer = *printer_;
    // Each setting goes to the printer only if it supports it; otherwise the printer keeps
    // its own value.
    const bool native = printer.outputFormat() == QPrinter::NativeFormat;
    const QPageSize wanted = toPageSize(settings);
    if (wanted.isValid()) {
        const QList<QPageSize> sizes
            = native ? QPrinterInfo(printer).supportedPageSizes() : QList<QPageSize>();
        if (!native || settings.paperSize == TPaperSize::Custom || offers(sizes, wanted))
            printer.setPageSize(wanted);
    }
    printer.setPageOrientation(settings.orientation == poLandscape ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
    if (printer.supportsMultipleCopies() || !native)
        printer.setCopyCount(std::max(1, settings.copies));
    // Qt cannot list a printer's paper sources; a driver without the asked one ignores it.
    printer.setPaperSource(toPaperSource(settings.outputBin));

    mapping_.dpiX = printer.logicalDpiX();
    mapping_.dpiY = printer.logicalDpiY();
    // Positions are measured from the paper's edge; the printer's origin is the corner of
    // its printable area.
    const QRectF full = printer.paperRect(QPrinter::DevicePixel);
    const QRectF paint = printer.pageRect(QPrinter::DevicePixel);
    mapping_.offsetLeft = std::round((paint.left() - full.left()) / mapping_.dpiX * kTenthsPerInch);
    mapping_.offsetTop = std::round((paint.top() - full.top()) / mapping_.dpiY * kTenthsPerInch);
    paper_ = tenthsOf(printer.pageLayout());
}

QPainter* TReportOutput::beginPage()
{
    ++pageCount_;
    const bool toPrinter = destination_ == Destination::Printer && printer_;
    if (toPrinter && settings_.pageInRange(pageCount_)) {
        // The first page in range opens the job; later ones start a new sheet.
        if (!jobOpen_) {
            painter_ = std::make_unique<QPainter>();
            if (!painter_->begin(printer_.get())) {
                painter_.reset();
                failed_ = true;
            } else {
                jobOpen_ = true;
            }
        } else {
            printer_->newPage();
        }
        if (jobOpen_) {
            painting_ = painter_.get();
            return painting_;
        }
    }
    // Page images, and printer pages outside the page range (generated, not sent).
    current_ = QPicture();
    current_.setBoundingRect(QRect(QPoint(0, 0), pagePixelSize()));
    scratch_ = std::make_unique<QPainter>(&current_);
    painting_ = scratch_.get();
    return painting_;
}

void TReportOutput::endPage()
{
    if (scratch_ && painting_ == scratch_.get()) {
        scratch_->end();
        scratch_.reset();
        if (destination_ == Destination::PageImages)
            pages_.push_back(current_);
    }
    painting_ = nullptr;
    emit pageFinished(pageCount_);
}

void TReportOutput::setProgress(int percent)
{
    if (progress_ == percent)
        return;
    progress_ = percent;
    emit progressChanged(percent);
}

void TReportOutput::end()
{
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
    jobOpen_ = false;
    finished_ = true;
    setProgress(100);
    emit finishedChanged();
}

} // namespace hw
