#pragma once
// Shared fixtures: a fake printer list per test, PDF generation through a printer output,
// and the page of a page-image output rendered to an image.
#include "hw/report/ReportPlatform.h"
#include "hw/report/ReportTesting.h"
#include "hw/report/TReport.h"
#include "hw/report/TReportOutput.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

namespace hw::test {

// Every test starts with one Letter-capable fake printer (no CUPS needed) and 96 ppi.
class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setPrinterSystem(fixedPrinters({QStringLiteral("Fake")}, QStringLiteral("Fake"),
                                       {QPageSize(QPageSize::Letter), QPageSize(QPageSize::A4)}));
        setScreenPpiOverride(96.0);
    }
    void TearDown() override
    {
        setPrinterSystem(nullptr);
        setScreenPpiOverride(0.0);
        setPrintDialogRunner({});
    }
};

// A PDF "printer" at `dpi` whose printable area starts `marginMm` in from the paper's edges.
inline std::unique_ptr<QPrinter> pdfPrinter(const QString& path, int dpi, const QMarginsF& marginMm = {})
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setResolution(dpi);
    printer->setPageMargins(marginMm, QPageLayout::Millimeter);
    printer->setFullPage(false);
    return printer;
}

// Generates `report` into a PDF through the printer path; returns the output's record.
struct PrintedPdf {
    double dpiX = 0, dpiY = 0, offsetLeft = 0, offsetTop = 0;
    int pages = 0;
    bool finished = false;
};
inline PrintedPdf printToPdf(TReport& report, const QString& path, int dpi, const QMarginsF& marginMm = {})
{
    auto output = TReportOutput::forPrinter(pdfPrinter(path, dpi, marginMm));
    report.Generate(*output);
    return {output->dpiX(),      output->dpiY(),      output->offsetLeft(),
            output->offsetTop(), output->pageCount(), output->finished()};
}

// Page `n` of a page-image output, replayed at its own size.
inline QImage pageImage(const TReportOutput& output, int n = 1)
{
    QImage image(output.pagePixelSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawPicture(0, 0, output.page(n));
    return image;
}

inline bool isDark(QRgb c)
{
    return qGray(c) < 128;
}

} // namespace hw::test
