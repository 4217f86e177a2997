#pragma once
// The scrolling page view of the preview window: one page of an output at a zoom.
#include <QAbstractScrollArea>
#include <QPixmap>

namespace hw {

class TReportOutput;

class TReportPreview : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 2;
    static constexpr int kMaxZoom = 2000;

    explicit TReportPreview(QWidget* parent = nullptr);

    void setOutput(TReportOutput* output);
    TReportOutput* output() const { return output_; }

    int zoom() const { return zoom_; }
    // A fixed zoom; values outside 2..2000 are ignored.
    void setZoom(int percent);
    // Zoom so that the page width fits: view width / page width x 90. The rule stays in
    // force when the view is resized (a window maximised after it was shown) until another
    // zoom is chosen.
    void zoomToWidth();
    // Zoom so that the whole page fits (95 % of the view on the tighter axis); kept in force
    // on resizing like the width rule.
    void zoomToFit();
    void zoomTo100() { setZoom(100); }

    int pageNumber() const { return page_; }
    int pageCount() const;
    void showPage(int number);
    void firstPage() { showPage(1); }
    void prevPage() { showPage(page_ - 1); }
    void nextPage() { showPage(page_ + 1); }
    void lastPage() { showPage(pageCount()); }

    // The page's size in pixels at 100 % (the output's page picture size).
    QSize pageSize() const;
    // Where the page lies in the viewport (centred when smaller than the view).
    QRect pageRect() const;

    // The zoom the width and fit rules give for a view and page size (before the limits).
    static int widthZoom(const QSize& view, const QSize& page);
    static int fitZoom(const QSize& view, const QSize& page);

signals:
    void pageChanged(int number);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class ZoomRule { Fixed, Width, Fit };
    void applyZoom(int percent);
    void onPageFinished(int number);
    QSize viewSize() const;
    QSize scaledPageSize() const;
    QPixmap renderPage() const;
    void updateScrollBars();
    void resetScroll();

    TReportOutput* output_ = nullptr;
    int zoom_ = 100;
    ZoomRule rule_ = ZoomRule::Fixed;
    int page_ = 1;
    mutable QPixmap cache_;
};

} // namespace hw
