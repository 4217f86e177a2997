#include "hw/report/TReportImage.h"
#include "hw/report/TReport.h"

namespace hw {

void TReportImage::setPicture(const QImage& picture)
{
    picture_ = picture;
    if (autoSize_ && !picture_.isNull()) {
        // Sizing to the picture is a bounds change; during layout loading it is ignored.
        QRect b = bounds();
        b.setSize(picture_.size());
        setBounds(b);
    }
}

} // namespace hw
