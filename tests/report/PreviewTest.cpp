// The preview window and the Preview operation: controls, status, zoom rules, page keys,
// two previews at once, termination, no printer, and Save / Load.
#include "PdfReader.h"
#include "ReportTestSupport.h"
#include "SampleReport.h"

#include "hw/Termination.h"
#include "hw/report/TReportPreview.h"
#include "hw/report/TReportPreviewWindow.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace hw;
using namespace hw::test;

namespace {

class ReportPreview : public ReportTest {
protected:
    void TearDown() override
    {
        // No preview may outlive its test.
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TReportPreviewWindow*>(w))
                w->close();
        }
        resetTerminateRequest();
        ReportTest::TearDown();
    }
};

// Runs `check` on the preview window once its page is shown, then lets the test close it.
// A 30 s safety net closes it anyway so that a failure cannot hang the suite.
void onPreviewShown(TReport& report, std::function<void(TReportPreviewWindow*)> check)
{
    QObject::connect(
        &report, &TReport::previewOpened, &report,
        [check](TReportPreviewWindow* window) {
            QTimer::singleShot(30000, window, &QWidget::close);
            // Polled, not waited for: the page is generated only after this handler returns.
            auto* poll = new QTimer(window);
            poll->setInterval(5);
            QObject::connect(poll, &QTimer::timeout, window, [poll, window, check] {
                if (window->statusText() != QStringLiteral("Page 1 of 1"))
                    return;
                poll->stop();
                check(window);
            });
            poll->start();
        },
        Qt::SingleShotConnection);
}

// A page-image output with `pages` pages drawn by hand (the card engine makes one page).
std::unique_ptr<TReportOutput> multiPageOutput(int pages)
{
    auto output = TReportOutput::forPageImages(96);
    output->setPaper(QSizeF(2159, 2794));
    output->begin(TPrinterSettings{});
    for (int i = 1; i <= pages; ++i) {
        QPainter* p = output->beginPage();
        p->drawText(100, 100, QStringLiteral("Page %1").arg(i));
        output->endPage();
    }
    output->end();
    return output;
}

} // namespace

TEST_F(ReportPreview, WindowControlsAndStatus)
{
    auto report = makeCardReport();
    QString statusAtOpen;
    bool checked = false;
    QObject::connect(report.get(), &TReport::previewOpened, report.get(),
                     [&](TReportPreviewWindow* w) { statusAtOpen = w->statusText(); });
    onPreviewShown(*report, [&](TReportPreviewWindow* w) {
        checked = true;
        EXPECT_TRUE(w->isMaximized());
        EXPECT_TRUE(w->windowTitle().isEmpty());
        const QList<std::pair<const char*, const char*>> hints = {{"ZoomToFit", "Zoom to fit"},
                                                                  {"ZoomTo100", "Zoom to 100%"},
                                                                  {"ZoomToWidth", "Zoom to page width"},
                                                                  {"FirstPage", "First Page"},
                                                                  {"PrevPage", "Previous page"},
                                                                  {"NextPage", "Next page"},
                                                                  {"LastPage", "Last page"},
                                                                  {"PrintSetup", "Printer setup"},
                                                                  {"Print", "Print"},
                                                                  {"Save", "Save"},
                                                                  {"Load", "Load"}};
        for (const auto& [name, hint] : hints) {
            QToolButton* b = w->button(QString::fromLatin1(name));
            ASSERT_TRUE(b) << name;
            EXPECT_EQ(b->toolTip(), QString::fromLatin1(hint));
            EXPECT_FALSE(b->icon().isNull());
            EXPECT_FALSE(b->icon().pixmap(QSize(24, 24), 2.0).isNull());
        }
        ASSERT_TRUE(w->button(QStringLiteral("Exit")));
        EXPECT_EQ(w->button(QStringLiteral("Exit"))->text(), QStringLiteral("&Close"));
        EXPECT_TRUE(w->button(QStringLiteral("ZoomToWidth"))->isChecked());
        EXPECT_FALSE(w->progressVisible());

        // The page shows at the page-width zoom, centred across, scrolled to the top.
        TReportPreview* view = w->preview();
        EXPECT_EQ(view->zoom(), TReportPreview::widthZoom(view->maximumViewportSize(), QSize(816, 1056)));
        EXPECT_EQ(view->verticalScrollBar()->value(), 0);
        view->verticalScrollBar()->setValue(50);
        w->button(QStringLiteral("ZoomTo100"))->click();
        EXPECT_EQ(view->zoom(), 100);
        EXPECT_EQ(view->verticalScrollBar()->value(), 0);
        w->button(QStringLiteral("ZoomToFit"))->click();
        EXPECT_EQ(view->zoom(), TReportPreview::fitZoom(view->maximumViewportSize(), QSize(816, 1056)));
        const QRect page = view->pageRect();
        EXPECT_NEAR(page.center().x(), view->viewport()->rect().center().x(), 1);
        EXPECT_NEAR(page.center().y(), view->viewport()->rect().center().y(), 1);

        // Esc closes the window.
        QTest::keyClick(w, Qt::Key_Escape);
    });
    report->Preview();
    EXPECT_TRUE(checked);
    EXPECT_EQ(statusAtOpen, QStringLiteral("Working..."));
    EXPECT_FALSE(report->busy());
}

