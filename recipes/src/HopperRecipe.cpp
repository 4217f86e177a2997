#include "hw/recipes/HopperRecipe.h"

#include "CardLayout.h"

namespace hw {

TParachuteHopperRecipe* ParachuteHopperRecipe = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    d.title = QStringLiteral("Parachute Hopper");
    d.titleLeft = 64;
    d.titleWidth = 201;
    d.picture = QRect(56, 168, 209, 121);
    d.pictureResource = QStringLiteral(":/recipes/ParachuteHopper.bmp");
    d.labelColumnWidth = 117;
    d.labelColumnHeight = 177;
    d.valueColumnLeft = 448;
    d.valueColumnWidth = 209;
    d.valueColumnHeight = 177;
    d.instructionsTop = 360;
    d.instructionsHeight = 625;
    // Label row 6 is empty: value row 6 goes on from row 5.
    d.materialLabels = {
        QStringLiteral("Hook:"),
        QStringLiteral("Thread:"),
        QStringLiteral("Underbody:"),
        QStringLiteral("Abdomen:"),
        QStringLiteral("Alternate Abdomen:"),
        QString(),
        QStringLiteral("Post: "),
        QStringLiteral("Wing:"),
        QStringLiteral("Legs:"),
        QStringLiteral("Head:"),
        QStringLiteral("Hackle:"),
    };
    d.materialValues = {
        QStringLiteral("2X or 3X  long, heavy wire, size 8-12"),
        QStringLiteral("Olive, Tan, or Yellow, 6/0 or 8/0"),
        QStringLiteral("White or Cream Antron Yarn"),
        QStringLiteral("Green/Yellow Dubbing Blend"),
        QStringLiteral("Yellow Flexibody, 3mm wide"),
        QStringLiteral("highlighted with a black marker"),
        QStringLiteral("White Antron Yarn or White Poly"),
        QStringLiteral("Turkey Quill Section"),
        QStringLiteral("Knotted Hackle Stems"),
        QStringLiteral("Green/Yellow Dubbing Blend"),
        QStringLiteral("Grizzly Hackle"),
    };
    d.steps = {
        QStringLiteral("Start the thread behind the eye and lay a thread base to the bend. Tie in a strand "
                       "of Antron yarn at the "
                       "bend."),
        QStringLiteral("Wrap the yarn forward and back to build a smooth, tapered underbody over the rear "
                       "two thirds of the "
                       "shank. Tie it off and trim the excess."),
        QStringLiteral("Dub a full abdomen of the green and yellow blend over the underbody. For the "
                       "alternate abdomen, tie in a "
                       "strip of Flexibody at the bend, wrap it forward in overlapping turns and mark the "
                       "segments with a "
                       "black marker."),
        QStringLiteral("Tie in a length of white Antron or poly on top of the shank at the front of the "
                       "abdomen for the post. "
                       "Stand it upright and wrap the thread around its base to stiffen it."),
        QStringLiteral("Tie in a cemented, round-tipped turkey quill section flat over the abdomen, reaching "
                       "just past the "
                       "bend."),
        QStringLiteral(
            "Tie a knotted hackle stem on each side of the body for the hind legs, the knots level with the "
            "wing's end."),
        QStringLiteral(
            "Tie in a grizzly hackle at the base of the post with its stem lying up along the post."),
        QStringLiteral("Dub the head with the green and yellow blend behind and around the post, ending with "
                       "the thread just in "
                       "front of the post."),
        QStringLiteral("Wind the hackle down the post in four or five touching turns, tie it off just in "
                       "front of the post and "
                       "trim the tip. Dub a small head of the blend up to the eye."),
        QStringLiteral("Whip finish behind the eye, trim the post to the length of the hackle fibers and "
                       "cement the thread "
                       "wraps."),
    };
    d.emptyLineAfterLastStep = false;
    return d;
}

} // namespace

TParachuteHopperRecipe::TParachuteHopperRecipe(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Parachute Hopper"), owner)
{
    layOutCard(*Report1(), design());
}

TParachuteHopperRecipe::~TParachuteHopperRecipe()
{
    if (ParachuteHopperRecipe == this)
        ParachuteHopperRecipe = nullptr;
}

} // namespace hw
