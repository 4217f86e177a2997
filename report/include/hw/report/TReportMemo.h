#pragma once
#include "hw/report/TReportCustomLabel.h"

namespace hw {

// A list of lines; a memo with lines ignores any caption.
class TReportMemo : public TReportCustomLabel {
public:
    Kind kind() const override { return Kind::Memo; }
    const QStringList& lines() const { return lines_; }
    void setLines(const QStringList& lines) { lines_ = lines; }
    QStringList textLines() const override;

private:
    friend class TReport;
    friend class TReportBand;
    using TReportCustomLabel::TReportCustomLabel;

    QStringList lines_;
};

} // namespace hw
