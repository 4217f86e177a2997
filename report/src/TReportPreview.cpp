#include "hw/report/TReportPreview.h"
#include "hw/report/TReportOutput.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace hw {
namespace {
constexpr int kPageGap = 12; // grey margin around the page when it is larger than the view
}

TReportPreview::TReportPreview(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

void TReportPreview::setOutput(TReportOutput* output)
{
    if (output_)
        disconnect(output_, nullptr, this, nullptr);
    output_ = output;
    page_ = 1;
    cache_ = QPixmap();
    if (output_) {
        connect(output_, &TReportOutput::pageFinished, this, &TReportPreview::onPageFinished);
        connect(output_, &QObject::destroyed, this, [this] {
            output_ = nullptr;
            cache_ = QPixmap();
            viewport()->update();
        });
        if (output_->finished() || output_->storedPages() >= 1)
            zoomToWidth();
    }
    updateScrollBars();
    resetScroll();
    viewport()->update();
}

void TReportPreview::setZoom(int percent)
{
    if (percent < kMinZoom || percent > kMaxZoom)
        return;
    rule_ = ZoomRule::Fixed;
    applyZoom(percent);
}

void TReportPreview::applyZoom(int percent)
{
    if (percent < kMinZoom || percent > kMaxZoom)
        return;
    zoom_ = percent;
    cache_ = QPixmap();
    updateScrollBars();
    resetScroll();
    viewport()->update();
}

int TReportPreview::widthZoom(const QSize& view, const QSize& page)
{
    if (page.width() <= 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(view.width()) / page.width() * 90.0));
}

int TReportPreview::fitZoom(const QSize& view, const QSize& page)
{
    if (page.width() <= 0 || page.height() <= 0)
        return 0;
    const double across = std::round(static_cast<double>(view.width()) / page.width() * 95.0);
    const double down = std::round(static_cast<double>(view.height()) / page.height() * 95.0);
    return static_cast<int>(std::min(across, down));
}

QSize TReportPreview::viewSize() const
{
    // The view without scroll bars, so the result does not depend on the zoom before.
    return maximumViewportSize();
}

void TReportPreview::zoomToWidth()
{
    rule_ = ZoomRule::Width;
    applyZoom(widthZoom(viewSize(), pageSize()));
}

void TReportPreview::zoomToFit()
{
    rule_ = ZoomRule::Fit;
    applyZoom(fitZoom(viewSize(), pageSize()));
}

int TReportPreview::pageCount() const
{
    return output_ ? output_->pageCount() : 0;
}

void TReportPreview::showPage(int number)
{
    if (!output_ || number < 1 || number > pageCount())
        return;
    const bool changed = page_ != number;
    page_ = number;
    cache_ = QPixmap();
    resetScroll();
    viewport()->update();
    if (changed)
        emit pageChanged(page_);
}

QSize TReportPreview::pageSize() const
{
    return output_ ? output_->pagePixelSize() : QSize();
}

QSize TReportPreview::scaledPageSize() const
{
    const QSize page = pageSize();
    return QSize(static_cast<int>(std::lround(page.width() * zoom_ / 100.0)),
                 static_cast<int>(std::lround(page.height() * zoom_ / 100.0)));
}

QRect TReportPreview::pageRect() const
{
    const QSize scaled = scaledPageSize();
    const QSize view = viewport()->size();
    // Centred when smaller than the view, else scrolled with a small grey border around it.
    const int x = scaled.width() < view.width() ? (view.width() - scaled.width()) / 2
                                                : kPageGap - horizontalScrollBar()->value();
    const int y = scaled.height() < view.height() ? (view.height() - scaled.height()) / 2
                                                  : kPageGap - verticalScrollBar()->value();
    return QRect(QPoint(x, y), scaled);
}

void TReportPreview::updateScrollBars()
{
    const QSize scaled = scaledPageSize();
    const QSize view = viewport()->size();
    const int w = scaled.width() + 2 * kPageGap;
    const int h = scaled.height() + 2 * kPageGap;
    horizontalScrollBar()->setRange(0, scaled.width() < view.width() ? 0 : std::max(0, w - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, scaled.height() < view.height() ? 0 : std::max(0, h - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(20);
}

void TReportPreview::resetScroll()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TReportPreview::onPageFinished(int number)
{
    // A page appears once it is finished; the view then fits the page width.
    if (number == page_)
        zoomToWidth();
    else
        viewport()->update();
}

QPixmap TReportPreview::renderPage() const
{
    const QSize scaled = scaledPageSize();
    const qreal ratio = devicePixelRatioF();
    QPixmap pm(scaled * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::white);
    if (output_ && page_ <= output_->storedPages()) {
        const QPicture& picture = output_->page(page_);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.scale(zoom_ / 100.0, zoom_ / 100.0);
        p.drawPicture(0, 0, picture);
    }
    return pm;
}

void TReportPreview::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), QColor(0x8a, 0x93, 0x9e));
    if (!output_ || pageSize().isEmpty())
        return;
    const QRect page = pageRect();
    // A soft shadow under the sheet.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int i = 1; i <= 4; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 22 - i * 4));
        p.drawRect(page.translated(i, i).adjusted(-1, -1, 1, 1));
    }
    const bool shown = page_ <= output_->storedPages();
    if (!shown) {
        p.fillRect(page, Qt::white);
        return;
    }
    if (cache_.isNull() || cache_.devicePixelRatio() != devicePixelRatioF())
        cache_ = renderPage();
    p.drawPixmap(page.topLeft(), cache_);
}

void TReportPreview::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (rule_ == ZoomRule::Width)
        applyZoom(widthZoom(viewSize(), pageSize()));
    else if (rule_ == ZoomRule::Fit)
        applyZoom(fitZoom(viewSize(), pageSize()));
    updateScrollBars();
}

void TReportPreview::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TReportPreview::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
        if (mods == Qt::ControlModifier)
            firstPage();
        else
            prevPage();
        return;
    case Qt::Key_PageDown:
        if (mods == Qt::ControlModifier)
            lastPage();
        else
            nextPage();
        return;
    case Qt::Key_Home:
        firstPage();
        return;
    case Qt::Key_End:
        lastPage();
        return;
    default:
        break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace hw
