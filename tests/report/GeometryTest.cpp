// Stored tenths of a millimetre onto devices: the mapping, bands and frame lines at 96 and
// 600 per inch, printers with unprintable margins, and elements placed on the page.
#include "PdfReader.h"
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include "hw/report/DeviceMapping.h"
#include "hw/report/ReportUnits.h"

#include <QTemporaryDir>

using namespace hw;
using namespace hw::test;

namespace {

class ReportGeometry : public ReportTest { };

// A report with only the framed header band at the margins.
std::unique_ptr<TReport> bandOnlyReport()
{
    auto report = std::make_unique<TReport>();
    auto* band = report->AddBand(rbPageHeader);
    band->setSize(214.3125, 1905.0);
    band->frame().setAll(true);
    return report;
}

// First dark column / row scanning from the paper's edge along the band's middle.
int firstDarkColumn(const QImage& image, int row)
{
    for (int x = 0; x < image.width(); ++x)
        if (isDark(image.pixel(x, row)))
            return x;
    return -1;
}
int firstDarkRow(const QImage& image, int column)
{
    for (int y = 0; y < image.height(); ++y)
        if (isDark(image.pixel(column, y)))
            return y;
    return -1;
}
int darkRun(const QImage& image, QPoint from, QPoint step)
{
    int n = 0;
    for (QPoint p = from; image.rect().contains(p) && isDark(image.pixel(p)); p += step)
        ++n;
    return n;
}

// Part of a page picture replayed at its own resolution.
QImage pageRegion(const TReportOutput& output, const QRect& region)
{
    QImage image(region.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.translate(-region.topLeft());
    p.drawPicture(0, 0, output.page(1));
    return image;
}

} // namespace

TEST_F(ReportGeometry, UnitsAreForDisplayOnly)
{
    EXPECT_DOUBLE_EQ(designPixels(48), 127.0);
    EXPECT_DOUBLE_EQ(designPixels(720), 1905.0);
    EXPECT_DOUBLE_EQ(toDisplayUnits(127.0, TReportUnits::Inches), 0.5);
    EXPECT_DOUBLE_EQ(toDisplayUnits(127.0, TReportUnits::MM), 12.7);
    EXPECT_DOUBLE_EQ(toDisplayUnits(2159.0, TReportUnits::Pixels, 96, 100), 816.0);
    EXPECT_DOUBLE_EQ(toDisplayUnits(2794.0, TReportUnits::Pixels, 96, 200), 2112.0);
    EXPECT_DOUBLE_EQ(fromDisplayUnits(816.0, TReportUnits::Pixels, 96, 100), 2159.0);
    EXPECT_DOUBLE_EQ(fromDisplayUnits(0.5, TReportUnits::Inches), 127.0);
    EXPECT_DOUBLE_EQ(toDisplayUnits(214.3125, TReportUnits::Native), 214.3125);

    // Switching units changes neither the stored values nor the page.
    auto report = bandOnlyReport();
    auto inches = TReportOutput::forPageImages(96);
    report->Generate(*inches);
    report->setUnits(TReportUnits::MM);
    auto mm = TReportOutput::forPageImages(96);
    report->Generate(*mm);
    EXPECT_EQ(report->units(), TReportUnits::MM);
    EXPECT_EQ(report->bands().front()->height(), 214.3125);
    EXPECT_EQ(pageImage(*inches), pageImage(*mm));
}

TEST_F(ReportGeometry, DeviceMapping)
{
    const DeviceMapping screen{96, 96, 0, 0};
    EXPECT_EQ(screen.x(127.0), 48);
    EXPECT_EQ(screen.y(2667.0), 1008);
    EXPECT_EQ(screen.width(1905.0), 720);
    EXPECT_EQ(screen.height(214.3125), 81);
    EXPECT_EQ(screen.lineWidthX(1), 1);

    const DeviceMapping printer{600, 600, 0, 0};
    EXPECT_EQ(printer.x(127.0), 300);
    EXPECT_EQ(printer.width(1905.0), 4500);
    EXPECT_EQ(printer.height(214.3125), 506); // 506.25
    EXPECT_EQ(printer.lineHeightY(1), 8);     // 8.33

    // The device origin inside the unprintable margin: positions stay from the paper's edge.
    const DeviceMapping offset{600, 300, 42, 64};
    EXPECT_EQ(offset.x(127.0), 201); // (127 - 42) x 600 / 254 = 200.79
    EXPECT_EQ(offset.y(127.0), 74);  // (127 - 64) x 300 / 254 = 74.41
    EXPECT_EQ(offset.width(1905.0), 4500);
    EXPECT_EQ(offset.height(1905.0), 2250);
    EXPECT_EQ(offset.x(42.0), 0);
}

TEST_F(ReportGeometry, BandAtTheMarginsOnPageImages)
{
    auto report = bandOnlyReport();

    auto at96 = TReportOutput::forPageImages(96);
    report->Generate(*at96);
    ASSERT_EQ(at96->pagePixelSize(), QSize(816, 1056));
    const QImage page = pageImage(*at96);
    EXPECT_EQ(firstDarkColumn(page, 88), 48);
    EXPECT_EQ(firstDarkRow(page, 400), 48);
    EXPECT_EQ(darkRun(page, {48, 88}, {1, 0}), 1); // 1 point at 96 per inch
    EXPECT_EQ(darkRun(page, {400, 48}, {0, 1}), 1);
    EXPECT_TRUE(isDark(page.pixel(767, 88))); // right line inside the band
    EXPECT_FALSE(isDark(page.pixel(768, 88)));
    EXPECT_TRUE(isDark(page.pixel(400, 128))); // bottom line: 48 + 81 - 1
    EXPECT_FALSE(isDark(page.pixel(400, 129)));

    setScreenPpiOverride(600);
    auto at600 = TReportOutput::forPageImages(600);
    report->Generate(*at600);
    ASSERT_EQ(at600->pagePixelSize(), QSize(5100, 6600));
    const QImage corner = pageRegion(*at600, QRect(0, 0, 5100, 900));
    EXPECT_EQ(firstDarkColumn(corner, 550), 300);
    EXPECT_EQ(firstDarkRow(corner, 2000), 300);
    EXPECT_EQ(darkRun(corner, {300, 550}, {1, 0}), 8); // 600 / 72 = 8.33 pixels
    EXPECT_EQ(darkRun(corner, {2000, 300}, {0, 1}), 8);
    EXPECT_EQ(darkRun(corner, {4799, 550}, {-1, 0}), 8); // right edge at 300 + 4500
    EXPECT_FALSE(isDark(corner.pixel(4800, 550)));
    EXPECT_EQ(darkRun(corner, {2000, 805}, {0, -1}), 8); // bottom edge at 300 + 506
    EXPECT_FALSE(isDark(corner.pixel(2000, 806)));

    // A thicker frame scales with the resolution on each axis.
    report->bands().front()->frame().width = 3;
    auto thick = TReportOutput::forPageImages(600);
    report->Generate(*thick);
    EXPECT_EQ(darkRun(pageRegion(*thick, QRect(0, 0, 900, 900)), {300, 550}, {1, 0}), 25);
}

TEST_F(ReportGeometry, BandAtTheMarginsOnPrintersWithUnprintableMargins)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm) are not installed";
    QTemporaryDir dir;
    auto report = bandOnlyReport();

    struct Case {
        int dpi;
        QMarginsF margins;
        double offsetLeft, offsetTop;
    };
    for (const Case& c :
         {Case{600, {}, 0, 0}, Case{600, {5, 7, 5, 5}, 50, 70}, Case{300, {4.2, 3.3, 4.2, 4.2}, 42, 33}}) {
        SCOPED_TRACE(c.dpi);
        SCOPED_TRACE(c.margins.left());
        const QString pdf = dir.filePath(QStringLiteral("band-%1-%2.pdf").arg(c.dpi).arg(c.margins.left()));
        const PrintedPdf printed = printToPdf(*report, pdf, c.dpi, c.margins);
        EXPECT_EQ(printed.dpiX, c.dpi);
        EXPECT_EQ(printed.dpiY, c.dpi);
        // Qt keeps margins in points, so a millimetre margin comes back within a tenth.
        EXPECT_NEAR(printed.offsetLeft, c.offsetLeft, 1.0);
        EXPECT_NEAR(printed.offsetTop, c.offsetTop, 1.0);
        EXPECT_EQ(printed.offsetLeft, std::round(printed.offsetLeft));
        EXPECT_EQ(printed.pages, 1);
        EXPECT_TRUE(printed.finished);

        // Rendered at 254 per inch, one pixel is one tenth of a millimetre.
        const QImage page = pdfPageImage(pdf, 254);
        ASSERT_EQ(page.size(), QSize(2159, 2794));
        EXPECT_NEAR(firstDarkColumn(page, 230), 127, 1);
        EXPECT_NEAR(firstDarkRow(page, 1000), 127, 1);
        // Right and bottom outer edges at 127 + 1905 and 127 + 214.3.
        int right = 2158;
        while (right > 0 && !isDark(page.pixel(right, 230)))
            --right;
        EXPECT_NEAR(right + 1, 2032, 1);
        int bottom = 600;
        while (bottom > 0 && !isDark(page.pixel(1000, bottom)))
            --bottom;
        EXPECT_NEAR(bottom + 1, 341.3, 1.5);
        // The line is one point: 3.5 tenths of a millimetre.
        EXPECT_NEAR(darkRun(page, {firstDarkColumn(page, 230), 230}, {1, 0}), 3.5, 1.0);
    }
}

