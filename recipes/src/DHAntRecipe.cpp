#include "hw/recipes/DHAntRecipe.h"

#include "CardLayout.h"

namespace hw {

TDeerHairAntRecipe* DeerHairAntRecipe = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    d.title = QStringLiteral("Deer Hair Ant");
    d.titleLeft = 80;
    d.titleWidth = 193;
    d.picture = QRect(104, 168, 151, 130);
    d.pictureResource = QStringLiteral(":/recipes/DeerHairAnt.bmp");
    d.labelColumnWidth = 70;
    d.labelColumnHeight = 121;
    d.valueColumnLeft = 400;
    d.valueColumnWidth = 355;
    d.valueColumnHeight = 137;
    // On this card the instructions start lower than on the others, below the two remark
    // rows; their heading stays where it is on every card.
    d.instructionsTop = 408;
    d.instructionsHeight = 580;
    // Label rows 4 and 6 are empty: value rows 4 and 6 are remarks on rows 3 and 5.
    d.materialLabels = {
        QStringLiteral("Hook: "),       QStringLiteral("Thread: "),
        QStringLiteral("Body:"),        QString(),
        QStringLiteral("Sight Post: "), QString(),
    };
    d.materialValues = {
        QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 8-20"),
        QStringLiteral("Black, 8/0"),
        QStringLiteral("Dyed black deer body hair"),
        QStringLiteral("(brown [cinnamon], Red, or Orange are also effective)"),
        QStringLiteral("White Poly, 1 strand of 3 ply"),
        QStringLiteral("(bright orange, chartreuse, or yellow may also be substituted)"),
        QString(),
        QString(),
    };
    d.steps = {
        QStringLiteral("Place the hook in the vise and lay a thread base from the eye to the bend. Return "
                       "the thread to the "
                       "middle of the shank."),
        QStringLiteral("Cut a bunch of dyed deer body hair sized to the hook and even the tips in a stacker. "
                       "Trim the butts so that "
                       "the bunch is about twice as long as the shank."),
        QStringLiteral("Tie the bunch in by its butts at the middle of the shank with the tips pointing back "
                       "over the bend, and "
                       "bind it down along the top of the shank to the bend."),
        QStringLiteral("Bring the thread back to the middle of the shank. Fold the hair forward over the top "
                       "of the hook into a "
                       "round rear hump and tie it down tightly at the middle."),
        QStringLiteral(
            "Pull three hairs out to each side and lock them at an angle with figure-eight wraps to form the "
            "legs. Trim them to about the length of the shank."),
        QStringLiteral(
            "Tie in a strand of white poly in front of the legs and stand it upright with a few wraps as the "
            "sight post."),
        QStringLiteral(
            "Take the thread forward to just behind the eye in a few open turns over the bare shank."),
        QStringLiteral(
            "Pull the rest of the hair forward over the front half of the shank, parting it around the sight "
            "post, to form a smaller front hump. Tie it down tightly behind the eye."),
        QStringLiteral("Trim the hair over the eye, leaving a short stub for the head."),
        QStringLiteral("Whip finish behind the eye, trim the sight post to a quarter inch and cement the "
                       "waist and head wraps."),
    };
    d.emptyLineAfterLastStep = false;
    return d;
}

} // namespace

TDeerHairAntRecipe::TDeerHairAntRecipe(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Deer Hair Ant"), owner)
{
    layOutCard(*Report1(), design());
}

TDeerHairAntRecipe::~TDeerHairAntRecipe()
{
    if (DeerHairAntRecipe == this)
        DeerHairAntRecipe = nullptr;
}

} // namespace hw
