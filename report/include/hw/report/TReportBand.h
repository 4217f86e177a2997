#pragma once
// A band: a strip across the page that holds elements. The cards use one page header.
#include "hw/report/TReportFrame.h"
#include "hw/report/TReportPrintable.h"

#include <QColor>
#include <QRect>
#include <memory>
#include <vector>

namespace hw {

class TReport;
class TReportLabel;
class TReportMemo;
class TReportImage;

enum TReportBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbChild
};

// The Size list of a band, in its stored order Height, Width.
struct TBandSize {
    double height = 0.0;
    double width = 0.0;
};

class TReportBand {
public:
    ~TReportBand();
    TReportBand(const TReportBand&) = delete;
    TReportBand& operator=(const TReportBand&) = delete;

    TReportBandType bandType() const { return bandType_; }
    void setBandType(TReportBandType type) { bandType_ = type; }
    QString name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    const TBandSize& size() const { return size_; }
    void setSize(double height, double width) { size_ = {height, width}; }
    double height() const { return size_.height; }
    double width() const { return size_.width; }
    // On-screen size in pixels at the report's screen PPI and zoom.
    QRect bounds() const;

    QColor color() const { return color_; }
    void setColor(const QColor& color) { color_ = color; }
    const TReportFrame& frame() const { return frame_; }
    TReportFrame& frame() { return frame_; }
    void setFrame(const TReportFrame& frame) { frame_ = frame; }

    bool alignToBottom() const { return alignToBottom_; }
    void setAlignToBottom(bool v) { alignToBottom_ = v; }
    bool forceNewColumn() const { return forceNewColumn_; }
    void setForceNewColumn(bool v) { forceNewColumn_ = v; }
    bool forceNewPage() const { return forceNewPage_; }
    void setForceNewPage(bool v) { forceNewPage_ = v; }

    // New elements on the band, owned by it, printed in creation order.
    TReportLabel* AddLabel();
    TReportMemo* AddMemo();
    TReportImage* AddImage();
    const std::vector<std::unique_ptr<TReportPrintable>>& elements() const { return elements_; }

    TReport* report() const { return report_; }

private:
    friend class TReport;
    TReportBand(TReport* report, TReportBandType type);

    TReport* report_;
    TReportBandType bandType_;
    QString name_;
    TBandSize size_;
    QColor color_ = Qt::white;
    TReportFrame frame_;
    bool alignToBottom_ = false;
    bool forceNewColumn_ = false;
    bool forceNewPage_ = false;
    std::vector<std::unique_ptr<TReportPrintable>> elements_;
};

} // namespace hw
