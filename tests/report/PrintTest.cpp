// Print and Printer setup against a simulated printer list: the job, its settings, the
// progress window, page ranges and the dialog's rules.
#include "PdfReader.h"
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include "PrintProgressWindow.h"
#include "hw/Exception.h"
#include "hw/app/Application.h"
#include "hw/report/TReportPreviewWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <csignal>
#include <sys/resource.h>

using namespace hw;
using namespace hw::test;

namespace {

class ReportPrint : public ReportTest {
protected:
    QTemporaryDir dir;
    QString pdf;
    int printersMade = 0;
    int lastCopies = 0;

    void SetUp() override
    {
        ReportTest::SetUp();
        pdf = dir.filePath(QStringLiteral("job.pdf"));
        // "Office" prints into a PDF file with a 6 mm unprintable border.
        setPrinterSystem(fixedPrinters(
            {QStringLiteral("Office"), QStringLiteral("Other")}, QStringLiteral("Office"),
            {QPageSize(QPageSize::Letter), QPageSize(QPageSize::A4)}, [this](const QString& name) {
                ++printersMade;
                auto p = pdfPrinter(pdf, 600, {6, 6, 6, 6});
                p->setPrinterName(name);
                return p;
            }));
    }
};

// Notes every window that is shown, and what the progress window's labels read each time
// they were painted.
class ShowWatcher : public QObject {
public:
    QStringList shown;
    QStringList painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            shown << static_cast<QWidget*>(o)->windowTitle();
        if (e->type() == QEvent::Paint) {
            auto* label = qobject_cast<QLabel*>(o);
            if (label && label->window()->windowTitle() == QStringLiteral("Printing progress"))
                painted << label->text();
        }
        return false;
    }
};

} // namespace

TEST_F(ReportPrint, PrintGeneratesIntoThePrinterJob)
{
    auto report = makeCardReport();
    report->printerSettings().copies = 2;
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    report->Print();
    qApp->removeEventFilter(&watcher);
    EXPECT_EQ(printersMade, 1);
    EXPECT_TRUE(watcher.shown.contains(QStringLiteral("Printing progress")));
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    EXPECT_FALSE(report->busy());
    // The progress window is gone once printing ends.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->windowTitle() == QStringLiteral("Printing progress"));

    if (popplerAvailable()) {
        const QList<PdfWord> words = pdfWords(pdf);
        const PdfWord* title = findWord(words, QStringLiteral("Hacklewright"));
        ASSERT_TRUE(title);
        // Centred on its 1907.65-wide box that starts at the band's left, 127.0.
        EXPECT_NEAR((title->xMin + title->xMax) / 2, (127.0 + 1907.65 / 2) * kPointsPerTenth, 1.0);
        // The double blank survives: two blanks of 10 pt Arial (2 x 2.78 pt) between the words.
        const PdfWord* twoX = findWord(words, QStringLiteral("2X"));
        ASSERT_TRUE(twoX);
        const PdfWord* longWord = nullptr;
        for (const PdfWord& w : words) {
            if (w.text == QStringLiteral("long,") && std::abs(w.yMin - twoX->yMin) < 0.5)
                longWord = &w;
        }
        ASSERT_TRUE(longWord);
        EXPECT_NEAR(longWord->xMin - twoX->xMax, 5.56, 0.8);
    }

    // Without ShowProgress no window appears.
    report->setShowProgress(false);
    ShowWatcher quiet;
    qApp->installEventFilter(&quiet);
    report->Print();
    qApp->removeEventFilter(&quiet);
    EXPECT_FALSE(quiet.shown.contains(QStringLiteral("Printing progress")));
}

TEST_F(ReportPrint, PagesOutsideTheRangeAreNotSent)
{
    auto report = makeCardReport();
    report->printerSettings().firstPage = 2;
    report->printerSettings().lastPage = 3;
    report->setShowProgress(false);
    report->Print();
    EXPECT_EQ(printersMade, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf)); // page 1 was generated but no job was opened

    report->printerSettings().firstPage = 1;
    report->printerSettings().lastPage = 0;
    report->Print();
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
}

TEST_F(ReportPrint, PrinterSetupRules)
{
    auto report = makeCardReport();
    report->printerSettings().copies = 4;
    PrintDialogRequest seen;
    PrintDialogAnswer answer;
    int shown = 0;
    setPrintDialogRunner([&](QPrinter&, const PrintDialogRequest& request) {
        ++shown;
        seen = request;
        return answer;
    });

    // Before any generation there is no page range to offer.
    answer.accepted = false;
    report->PrinterSetup();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(seen.copies, 4);
    EXPECT_FALSE(seen.hasRange);
    EXPECT_EQ(report->printerSettings().copies, 4); // Cancel changes nothing

    auto output = TReportOutput::forPageImages(96);
    report->Generate(*output);
    answer = {true, PrintDialogAnswer::Range::PageRange, 3, 1, 1};
    report->PrinterSetup();
    EXPECT_TRUE(seen.hasRange);
    EXPECT_EQ(seen.minPage, 1);
    EXPECT_EQ(seen.maxPage, 1);
    EXPECT_EQ(seen.fromPage, 1);
    EXPECT_EQ(seen.toPage, 1);
    EXPECT_EQ(report->printerSettings().copies, 3);
    EXPECT_EQ(report->printerSettings().firstPage, 1);
    EXPECT_EQ(report->printerSettings().lastPage, 1);

    for (auto range : {PrintDialogAnswer::Range::Selection, PrintDialogAnswer::Range::AllPages}) {
        report->printerSettings().firstPage = report->printerSettings().lastPage = 7;
        answer = {true, range, 2, 5, 6};
        report->PrinterSetup();
        EXPECT_EQ(report->printerSettings().copies, 2);
        EXPECT_EQ(report->printerSettings().firstPage, 0);
        EXPECT_EQ(report->printerSettings().lastPage, 0);
    }
}

