#include "hw/report/TReportPreviewWindow.h"
#include "hw/FileReplacement.h"
#include "hw/report/TReportOutput.h"
#include "hw/report/TReportPreview.h"

#include "PreviewIcons.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace hw {
namespace {

// Replays page pictures into a PDF: used for pages loaded from a page file, which have no
// report behind them to generate again.
bool writePicturesPdf(const TReportOutput& pages, const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(static_cast<int>(pages.dpiX()));
    writer.setPageSize(QPageSize(pages.paperSize() / 10.0, QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int n = 1; n <= pages.storedPages(); ++n) {
        if (n > 1)
            writer.newPage();
        painter.drawPicture(0, 0, pages.page(n));
    }
    return painter.end();
}

} // namespace

TReportPreviewWindow::TReportPreviewWindow(TReportOutput* output, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , output_(output)
{
    setObjectName(QStringLiteral("ReportPreviewWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString());
    resize(900, 700);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("PreviewToolbar"));
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setStyleSheet(QStringLiteral(
        "QToolBar#PreviewToolbar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #fbfcfd, stop:1 #e9edf2); border-bottom: 1px solid #c3cad3; padding: 3px 6px; spacing: 2px; "
        "}"
        "QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 3px; }"
        "QToolButton:hover { background: #dde8f6; border-color: #a9c3e6; }"
        "QToolButton:pressed, QToolButton:checked { background: #c9dcf4; border-color: #7fa6da; }"
        "QToolButton#Exit { padding: 3px 10px; font-weight: 600; }"));
    layout->addWidget(toolbar_);

    preview_ = new TReportPreview(this);
    layout->addWidget(preview_, 1);

    auto* statusBar = new QFrame(this);
    statusBar->setObjectName(QStringLiteral("StatusPanel"));
    statusBar->setStyleSheet(
        QStringLiteral("QFrame#StatusPanel { background: #eef1f5; border-top: 1px solid #c3cad3; }"));
    auto* statusLayout = new QHBoxLayout(statusBar);
    statusLayout->setContentsMargins(8, 3, 8, 3);
    status_ = new QLabel(QStringLiteral("Working..."), statusBar);
    status_->setObjectName(QStringLiteral("StatusText"));
    status_->setMinimumWidth(120);
    progress_ = new QProgressBar(statusBar);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setFixedWidth(100);
    progress_->setMaximumHeight(14);
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setVisible(false);
    statusLayout->addWidget(status_);
    statusLayout->addWidget(progress_);
    statusLayout->addStretch(1);
    layout->addWidget(statusBar);

    buildToolbar();

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(preview_, &TReportPreview::pageChanged, this, [this] { updateStatus(); });
    if (output_) {
        output_->setPreviewShown(true);
        connect(output_, &TReportOutput::finishedChanged, this, [this] {
            working_ = false;
            updateStatus();
        });
        connect(output_, &TReportOutput::progressChanged, this, [this] { updateStatus(); });
        connect(output_, &TReportOutput::pageFinished, this, [this] { updateStatus(); });
        working_ = !output_->finished();
    }
    preview_->setOutput(output_);
    preview_->setFocus();
    updateStatus();
}

TReportPreviewWindow::~TReportPreviewWindow()
{
    if (output_)
        output_->setPreviewShown(false);
}

void TReportPreviewWindow::buildToolbar()
{
    struct Control {
        const char* name;
        PreviewIcon icon;
        const char* hint;
    };
    auto add = [this](const Control& c) {
        auto* b = new QToolButton(toolbar_);
        b->setObjectName(QString::fromLatin1(c.name));
        b->setIcon(previewIcon(c.icon));
        b->setToolTip(QString::fromLatin1(c.hint));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        toolbar_->addWidget(b);
        buttons_.insert(b->objectName(), b);
        return b;
    };

    auto* fit = add({"ZoomToFit", PreviewIcon::ZoomToFit, "Zoom to fit"});
    auto* full = add({"ZoomTo100", PreviewIcon::ZoomTo100, "Zoom to 100%"});
    auto* width = add({"ZoomToWidth", PreviewIcon::ZoomToWidth, "Zoom to page width"});
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QToolButton* b : {fit, full, width}) {
        b->setCheckable(true);
        group->addButton(b);
    }
    width->setChecked(true);
    connect(fit, &QToolButton::clicked, preview_, &TReportPreview::zoomToFit);
    connect(full, &QToolButton::clicked, preview_, &TReportPreview::zoomTo100);
    connect(width, &QToolButton::clicked, preview_, &TReportPreview::zoomToWidth);
    toolbar_->addSeparator();

    connect(add({"FirstPage", PreviewIcon::FirstPage, "First Page"}), &QToolButton::clicked, preview_,
            &TReportPreview::firstPage);
    connect(add({"PrevPage", PreviewIcon::PrevPage, "Previous page"}), &QToolButton::clicked, preview_,
            &TReportPreview::prevPage);
    connect(add({"NextPage", PreviewIcon::NextPage, "Next page"}), &QToolButton::clicked, preview_,
            &TReportPreview::nextPage);
    connect(add({"LastPage", PreviewIcon::LastPage, "Last page"}), &QToolButton::clicked, preview_,
            &TReportPreview::lastPage);
    toolbar_->addSeparator();

    connect(add({"PrintSetup", PreviewIcon::PrintSetup, "Printer setup"}), &QToolButton::clicked, this,
            [this] {
                if (output_ && output_->printerSetupAction)
                    output_->printerSetupAction();
            });
    connect(add({"Print", PreviewIcon::Print, "Print"}), &QToolButton::clicked, this, [this] {
        if (output_ && output_->printAction)
            output_->printAction();
    });
    toolbar_->addSeparator();
    connect(add({"Save", PreviewIcon::Save, "Save"}), &QToolButton::clicked, this,
            &TReportPreviewWindow::onSave);
    connect(add({"Load", PreviewIcon::Load, "Load"}), &QToolButton::clicked, this,
            &TReportPreviewWindow::onLoad);
    toolbar_->addSeparator();

    auto* exit = add({"Exit", PreviewIcon::Close, ""});
    exit->setText(QStringLiteral("&Close"));
    exit->setToolTip(QString());
    exit->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(exit, &QToolButton::clicked, this, &QWidget::close);
}

QToolButton* TReportPreviewWindow::button(const QString& controlName) const
{
    return buttons_.value(controlName, nullptr);
}

TReportOutput* TReportPreviewWindow::shownOutput() const
{
    return loaded_ ? loaded_.get() : output_;
}

QString TReportPreviewWindow::statusText() const
{
    return status_->text();
}

bool TReportPreviewWindow::progressVisible() const
{
    return !progress_->isHidden();
}

void TReportPreviewWindow::updateStatus()
{
    const TReportOutput* shown = shownOutput();
    if (!shown || (working_ && !loaded_)) {
        status_->setText(QStringLiteral("Working..."));
    } else {
        status_->setText(QStringLiteral("Page %1 of %2").arg(preview_->pageNumber()).arg(shown->pageCount()));
    }
    // Page buttons are available only where there is a page to go to.
    const int page = preview_->pageNumber();
    const int count = shown && !(working_ && !loaded_) ? shown->storedPages() : 0;
    for (const char* name : {"FirstPage", "PrevPage"}) {
        if (QToolButton* b = button(QString::fromLatin1(name)))
            b->setEnabled(page > 1);
    }
    for (const char* name : {"NextPage", "LastPage"}) {
        if (QToolButton* b = button(QString::fromLatin1(name)))
            b->setEnabled(page < count);
    }
    const int p = shown ? shown->progress() : 0;
    progress_->setValue(p);
    progress_->setVisible(p > 0 && p < 100);
}

bool TReportPreviewWindow::saveTo(const QString& path, QString* error)
{
    const TReportOutput* shown = shownOutput();
    if (!shown) {
        if (error)
            *error = QStringLiteral("There are no pages to save");
        return false;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0) {
        FileReplacement replacement(path);
        bool ok = replacement.error().isEmpty();
        if (ok && !loaded_ && output_->exportPdfAction) {
            // The report itself is generated again into the PDF, so it prints like the card.
            ok = output_->exportPdfAction(path);
        } else if (ok) {
            const QString partial = replacement.partialPath();
            ok = !partial.isEmpty() && writePicturesPdf(*shown, partial) && replacement.commit();
        }
        if (!ok && error)
            *error = replacement.error().isEmpty() ? QStringLiteral("Cannot write file %1").arg(path)
                                                   : replacement.error();
        return ok;
    }
    return shown->savePages(path, error);
}

bool TReportPreviewWindow::loadFrom(const QString& path, QString* error)
{
    std::unique_ptr<TReportOutput> pages = TReportOutput::loadPages(path, error);
    if (!pages)
        return false;
    loaded_ = std::move(pages);
    preview_->setOutput(loaded_.get());
    updateStatus();
    return true;
}

void TReportPreviewWindow::onSave()
{
    QString selected;
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save"), QString(),
        QStringLiteral("PDF document (*.pdf);;Report pages (*.hwpages)"), &selected);
    if (path.isEmpty())
        return;
    QString target = path;
    if (QFileInfo(target).suffix().isEmpty())
        target
            += selected.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf") : QStringLiteral(".hwpages");
    QString error;
    if (!saveTo(target, &error))
        QMessageBox::warning(this, QString(), error);
}

void TReportPreviewWindow::onLoad()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Load"), QString(), QStringLiteral("Report pages (*.hwpages);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!loadFrom(path, &error))
        QMessageBox::warning(this, QString(), error);
}

void TReportPreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && output_)
        output_->setPreviewShown(false);
}

void TReportPreviewWindow::keyPressEvent(QKeyEvent* event)
{
    // The page keys work wherever the focus is in the window.
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        QCoreApplication::sendEvent(preview_, event);
        return;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

} // namespace hw
