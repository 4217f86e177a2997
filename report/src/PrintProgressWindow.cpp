#include "PrintProgressWindow.h"

#include "hw/report/TReportOutput.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace hw {

PrintProgressWindow::PrintProgressWindow(TReportOutput* output, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("PrintingProgress"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    label_ = new QLabel(QStringLiteral("Printing..."), this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setMinimumWidth(240);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    connect(output, &TReportOutput::progressChanged, bar_, &QProgressBar::setValue);
    connect(output, &TReportOutput::pageFinished, this, [this](int page) {
        label_->setText(QStringLiteral("Printing page %1").arg(page));
        // Pages are generated without a return to the event loop: the window is shown
        // (and repainted) only by letting its own events run between pages.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

} // namespace hw
