#pragma once
#include "hw/report/TReportCustomLabel.h"

namespace hw {

// A list of lines. A caption that is not empty prints instead of them, as one line.
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
