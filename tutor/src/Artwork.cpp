#include "Artwork.h"

#include "hw/assets/Assets.h"

#include <QHash>
#include <QImage>

namespace hw {
namespace {

struct ArtInfo {
    const char* resource; // file name under :/artwork/
    int width;
    int height;
    const char* label; // what the picture says, for assistive tools
};

ArtInfo info(Art art)
{
    switch (art) {
    case Art::MainMenu:
        return {"MainMenu.bmp", 632, 453, "Hacklewright"};
    case Art::PatternsMenu:
        return {"PatternsMenu.bmp", 632, 453, "Hacklewright patterns"};
    case Art::QuickTourLogo:
        return {"QuickTourLogo.bmp", 120, 80, "Quick Tour"};
    case Art::TechniquesLogo:
        return {"TechniquesLogo.bmp", 120, 80, "Techniques"};
    case Art::QuickTourUp:
        return {"QuickTourUp.bmp", 120, 42, "Quick Tour"};
    case Art::QuickTourDown:
        return {"QuickTourDown.bmp", 120, 42, "Quick Tour"};
    case Art::TechniquesUp:
        return {"TechniquesUp.bmp", 120, 42, "Techniques"};
    case Art::TechniquesDown:
        return {"TechniquesDown.bmp", 120, 42, "Techniques"};
    case Art::PatternsUp:
        return {"PatternsUp.bmp", 120, 42, "Patterns"};
    case Art::PatternsDown:
        return {"PatternsDown.bmp", 120, 42, "Patterns"};
    case Art::GoinFishin:
        return {"GoinFishin.bmp", 120, 42, "Goin' Fishin'"};
    case Art::Play:
        return {"Play.bmp", 50, 33, "Play"};
    case Art::Stop:
        return {"Stop.bmp", 50, 33, "Stop"};
    case Art::Rewind:
        return {"Rewind.bmp", 50, 33, "Rewind"};
    case Art::Previous:
        return {"Previous.bmp", 50, 33, "Previous"};
    case Art::Next:
        return {"Next.bmp", 50, 33, "Next"};
    case Art::StepBack:
        return {"StepBack.bmp", 50, 33, "Step back"};
    case Art::StepForward:
        return {"StepForward.bmp", 50, 33, "Step forward"};
    case Art::PrintRecipe:
        return {"PrintRecipe.bmp", 120, 33, "Print Recipe"};
    }
    return {"", 1, 1, ""};
}

void initAssetsOnce()
{
    static const bool done = [] {
        hw::initAssets();
        return true;
    }();
    (void)done;
}

} // namespace

LabelledPicture loadArtwork(Art art)
{
    // Loaded once: every control and the image store share the same pictures.
    static QHash<int, LabelledPicture> loaded;
    if (const auto it = loaded.constFind(static_cast<int>(art)); it != loaded.cend())
        return *it;
    initAssetsOnce();
    const ArtInfo i = info(art);
    QImage image(QStringLiteral(":/artwork/") + QLatin1String(i.resource));
    // The artwork is embedded in the program, so a wrong picture is a build fault.
    Q_ASSERT(!image.isNull() && image.size() == QSize(i.width, i.height));
    const LabelledPicture picture{image, QString::fromLatin1(i.label)};
    loaded.insert(static_cast<int>(art), picture);
    return picture;
}

} // namespace hw
