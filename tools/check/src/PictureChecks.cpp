#include "PictureChecks.h"

#include <algorithm>

namespace hw::check {

void checkGalleryPicture(const QImage& picture, const QString& file, Findings& out)
{
    if (picture.isNull()) {
        out.warning(QStringLiteral("picture-empty"), file, 0,
                    QStringLiteral("the picture is an empty file: the gallery cell stays blank"));
        return;
    }
    // The gallery stretches every picture to 125 x 80; beyond half as wide or tall again the
    // fly looks visibly squashed.
    constexpr double kCellAspect = 125.0 / 80.0;
    constexpr double kMostStretch = 1.5;
    const double aspect = double(picture.width()) / picture.height();
    const double stretch = std::max(aspect / kCellAspect, kCellAspect / aspect);
    if (stretch > kMostStretch)
        out.warning(
            QStringLiteral("picture-shape"), file, 0,
            QStringLiteral("the picture is %1 x %2; the gallery stretches it to 125 x 80, which "
                           "distorts it %3 times (best is a picture about 1.56 times as wide as high)")
                .arg(picture.width())
                .arg(picture.height())
                .arg(stretch, 0, 'f', 1));
}

} // namespace hw::check
