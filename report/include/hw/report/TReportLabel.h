#pragma once
#include "hw/report/TReportCustomLabel.h"

namespace hw {

// One line of text.
class TReportLabel : public TReportCustomLabel {
public:
    Kind kind() const override { return Kind::Label; }
    QStringList textLines() const override;

private:
    friend class TReport;
    friend class TReportBand;
    using TReportCustomLabel::TReportCustomLabel;
};

} // namespace hw
