#include "hw/recipes/BHHopperRecipe.h"

#include "CardLayout.h"

namespace hw {

TBulletHeadHopperRecipe* BulletHeadHopperRecipe = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    d.title = QStringLiteral("Bullet Head Hopper");
    d.titleLeft = 48;
    d.titleWidth = 193;
    d.picture = QRect(64, 176, 153, 137);
    d.pictureResource = QStringLiteral(":/recipes/BulletHeadHopper.bmp");
    d.labelColumnWidth = 96;
    d.labelColumnHeight = 121;
    d.valueColumnLeft = 424;
    d.valueColumnWidth = 319;
    d.valueColumnHeight = 121;
    d.instructionsTop = 360;
    d.instructionsHeight = 519;
    d.materialLabels = {
        QStringLiteral("Hook: "),          QStringLiteral("Thread: "), QStringLiteral("Underbody: "),
        QStringLiteral("Extended Body: "), QStringLiteral("Legs: "),   QStringLiteral("Wing: "),
        QStringLiteral("Head: "),
    };
    d.materialValues = {
        QStringLiteral("2x or 3x long, heavy wire, size 8-12"),
        QStringLiteral("Olive, Brown, or Black, 6/0 or 8/0"),
        QStringLiteral("Poly Knitting Yarn, Light Yellow or Cream"),
        QStringLiteral("Same as Underbody"),
        QStringLiteral("Knotted Pheasant Tail Fibers or Knotted Hackle Stems"),
        QStringLiteral("Turkey Quill Section"),
        QStringLiteral("Deer Body Hair, Hopper Green or Olive"),
    };
    d.steps = {
        QStringLiteral("Secure the hook in the vise and start the thread just behind the eye. Lay a smooth "
                       "thread base back to the "
                       "bend and return the thread to the middle of the shank."),
        QStringLiteral("For the extended body, twist a two-inch strand of poly yarn until it kinks, then "
                       "fold it in half and let the "
                       "two halves wind around each other into a firm, segmented rope."),
        QStringLiteral("Tie the rope on top of the shank at the bend so that about half a shank length "
                       "extends past the bend. "
                       "Bind the butt ends along the shank and trim them at the middle of the shank."),
        QStringLiteral("Tie in a second strand of yarn and wrap it back to the bend and forward again to "
                       "build a smooth, slightly "
                       "tapered underbody. Tie it off and trim it a quarter of the shank behind the eye."),
        QStringLiteral("Tie in a cemented turkey quill section flat over the body at the front of the "
                       "underbody so that it "
                       "reaches the end of the extended body."),
        QStringLiteral("Tie an overhand knot in each of two small bunches of pheasant tail fibers (or in two "
                       "hackle stems) to form "
                       "the hinged back legs, and trim the tips below the knots to length."),
        QStringLiteral(
            "Tie in one leg on each side of the body, with the knots just past the bend and the feet at the "
            "body's end."),
        QStringLiteral("Move the thread to just behind the eye. Clean and stack a bunch of deer hair long "
                       "enough to reach "
                       "mid-body."),
        QStringLiteral(
            "Hold the hair with the tips pointing forward over the eye and tie it in around the shank with "
            "two soft "
            "wraps, then pull tight so that it spreads evenly around the hook. Trim the butts close."),
        QStringLiteral("Pull the hair back over the hook into a smooth bullet shape and bind it down a "
                       "quarter of the shank behind "
                       "the eye, leaving the tips as a collar over the wing and legs."),
        QStringLiteral("Whip finish over the collar wraps, trim the thread and soak the wraps with a drop of "
                       "head cement."),
    };
    d.emptyLineAfterLastStep = false;
    return d;
}

} // namespace

TBulletHeadHopperRecipe::TBulletHeadHopperRecipe(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Bullet Head Hopper"), owner)
{
    layOutCard(*Report1(), design());
}

TBulletHeadHopperRecipe::~TBulletHeadHopperRecipe()
{
    if (BulletHeadHopperRecipe == this)
        BulletHeadHopperRecipe = nullptr;
}

} // namespace hw