TEST_F(ReportPrint, PdfExport)
{
    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";
    auto report = makeCardReport();
    const QString out = dir.filePath(QStringLiteral("export.pdf"));
    ASSERT_TRUE(report->ExportPdf(out));
    EXPECT_EQ(printersMade, 0); // export needs no printer
    const QList<PdfWord> words = pdfWords(out);
    // Footer label at 48, 986 design pixels: 127.0, 2608.79 from the paper's edges.
    const PdfWord* footer = findWord(words, QStringLiteral("Printed"));
    ASSERT_TRUE(footer);
    EXPECT_NEAR(footer->xMin, 127.0 * kPointsPerTenth, 0.8);
    EXPECT_NEAR(footer->yMin, 2608.79 * kPointsPerTenth, 1.5);
    // Letter paper.
    const QString info = runTool(QStringLiteral("pdfinfo"), {out});
    EXPECT_TRUE(info.contains(QStringLiteral("612 x 792"))) << info.toStdString();

    EXPECT_FALSE(report->ExportPdf(dir.filePath(QStringLiteral("no/such/dir/x.pdf"))));
}

TEST_F(ReportPrint, AJobThatCannotStartIsReportedWithThePrinterAndTheReason)
{
    const QString unreachable = dir.filePath(QStringLiteral("no/such/dir/job.pdf"));
    setPrinterSystem(fixedPrinters({QStringLiteral("Office")}, QStringLiteral("Office"),
                                   {QPageSize(QPageSize::Letter)}, [&](const QString& name) {
                                       auto p = pdfPrinter(unreachable, 600);
                                       p->setPrinterName(name);
                                       return p;
                                   }));
    auto report = makeCardReport();
    try {
        report->Print();
        ADD_FAILURE() << "printing that cannot start said nothing";
    } catch (const hw::Exception& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Office"))) << e.what();
        EXPECT_TRUE(e.message().contains(unreachable)) << e.what();
    }
    EXPECT_FALSE(report->busy());
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->windowTitle() == QStringLiteral("Printing progress"));

    // From the preview's Print button the error reaches the program's error box.
    QStringList boxes;
    Application::setErrorBoxHook([&](const QString&, const QString& text) { boxes << text; });
    QObject::connect(
        report.get(), &TReport::previewOpened, report.get(),
        [](TReportPreviewWindow* w) {
            QTimer::singleShot(30000, w, &QWidget::close); // safety net
            QTimer::singleShot(0, w, [w] {
                QTest::mouseClick(w->button(QStringLiteral("Print")), Qt::LeftButton);
                w->close();
            });
        },
        Qt::SingleShotConnection);
    report->Preview();
    Application::setErrorBoxHook({});
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0], QStringLiteral("Cannot print on Office: cannot write file %1.").arg(unreachable));
}

TEST_F(ReportPrint, PdfExportThatCannotBeWrittenWhollyLeavesWhatWasThere)
{
    auto report = makeCardReport();
    const QString whole = dir.filePath(QStringLiteral("whole.pdf"));
    ASSERT_TRUE(report->ExportPdf(whole));
    const qint64 size = QFileInfo(whole).size();
    const QString out = dir.filePath(QStringLiteral("card.pdf"));
    {
        QFile before(out);
        ASSERT_TRUE(before.open(QIODevice::WriteOnly));
        before.write("the card saved before");
    }
    // A place that fills up half-way through the file.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = rlim_t(size / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = report->ExportPdf(out);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    QFile after(out);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), QByteArray("the card saved before"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("card.pdf"), QStringLiteral("whole.pdf")}));
    // A file its owner made read-only is never replaced.
    ASSERT_TRUE(QFile::setPermissions(out, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_FALSE(report->ExportPdf(out));
    after.seek(0);
    EXPECT_EQ(after.readAll(), QByteArray("the card saved before"));
}

TEST_F(ReportPrint, PaperSourcesAndSizesAreTheSystemsOwn)
{
    const std::pair<TOutputBin, QPrinter::PaperSource> sources[]
        = {{TOutputBin::First, QPrinter::OnlyOne},     {TOutputBin::Lower, QPrinter::Lower},
           {TOutputBin::Manual, QPrinter::Manual},     {TOutputBin::LargeCapacity, QPrinter::LargeCapacity},
           {TOutputBin::Cassette, QPrinter::Cassette}, {TOutputBin::FormSource, QPrinter::FormSource}};
    for (const auto& [bin, qt] : sources) {
        auto output = TReportOutput::forPrinter(pdfPrinter(pdf, 300));
        TPrinterSettings settings;
        settings.outputBin = bin;
        output->begin(settings);
        EXPECT_EQ(output->printer()->paperSource(), qt) << static_cast<int>(bin);
    }
    EXPECT_EQ(paperDimensions(TPaperSize::B4), QSizeF(2570, 3640)); // JIS B4
    EXPECT_EQ(paperDimensions(TPaperSize::B5), QSizeF(1820, 2570)); // JIS B5
}

TEST_F(ReportPrint, TheProgressWindowShowsEachPageAsItIsDone)
{
    // Nothing else lets events run while pages are generated: the window must paint itself.
    auto output = TReportOutput::forPageImages(96);
    PrintProgressWindow window(output.get());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    for (int page = 1; page <= 2; ++page) {
        output->beginPage();
        output->endPage();
        EXPECT_EQ(watcher.painted.value(watcher.painted.size() - 1),
                  QStringLiteral("Printing page %1").arg(page));
    }
    qApp->removeEventFilter(&watcher);
}