TEST_F(ReportPreview, ZoomRulesAndLimits)
{
    EXPECT_EQ(TReportPreview::widthZoom(QSize(900, 700), QSize(816, 1056)), 99);  // 99.26
    EXPECT_EQ(TReportPreview::fitZoom(QSize(900, 700), QSize(816, 1056)), 63);    // min(104.8, 62.97)
    EXPECT_EQ(TReportPreview::fitZoom(QSize(1600, 2400), QSize(816, 1056)), 186); // across is tighter

    auto output = multiPageOutput(1);
    TReportPreview view;
    view.resize(900, 700);
    view.setOutput(output.get());
    view.show();
    view.setZoom(250);
    view.horizontalScrollBar()->setValue(40);
    view.verticalScrollBar()->setValue(80);
    for (int ignored : {1, 0, -5, 2001, 5000}) {
        view.setZoom(ignored);
        EXPECT_EQ(view.zoom(), 250) << ignored;
    }
    EXPECT_EQ(view.verticalScrollBar()->value(), 80);
    view.setZoom(2);
    EXPECT_EQ(view.zoom(), 2);
    view.setZoom(2000);
    EXPECT_EQ(view.zoom(), 2000);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);

    // A page smaller than the view is centred; a larger one starts at the top left.
    view.setZoom(50);
    const QRect small = view.pageRect();
    EXPECT_EQ(small.size(), QSize(408, 528));
    EXPECT_EQ(small.left(), (view.viewport()->width() - 408) / 2);
    EXPECT_EQ(small.top(), (view.viewport()->height() - 528) / 2);
    view.setZoom(300);
    EXPECT_LT(view.pageRect().top(), 20);
    EXPECT_LT(view.pageRect().left(), 20);

    // The width and fit rules follow the view when it is resized (maximised late); a
    // chosen zoom does not.
    view.zoomToWidth();
    view.resize(1200, 700);
    EXPECT_EQ(view.zoom(), TReportPreview::widthZoom(view.maximumViewportSize(), QSize(816, 1056)));
    view.zoomToFit();
    view.resize(900, 500);
    EXPECT_EQ(view.zoom(), TReportPreview::fitZoom(view.maximumViewportSize(), QSize(816, 1056)));
    view.setZoom(100);
    view.resize(1000, 900);
    EXPECT_EQ(view.zoom(), 100);
}

TEST_F(ReportPreview, PageKeysAndStatus)
{
    auto output = multiPageOutput(3);
    auto* window = new TReportPreviewWindow(output.get());
    QPointer<TReportPreviewWindow> guard(window);
    window->show();
    TReportPreview* view = window->preview();
    EXPECT_EQ(window->statusText(), QStringLiteral("Page 1 of 3"));

    auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(view, k, m);
        return view->pageNumber();
    };
    EXPECT_EQ(key(Qt::Key_PageUp), 1); // stays on the first page
    EXPECT_EQ(key(Qt::Key_PageDown), 2);
    EXPECT_EQ(window->statusText(), QStringLiteral("Page 2 of 3"));
    EXPECT_EQ(key(Qt::Key_PageDown, Qt::ControlModifier), 3);
    EXPECT_EQ(key(Qt::Key_PageDown), 3);
    EXPECT_EQ(key(Qt::Key_PageUp, Qt::ControlModifier), 1);
    EXPECT_EQ(key(Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier), 2); // not Ctrl alone
    EXPECT_EQ(key(Qt::Key_End), 3);
    EXPECT_EQ(key(Qt::Key_Home), 1);

    // The toolbar does the same, and a page change scrolls back to the top.
    view->setZoom(300);
    view->verticalScrollBar()->setValue(200);
    window->button(QStringLiteral("LastPage"))->click();
    EXPECT_EQ(view->pageNumber(), 3);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
    window->button(QStringLiteral("PrevPage"))->click();
    window->button(QStringLiteral("FirstPage"))->click();
    EXPECT_EQ(view->pageNumber(), 1);
    window->button(QStringLiteral("NextPage"))->click();
    EXPECT_EQ(window->statusText(), QStringLiteral("Page 2 of 3"));

    window->button(QStringLiteral("Exit"))->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull(); }, 10000));
    EXPECT_FALSE(output->previewShown());
}

