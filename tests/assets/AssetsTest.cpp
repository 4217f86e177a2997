// The built-in pictures, as the tutor window and the recipe cards load them.
#include "BmpHeader.h"

#include "hw/assets/Assets.h"

#include <QFile>
#include <QImage>
#include <QSet>

#include <iterator>

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* path;
    int width;
    int height;
    bool card;
};

// The resource paths other modules load, with the sizes the window layout expects.
const Expected kPictures[] = {
    {":/artwork/MainMenu.bmp", 632, 453, false},
    {":/artwork/PatternsMenu.bmp", 632, 453, false},
    {":/artwork/QuickTourLogo.bmp", 120, 80, false},
    {":/artwork/TechniquesLogo.bmp", 120, 80, false},
    {":/artwork/QuickTourUp.bmp", 120, 42, false},
    {":/artwork/QuickTourDown.bmp", 120, 42, false},
    {":/artwork/TechniquesUp.bmp", 120, 42, false},
    {":/artwork/TechniquesDown.bmp", 120, 42, false},
    {":/artwork/PatternsUp.bmp", 120, 42, false},
    {":/artwork/PatternsDown.bmp", 120, 42, false},
    {":/artwork/GoinFishin.bmp", 120, 42, false},
    {":/artwork/Play.bmp", 50, 33, false},
    {":/artwork/Stop.bmp", 50, 33, false},
    {":/artwork/Rewind.bmp", 50, 33, false},
    {":/artwork/Previous.bmp", 50, 33, false},
    {":/artwork/Next.bmp", 50, 33, false},
    {":/artwork/StepBack.bmp", 50, 33, false},
    {":/artwork/StepForward.bmp", 50, 33, false},
    {":/artwork/PrintRecipe.bmp", 120, 33, false},
    {":/recipes/BulletHeadHopper.bmp", 301, 225, true},
    {":/recipes/DeerHairCricket.bmp", 300, 300, true},
    {":/recipes/ParachuteAdams.bmp", 295, 196, true},
    {":/recipes/GoldRibbedHaresEarNymph.bmp", 266, 80, true},
    {":/recipes/ParachuteHopper.bmp", 388, 201, true},
    {":/recipes/DeerHairAnt.bmp", 201, 154, true},
};

QByteArray readResource(const char* path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

TEST(Assets, EveryPictureHasItsSizeDepthAndResolution)
{
    hw::initAssets();
    hw::initAssets(); // a second call is harmless
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.path);
        const QByteArray bytes = readResource(e.path);
        ASSERT_FALSE(bytes.isEmpty());
        const hw::test::BmpHeader h = hw::test::readBmpHeader(bytes);
        EXPECT_TRUE(h.signature);
        EXPECT_EQ(h.width, e.width);
        EXPECT_EQ(h.height, e.height);
        EXPECT_EQ(h.bitsPerPixel, 24);
        EXPECT_EQ(h.compression, 0u);
        const int stride = (e.width * 3 + 3) & ~3;
        EXPECT_EQ(h.fileSize, quint32(54 + stride * e.height));
        EXPECT_EQ(qsizetype(h.fileSize), bytes.size());
        if (e.card) {
            EXPECT_EQ(h.xPixelsPerMetre, 11808);
            EXPECT_EQ(h.yPixelsPerMetre, 11808);
        }
        const QImage image(QString::fromLatin1(e.path));
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
    }
}

TEST(Assets, HeaderPathsNameTheResources)
{
    hw::initAssets();
    const char* const named[] = {
        hw::assets::MainMenu,
        hw::assets::PatternsMenu,
        hw::assets::QuickTourLogo,
        hw::assets::TechniquesLogo,
        hw::assets::QuickTourUp,
        hw::assets::QuickTourDown,
        hw::assets::TechniquesUp,
        hw::assets::TechniquesDown,
        hw::assets::PatternsUp,
        hw::assets::PatternsDown,
        hw::assets::GoinFishin,
        hw::assets::Play,
        hw::assets::Stop,
        hw::assets::Rewind,
        hw::assets::Previous,
        hw::assets::Next,
        hw::assets::StepBack,
        hw::assets::StepForward,
        hw::assets::PrintRecipe,
        hw::assets::BulletHeadHopperCard,
        hw::assets::DeerHairCricketCard,
        hw::assets::ParachuteAdamsCard,
        hw::assets::HaresEarNymphCard,
        hw::assets::ParachuteHopperCard,
        hw::assets::DeerHairAntCard,
    };
    ASSERT_EQ(std::size(named), std::size(kPictures));
    for (size_t i = 0; i < std::size(named); ++i)
        EXPECT_STREQ(named[i], kPictures[i].path);
}

// A picture that is one flat colour, or nearly, is a placeholder that slipped through.
TEST(Assets, PicturesAreDrawnNotBlank)
{
    hw::initAssets();
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.path);
        const QImage image = QImage(QString::fromLatin1(e.path)).convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                colours.insert(image.pixel(x, y));
        EXPECT_GT(colours.size(), 40);
    }
}
