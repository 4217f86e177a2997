// Prints a card-shaped report through a real CUPS queue (cups-pdf) and checks the PDF the
// queue writes. Skipped, with the reason, where CUPS cannot be started.
#include "PdfReader.h"
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace hw;
using namespace hw::test;

namespace {

const QString kQueue = QStringLiteral("HacklewrightPDF");

// Where cups-pdf writes: its "Out" setting, with the job owner's home and name filled in.
QStringList cupsPdfOutputDirs()
{
    QStringList dirs;
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& raw : conf.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.startsWith(QStringLiteral("Out ")) || line.startsWith(QStringLiteral("Out\t")))
                dirs << line.mid(4).trimmed();
        }
    }
    if (dirs.isEmpty())
        dirs << QStringLiteral("/var/spool/cups-pdf/${USER}");
    dirs << QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    const QString user = qEnvironmentVariable("USER", getuid() == 0 ? QStringLiteral("root") : QString());
    for (QString& d : dirs) {
        d.replace(QStringLiteral("${HOME}"), getuid() == 0 ? QStringLiteral("/root") : QDir::homePath());
        d.replace(QStringLiteral("${USER}"), user);
    }
    return dirs;
}

QSet<QString> pdfsIn(const QStringList& dirs)
{
    QSet<QString> files;
    for (const QString& d : dirs) {
        QDirIterator it(d, {QStringLiteral("*.pdf")}, QDir::Files);
        while (it.hasNext())
            files.insert(it.next());
    }
    return files;
}

} // namespace

TEST(ReportCups, PrintsThroughTheCupsPdfQueue)
{
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(HW_CUPS_QUEUE_SCRIPT), kQueue});
    ASSERT_TRUE(script.waitForFinished(60000));
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        GTEST_SKIP() << "CUPS cannot be started here: "
                     << QString::fromUtf8(script.readAllStandardError()).trimmed().toStdString();
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";

    setPrinterSystem(systemPrinters());
    setScreenPpiOverride(96.0);
    const QStringList printers = printerSystem()->printerNames();
    ASSERT_TRUE(printers.contains(kQueue)) << "Qt does not list the CUPS queue " << kQueue.toStdString();

    const QStringList outDirs = cupsPdfOutputDirs();
    const QSet<QString> before = pdfsIn(outDirs);

    auto report = makeCardReport();
    report->setPrinterIndex(static_cast<int>(printers.indexOf(kQueue)));
    report->setShowProgress(false);
    EXPECT_EQ(report->printerName(), kQueue);
    report->Print();

    // The spooler converts and writes the file in its own time; the queue re-renders the
    // text (its glyphs lose their text mapping), so the page is compared as an image.
    QString written;
    const bool arrived = QTest::qWaitFor(
        [&] {
            for (const QString& f : pdfsIn(outDirs) - before) {
                if (runTool(QStringLiteral("pdfinfo"), {f}).contains(QStringLiteral("Pages:"))) {
                    written = f;
                    return true;
                }
            }
            return false;
        },
        90000);
    setPrinterSystem(nullptr);
    setScreenPpiOverride(0.0);
    ASSERT_TRUE(arrived) << "no new PDF from the queue in " << outDirs.join(QLatin1Char(' ')).toStdString();

    const QString info = runTool(QStringLiteral("pdfinfo"), {written});
    EXPECT_TRUE(info.contains(QStringLiteral("612 x 792"))) << info.toStdString(); // Letter
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1"))) << info.toStdString();

    // The band's frame lands half an inch from the paper's edges, whatever the queue's
    // printable area; at 254 per inch a pixel is a tenth of a millimetre.
    const QImage page = pdfPageImage(written, 254);
    ASSERT_FALSE(page.isNull());
    int left = -1, top = -1;
    for (int x = 0; x < page.width() && left < 0; ++x)
        if (isDark(page.pixel(x, 230)))
            left = x;
    for (int y = 0; y < page.height() && top < 0; ++y)
        if (isDark(page.pixel(1000, y)))
            top = y;
    EXPECT_NEAR(left, 127, 2);
    EXPECT_NEAR(top, 127, 2);

    // The printed page matches the same report exported to PDF through the same paint path.
    QTemporaryDir dir;
    const QString reference = dir.filePath(QStringLiteral("reference.pdf"));
    ASSERT_TRUE(report->ExportPdf(reference));
    const QImage printed = pdfPageImage(written, 75);
    const QImage expected = pdfPageImage(reference, 75);
    ASSERT_EQ(printed.size(), expected.size());
    auto darkNear = [](const QImage& image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.rect().contains(x + dx, y + dy) && isDark(image.pixel(x + dx, y + dy)))
                    return true;
        return false;
    };
    int dark = 0, unmatched = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (isDark(expected.pixel(x, y))) {
                ++dark;
                unmatched += darkNear(printed, x, y) ? 0 : 1;
            }
            if (isDark(printed.pixel(x, y)) && !darkNear(expected, x, y))
                ++unmatched;
        }
    }
    EXPECT_GT(dark, 2000);
    EXPECT_LT(unmatched, dark / 50) << unmatched << " of " << dark << " dark pixels differ";
}