TEST_F(ReportPreview, TwoPreviewsAtOnceEachWaitForTheirOwnWindow)
{
    auto report = makeCardReport();
    QList<QPointer<TReportPreviewWindow>> windows;
    QStringList events;
    QObject::connect(report.get(), &TReport::previewOpened, report.get(), [&](TReportPreviewWindow* w) {
        windows.append(w);
        events << QStringLiteral("open%1").arg(windows.size());
        QTimer::singleShot(30000, w, &QWidget::close); // safety net
        if (windows.size() == 1) {
            // While the first preview waits, the same report is previewed again.
            QTimer::singleShot(0, report.get(), [&] {
                report->Preview();
                events << QStringLiteral("return2");
            });
        } else {
            // Close the first window first: its Preview call cannot return before the
            // second (nested) one has.
            QTimer::singleShot(0, w, [&] {
                windows[0]->close();
                events << QStringLiteral("closed1");
                QTimer::singleShot(0, windows[1], [&] {
                    EXPECT_TRUE(windows[0].isNull());
                    events << QStringLiteral("closing2");
                    windows[1]->close();
                });
            });
        }
    });
    report->Preview();
    events << QStringLiteral("return1");
    EXPECT_EQ(
        events,
        (QStringList{QStringLiteral("open1"), QStringLiteral("open2"), QStringLiteral("closed1"),
                     QStringLiteral("closing2"), QStringLiteral("return2"), QStringLiteral("return1")}));
    ASSERT_EQ(windows.size(), 2);
    EXPECT_TRUE(windows[0].isNull());
    EXPECT_TRUE(windows[1].isNull());

    // And in the other order: the later window closes first.
    windows.clear();
    events.clear();
    QObject::disconnect(report.get(), &TReport::previewOpened, nullptr, nullptr);
    QObject::connect(report.get(), &TReport::previewOpened, report.get(), [&](TReportPreviewWindow* w) {
        windows.append(w);
        QTimer::singleShot(30000, w, &QWidget::close);
        if (windows.size() == 1) {
            QTimer::singleShot(0, report.get(), [&] {
                report->Preview();
                events << QStringLiteral("return2");
                windows[0]->close();
            });
        } else {
            QTimer::singleShot(0, w, &QWidget::close);
        }
    });
    report->Preview();
    events << QStringLiteral("return1");
    EXPECT_EQ(events, (QStringList{QStringLiteral("return2"), QStringLiteral("return1")}));
}

TEST_F(ReportPreview, TerminationEndsTheWait)
{
    auto report = makeCardReport();
    QPointer<TReportPreviewWindow> window;
    QObject::connect(report.get(), &TReport::previewOpened, report.get(), [&](TReportPreviewWindow* w) {
        window = w;
        QTimer::singleShot(30000, w, &QWidget::close);
        QTimer::singleShot(0, [] { requestTerminate(); });
    });
    report->Preview();
    EXPECT_TRUE(terminateRequested());
    // The window does not outlive the output it showed.
    EXPECT_TRUE(window.isNull());
    resetTerminateRequest();
}

