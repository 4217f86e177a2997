// Pictures stay crisp on high-density screens, and the window keeps its logical size.
#include "TutorTree.h"

#include "hw/clips/FrameStamp.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

QImage renderAt(QWidget* widget, qreal ratio)
{
    QImage image(QSize(qCeil(widget->width() * ratio), qCeil(widget->height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image);
    return image;
}

// The widest run of pixels between two colours along a row: 0 for a hard edge.
int blurredPixels(const QImage& image, int y, int x0, int x1, QColor a, QColor b)
{
    int between = 0;
    for (int x = x0; x < x1; ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c != a && c != b)
            ++between;
    }
    return between;
}

} // namespace

TEST(TutorRendering, FacesPicturesAndVideoAreCrispAtHighDensity)
{
    TutorWindow w(standardTree());
    TForm1& f = *w;
    click(f.TechniquesButton);
    ASSERT_TRUE(waitForFrame(f, 0));

    // At twice the density every face pixel becomes a 2 x 2 block of the same colour.
    const QImage twice = renderAt(&f, 2.0);
    EXPECT_EQ(f.size(), QSize(632, 453));
    const QImage face = f.PlayStopButton->Face().image.convertToFormat(QImage::Format_RGB32);
    const QPoint at = f.PlayStopButton->pos();
    int mismatches = 0;
    for (int y = 0; y < f.PlayStopButton->height(); ++y)
        for (int x = 0; x < f.PlayStopButton->width(); ++x)
            for (int d = 0; d < 4; ++d)
                if (twice.pixel(2 * (at.x() + x) + d % 2, 2 * (at.y() + y) + d / 2) != face.pixel(x, y))
                    ++mismatches;
    EXPECT_EQ(mismatches, 0);

    // The video panel at both densities still shows the whole stamped frame.
    for (qreal ratio : {1.5, 2.0}) {
        const QImage video = renderAt(f.VideoPanel, ratio);
        EXPECT_EQ(readFrameStamp(video), std::optional<int32_t>(0)) << ratio;
    }

    // The gallery at one and a half times: Adams' two colours meet at a hard edge, and
    // the picture fills its cell to the last device pixel.
    click(f.PatternsButton);
    f.QuickTourButton->setFocus(); // no focus rectangle over the cells
    GalleryListBox* g = f.PatternsListBox;
    const int row = galleryRowOf(f, "Adams");
    const QRect cell = g->visualItemRect(g->item(row));
    const QImage gallery = renderAt(g->viewport(), 1.5);
    const int y = qRound((cell.top() + 40) * 1.5);
    EXPECT_LE(blurredPixels(gallery, y, qRound(cell.left() * 1.5), qRound((cell.right() + 1) * 1.5), Qt::red,
                            Qt::yellow),
              1);
    EXPECT_EQ(gallery.pixelColor(qRound(cell.left() * 1.5), y), QColor(Qt::red));
    EXPECT_EQ(gallery.pixelColor(qRound((cell.right() + 1) * 1.5) - 1, y), QColor(Qt::yellow));
}
