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
    const double aspect = static_cast<double>(picture.width()) / picture.height();
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

void checkLessonPicture(const QImage& picture, const QString& file, Findings& out)
{
    const QSize place(120, 80);
    if (picture.isNull() || picture.size() == place)
        return;
    const QSize seen = picture.size().boundedTo(place);
    const bool cut = picture.width() > place.width() || picture.height() > place.height();
    const bool small = picture.width() < place.width() || picture.height() < place.height();
    QString what;
    if (cut && small)
        what = QStringLiteral(
            "only its top-left %1 x %2 pixels are seen, and they fill only part of the place");
    else if (cut)
        what = QStringLiteral("only its top-left %1 x %2 pixels are seen");
    else
        what = QStringLiteral("it fills only %1 x %2 of the place");
    out.warning(
        QStringLiteral("picture-size"), file, 0,
        QStringLiteral("the picture is %1 x %2, not 120 x 80: the lesson screen shows it unscaled from "
                       "its top-left corner in a 120 x 80 place, so %3")
            .arg(picture.width())
            .arg(picture.height())
            .arg(what.arg(seen.width()).arg(seen.height())));
}

} // namespace hw::check