TEST_F(ReportPreview, NoPrinterInstalled)
{
    int printersMade = 0;
    int dialogs = 0;
    setPrinterSystem(fixedPrinters({}, QString(), {}, [&](const QString&) {
        ++printersMade;
        return std::unique_ptr<QPrinter>();
    }));
    setPrintDialogRunner([&](QPrinter&, const PrintDialogRequest&) {
        ++dialogs;
        return PrintDialogAnswer{};
    });
    auto report = makeCardReport();
    QSize pageSize;
    QImage shot;
    onPreviewShown(*report, [&](TReportPreviewWindow* w) {
        pageSize = w->shownOutput()->pagePixelSize();
        shot = pageImage(*w->shownOutput());
        w->button(QStringLiteral("Print"))->click();
        w->button(QStringLiteral("PrintSetup"))->click();
        w->close();
    });
    report->Preview();
    // The page images fall back to A4; every element keeps its stored place.
    EXPECT_EQ(pageSize, QSize(794, 1123));
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(isDark(shot.pixel(48, 88)));
    EXPECT_FALSE(isDark(shot.pixel(47, 88)));
    report->Print();
    report->PrinterSetup();
    EXPECT_EQ(printersMade, 0);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(report->printerName().isEmpty());

    // A printer without Letter keeps its own paper.
    setPrinterSystem(
        fixedPrinters({QStringLiteral("Small")}, QStringLiteral("Small"), {QPageSize(QPageSize::A5)}));
    auto output = TReportOutput::forPageImages(96);
    report->Generate(*output);
    EXPECT_EQ(output->paperSize().toSize(), QSize(1480, 2100));
}

TEST_F(ReportPreview, SaveAndLoad)
{
    QTemporaryDir dir;
    auto report = makeCardReport();
    const QString pages = dir.filePath(QStringLiteral("card.hwpages"));
    const QString pdf = dir.filePath(QStringLiteral("card.pdf"));
    QImage original, reloaded;
    QString status, badError, missingError;
    bool badLoad = true;
    onPreviewShown(*report, [&](TReportPreviewWindow* w) {
        original = pageImage(*w->shownOutput());
        QString error;
        EXPECT_TRUE(w->saveTo(pages, &error)) << error.toStdString();
        EXPECT_TRUE(w->saveTo(pdf, &error)) << error.toStdString();

        // Broken files give an error and leave the shown pages alone.
        QFile file(pages);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString truncated = dir.filePath(QStringLiteral("truncated.hwpages"));
        QFile out(truncated);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes.left(bytes.size() / 2));
        out.close();
        badLoad = w->loadFrom(truncated, &badError);
        EXPECT_FALSE(w->loadFrom(dir.filePath(QStringLiteral("missing.hwpages")), &missingError));
        EXPECT_EQ(w->statusText(), QStringLiteral("Page 1 of 1"));

        EXPECT_TRUE(w->loadFrom(pages, &error)) << error.toStdString();
        status = w->statusText();
        reloaded = pageImage(*w->shownOutput());
        w->close();
    });
    report->Preview();
    EXPECT_FALSE(badLoad);
    EXPECT_EQ(badError,
              dir.filePath(QStringLiteral("truncated.hwpages"))
                  + QStringLiteral(" is not a valid page file"));
    EXPECT_EQ(missingError,
              QStringLiteral("Cannot open file ") + dir.filePath(QStringLiteral("missing.hwpages")));
    EXPECT_EQ(status, QStringLiteral("Page 1 of 1"));
    ASSERT_FALSE(original.isNull());
    EXPECT_EQ(reloaded, original);

    // Garbage of every length is refused without a crash.
    QByteArray garbage;
    for (int n = 0; n < 300; n += 7) {
        garbage.append(static_cast<char>((n * 37) & 0xff));
        QFile f(dir.filePath(QStringLiteral("garbage.hwpages")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
        f.close();
        EXPECT_FALSE(TReportOutput::loadPages(f.fileName()));
    }
    // A file far larger than any page file is refused unread (sparse: 20 MB of nothing).
    QFile huge(dir.filePath(QStringLiteral("huge.hwpages")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(20) << 20));
    QString hugeError;
    EXPECT_FALSE(TReportOutput::loadPages(huge.fileName(), &hugeError));
    EXPECT_EQ(hugeError,
              QStringLiteral("File %1 is too large (20971520 bytes; at most 16 MB)").arg(huge.fileName()));

    if (!popplerAvailable())
        GTEST_SKIP() << "poppler-utils are not installed";
    // The saved PDF carries real text, in the metric-compatible Arial face.
    EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("Terrestrials & Attractor Patterns")));
    EXPECT_TRUE(pdfFonts(pdf).contains(QStringLiteral("LiberationSans"))
                || pdfFonts(pdf).contains(QStringLiteral("Arial")))
        << pdfFonts(pdf).toStdString();
}
