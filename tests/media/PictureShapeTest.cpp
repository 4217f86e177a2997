// Phone video and pictures of other shapes: the Display shows a clip upright and with its
// true shape, as the ffmpeg program shows it, whatever turn or mirror image the container's
// display matrix (or the pictures themselves) ask for and whatever the pixels' shape; black
// bars fill the rest of the panel.
#include "MediaFixtures.h"

#include "hw/media/PlayerInspection.h"
#include "hw/media/TMediaPlayer.h"

extern "C" {
#include <libavutil/display.h>
}

#include <QFrame>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <vector>

// Sizes in failure messages as W x H.
void PrintTo(const QSize& size, std::ostream* os)
{
    *os << size.width() << " x " << size.height();
}

using hw::PlayerInspection;
using hw::TMediaPlayer;
using namespace hw::test;

namespace {

// Red grows to the right and green downwards: every turn and mirror image of it differs
// from every other by far more than scaling blurs it.
QImage shapePicture(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(255 * x / (size.width() - 1), 255 * y / (size.height() - 1), 96));
    return img;
}

int largestDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

struct ShapeCase {
    const char* name;
    double rotation = 0;              // av_display_rotation_set's angle; 0 with no mirror: no matrix at all
    bool mirror = false;              // and then left and right exchanged
    bool widePixels = false;          // coded 320 x 240 with pixels 4:3 wide: a 16:9 picture
    bool shapeInPicturesOnly = false; // the container does not repeat the pixels' shape
    bool turnInPictures = false;      // an H.264 display orientation message, no matrix
    QSize own;   // where no Display sets it, known at Open (not when only the pictures tell)
    QSize shown; // in a 320 x 240 panel
};

} // namespace

TEST(PictureShape, ShownUprightWithItsShapeAsFfmpegShowsIt)
{
    if (!haveFfmpeg())
        GTEST_SKIP() << "no ffmpeg program";
    QTemporaryDir dir;
    const QStringList h264{QStringLiteral("-c:v"),     QStringLiteral("libx264"),  QStringLiteral("-preset"),
                           QStringLiteral("veryfast"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p")};
    const QString square = dir.filePath(QStringLiteral("square.mp4"));
    const QString wide = dir.filePath(QStringLiteral("wide.mp4"));
    const auto picture = [](int) { return shapePicture(QSize(320, 240)); };
    ASSERT_TRUE(ffmpegClip(square, 3, picture, h264));
    ASSERT_TRUE(ffmpegClip(wide, 3, picture,
                           h264 + QStringList{QStringLiteral("-vf"), QStringLiteral("setsar=4/3")}));
    const QString turnedInPictures = dir.filePath(QStringLiteral("orientation.mp4"));
    ASSERT_TRUE(
        ffmpegClip(turnedInPictures, 3, picture,
                   h264
                       + QStringList{QStringLiteral("-bsf:v"),
                                     QStringLiteral("h264_metadata=display_orientation=insert:rotate=90")}));

    const ShapeCase cases[] = {
        {"turned a quarter clockwise", 90, false, false, false, false, QSize(240, 320), QSize(180, 240)},
        {"turned a quarter anticlockwise", -90, false, false, false, false, QSize(240, 320), QSize(180, 240)},
        {"turned half round", 180, false, false, false, false, QSize(320, 240), QSize(320, 240)},
        {"mirrored", 0, true, false, false, false, QSize(320, 240), QSize(320, 240)},
        {"turned a quarter and mirrored", 90, true, false, false, false, QSize(240, 320), QSize(180, 240)},
        {"turned a quarter anticlockwise and mirrored", -90, true, false, false, false, QSize(240, 320),
         QSize(180, 240)},
        {"turned half round and mirrored", 180, true, false, false, false, QSize(320, 240), QSize(320, 240)},
        {"wide pixels", 0, false, true, false, false, QSize(427, 240), QSize(320, 180)},
        {"wide pixels turned a quarter", -90, false, true, false, false, QSize(240, 427), QSize(135, 240)},
        // The player learns the shape from the first picture it decodes.
        {"wide pixels told by the pictures alone", 0, false, true, true, false, QSize(), QSize(320, 180)},
        {"turned by the pictures alone", 0, false, false, false, true, QSize(), QSize(180, 240)},
    };
    QFrame panel;
    panel.resize(320, 240);
    TMediaPlayer player;
    player.setDisplay(&panel);
    TMediaPlayer withoutDisplay;
    int n = 0;
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString clip = c.turnInPictures ? turnedInPictures : c.widePixels ? wide : square;
        if (c.rotation != 0 || c.mirror || c.shapeInPicturesOnly) {
            std::vector<int32_t> matrix;
            if (c.rotation != 0 || c.mirror) {
                matrix.resize(9);
                av_display_rotation_set(matrix.data(), c.rotation);
                av_display_matrix_flip(matrix.data(), c.mirror, 0);
            }
            const QString remuxed = dir.filePath(QStringLiteral("remuxed-%1.mp4").arg(n++));
            ASSERT_TRUE(remuxToMp4(clip, remuxed, matrix, !c.shapeInPicturesOnly));
            clip = remuxed;
        }
        player.setFileName(clip);
        player.Open();
        player.setPosition(0);
        const QImage shown = PlayerInspection::displayedPicture(player);
        ASSERT_EQ(shown.size(), c.shown);
        const QImage reference = ffmpegShownFrame(clip, c.shown);
        ASSERT_FALSE(reference.isNull());
        EXPECT_LE(largestDifference(shown, reference), 16);

        // Centred in the panel on black bars.
        const QImage grabbed = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect place(QPoint((320 - c.shown.width()) / 2, (240 - c.shown.height()) / 2), c.shown);
        EXPECT_LE(largestDifference(grabbed.copy(place.adjusted(1, 1, -1, -1)),
                                    shown.copy(QRect(QPoint(1, 1), c.shown).adjusted(0, 0, -2, -2))),
                  24);
        for (const QRect& bar : {QRect(0, 0, place.left() - 1, 240), QRect(place.right() + 2, 0, 320, 240),
                                 QRect(0, 0, 320, place.top() - 1), QRect(0, place.bottom() + 2, 320, 240)})
            for (int y = std::max(0, bar.top()); y <= std::min(239, bar.bottom()); ++y)
                for (int x = std::max(0, bar.left()); x <= std::min(319, bar.right()); ++x)
                    ASSERT_EQ(grabbed.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
        if (!c.own.isEmpty()) {
            withoutDisplay.setFileName(clip);
            withoutDisplay.Open();
            EXPECT_EQ(withoutDisplay.DisplayRect(), QRect(QPoint(0, 0), c.own));
        }
    }
}