TEST_F(ReportGeometry, ElementsOnThePageIgnoreBandsAndMargins)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils (pdftotext, pdftoppm) are not installed";
    QTemporaryDir dir;
    auto report = std::make_unique<TReport>();
    // A tall header band covering the place of the first label.
    auto* band = report->AddBand(rbPageHeader);
    band->setSize(800.0, 1905.0);
    band->setColor(QColor(230, 230, 230));
    auto* inside = report->AddLabel();
    inside->setSize(60.0, 500.0, 300.0, 600.0);
    inside->setCaption(QStringLiteral("Anchored"));
    inside->setAutoSize(false);         // keep the whole white box
    auto* outside = report->AddLabel(); // left of the left margin, below the bottom margin
    outside->setSize(60.0, 20.0, 2700.0, 600.0);
    outside->setCaption(QStringLiteral("Edgeward"));

    const QString pdf = dir.filePath(QStringLiteral("elements.pdf"));
    printToPdf(*report, pdf, 600, {6, 6, 6, 6});
    const QList<PdfWord> words = pdfWords(pdf);
    const PdfWord* a = findWord(words, QStringLiteral("Anchored"));
    const PdfWord* e = findWord(words, QStringLiteral("Edgeward"));
    ASSERT_TRUE(a && e);
    EXPECT_NEAR(a->xMin, 500.0 * kPointsPerTenth, 1.0);
    EXPECT_NEAR(a->yMin, 300.0 * kPointsPerTenth, 1.5);
    EXPECT_NEAR(e->xMin, 20.0 * kPointsPerTenth, 1.0);
    EXPECT_NEAR(e->yMin, 2700.0 * kPointsPerTenth, 1.5);

    // The element's white box is drawn over the band (it prints after the band).
    const QImage page = pdfPageImage(pdf, 254);
    EXPECT_EQ(qGray(page.pixel(1090, 310)), 255);
    EXPECT_LT(qGray(page.pixel(1200, 310)), 240);
}

