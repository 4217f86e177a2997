#include "hw/report/TReportCustomLabel.h"
#include "hw/report/TReportLabel.h"
#include "hw/report/TReportMemo.h"

namespace hw {

void TReportCustomLabel::setAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    // An auto-sized box grows to the right from its left edge, which only makes sense for
    // left-aligned text.
    if (alignment != taLeftJustify)
        autoSize_ = false;
}

QStringList TReportLabel::textLines() const
{
    return caption().isEmpty() ? QStringList() : QStringList{caption()};
}

QStringList TReportMemo::textLines() const
{
    return caption().isEmpty() ? lines_ : QStringList{caption()};
}

} // namespace hw
