#include "hw/recipes/DHCricketRecipe.h"

#include "CardLayout.h"

namespace hw {

TDeerHairCricketRecipe* DeerHairCricketRecipe = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    d.title = QStringLiteral("Deer Hair Cricket");
    d.titleLeft = 48;
    d.titleWidth = 193;
    d.picture = QRect(72, 168, 137, 137);
    d.pictureResource = QStringLiteral(":/recipes/DeerHairCricket.bmp");
    d.labelColumnWidth = 96;
    d.labelColumnHeight = 121;
    d.valueColumnLeft = 424;
    d.valueColumnWidth = 225;
    d.valueColumnHeight = 121;
    d.instructionsTop = 360;
    d.instructionsHeight = 580;
    d.materialLabels = {
        QStringLiteral("Hook: "), QStringLiteral("Thread: "), QStringLiteral("Extended Body: "),
        QStringLiteral("Legs: "), QStringLiteral("Wing: "),   QStringLiteral("Body Dubbing: "),
        QStringLiteral("Head: "),
    };
    d.materialValues = {
        QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 8-16"),
        QStringLiteral("Black, 6/0 or 8/0"),
        QStringLiteral("2, 3, or 4 ply of Black Poly"),
        QStringLiteral("Spade Hackle Fibers"),
        QStringLiteral("Crow or Dyed Black Goose Quill"),
        QStringLiteral("Black Synthetic Dubbing"),
        QStringLiteral("Deer Body Hair, Black"),
    };
    d.steps = {
        QStringLiteral(
            "Place the hook in the vise and lay a thread base from the eye to the bend. Return the thread to "
            "mid-shank."),
        QStringLiteral("Twist two, three or four plies of black poly into a tight rope, fold it in half and "
                       "let it wind around "
                       "itself to make a segmented extended body."),
        QStringLiteral("Tie the extended body on top of the shank at the bend so that it reaches half a "
                       "shank length past the "
                       "bend. Bind down the butts and trim them at the middle of the shank."),
        QStringLiteral("Dub the rear two thirds of the shank with black synthetic dubbing, building a plump, "
                       "slightly tapered "
                       "body that hides the tie-in wraps of the extended body."),
        QStringLiteral("Coat a crow or dyed black goose quill section with flexible cement, round its tip "
                       "and tie it in flat "
                       "over the body so that it reaches the end of the extended body."),
        QStringLiteral("Tie in a few spade hackle fibers on each side of the body for legs, angled back and "
                       "down along the "
                       "sides."),
        QStringLiteral("Clean and stack a pencil-thick bunch of black deer body hair. Hold it at the front "
                       "of the body with the tips "
                       "pointing back, take two loose wraps and pull tight so that the hair spins around the "
                       "shank. Add a second bunch in front of it "
                       "if the shank is not yet full."),
        QStringLiteral(
            "Pack the hair back firmly, whip finish just behind the eye and take the fly out of the vise."),
        QStringLiteral("Trim the hair flat underneath and into a square, blocky head on the top and sides, "
                       "leaving a few "
                       "untrimmed tips at the back as a collar over the wing."),
    };
    d.emptyLineAfterLastStep = true;
    return d;
}

} // namespace

TDeerHairCricketRecipe::TDeerHairCricketRecipe(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Deer Hair Cricket"), owner)
{
    layOutCard(*Report1(), design());
}

TDeerHairCricketRecipe::~TDeerHairCricketRecipe()
{
    if (DeerHairCricketRecipe == this)
        DeerHairCricketRecipe = nullptr;
}

} // namespace hw