TEST_F(ReportGeometry, StretchedPictureFillsItsBox)
{
    auto report = std::make_unique<TReport>();
    auto* image = report->AddImage();
    image->setSize(designPixels(137), designPixels(64), designPixels(176), designPixels(153));
    image->setStretch(true);
    image->setPicture(twoColourPicture(301, 225));

    auto output = TReportOutput::forPageImages(96);
    report->Generate(*output);
    const QImage page = pageImage(*output);
    // Box 64, 176, 153 x 137 pixels: red left half, blue right half, nothing outside.
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
    EXPECT_EQ(page.pixel(64, 176), red);
    EXPECT_EQ(page.pixel(64 + 70, 176 + 136), red);
    EXPECT_EQ(page.pixel(64 + 83, 176 + 68), blue);
    EXPECT_EQ(page.pixel(64 + 152, 176 + 136), blue);
    EXPECT_EQ(page.pixel(63, 200), white);
    EXPECT_EQ(page.pixel(64 + 153, 200), white);
    EXPECT_EQ(page.pixel(100, 175), white);
    EXPECT_EQ(page.pixel(100, 176 + 137), white);

    // Without Stretch the picture keeps its own size, clipped to the box.
    image->setStretch(false);
    image->setPicture(twoColourPicture(40, 20));
    auto own = TReportOutput::forPageImages(96);
    report->Generate(*own);
    const QImage small = pageImage(*own);
    EXPECT_EQ(small.pixel(64 + 39, 176 + 19), blue);
    EXPECT_EQ(small.pixel(64 + 41, 176 + 5), white); // the box's white fill
}

TEST_F(ReportGeometry, LoadingALayoutKeepsTheStoredValues)
{
    TReport report;
    auto* image = report.AddImage();
    report.beginLayoutLoad();
    image->setAutoSize(true);
    image->setSize(362.48, 169.33, 465.67, 404.81);
    image->setPicture(twoColourPicture(301, 225)); // would size the image to its picture
    image->setBounds(QRect(1, 2, 3, 4));
    report.endLayoutLoad();
    EXPECT_EQ(image->size().height, 362.48);
    EXPECT_EQ(image->size().width, 404.81);
    EXPECT_EQ(image->bounds(), QRect(64, 176, 153, 137));

    // Outside loading, a design-time bounds change does update the stored values.
    image->setBounds(QRect(48, 48, 720, 81));
    EXPECT_DOUBLE_EQ(image->size().left, 127.0);
    EXPECT_DOUBLE_EQ(image->size().width, 1905.0);

    // The bounds follow the zoom; a font size overrides the parent font.
    report.setZoom(200);
    EXPECT_EQ(image->bounds(), QRect(96, 96, 1440, 162));
    auto* label = report.AddLabel();
    EXPECT_TRUE(label->parentFont());
    EXPECT_EQ(label->font().family(), QStringLiteral("Arial"));
    label->setFontSize(14);
    EXPECT_FALSE(label->parentFont());
    EXPECT_EQ(label->font().pointSize(), 14);
    EXPECT_EQ(report.font().pointSize(), 10);
}
