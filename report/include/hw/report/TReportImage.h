#pragma once
#include "hw/report/TReportPrintable.h"

#include <QImage>

namespace hw {

// A picture printed in its box: stretched to fill it exactly, or at its own pixel size
// (clipped to the box, centred when Center is set).
class TReportImage : public TReportPrintable {
public:
    Kind kind() const override { return Kind::Image; }
    const QImage& picture() const { return picture_; }
    // With AutoSize set outside layout loading, the stored size follows the picture's pixel
    // size at the design PPI.
    void setPicture(const QImage& picture);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch) { stretch_ = stretch; }
    bool center() const { return center_; }
    void setCenter(bool center) { center_ = center; }
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }

private:
    friend class TReport;
    friend class TReportBand;
    using TReportPrintable::TReportPrintable;

    QImage picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
};

} // namespace hw
