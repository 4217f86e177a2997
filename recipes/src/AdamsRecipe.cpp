#include "hw/recipes/AdamsRecipe.h"

#include "CardLayout.h"

namespace hw {

TParachuteAdamsRecipe* ParachuteAdamsRecipe = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    d.title = QStringLiteral("Parachute Adams");
    d.titleLeft = 64;
    d.titleWidth = 193;
    d.picture = QRect(56, 168, 209, 137);
    d.pictureResource = QStringLiteral(":/recipes/ParachuteAdams.bmp");
    d.labelColumnWidth = 159;
    d.labelColumnHeight = 121;
    d.valueColumnLeft = 488;
    d.valueColumnWidth = 240;
    d.valueColumnHeight = 121;
    d.instructionsTop = 360;
    d.instructionsHeight = 580;
    d.materialLabels = {
        QStringLiteral("Hook: "),
        QStringLiteral("Thread: "),
        QStringLiteral("Tail: "),
        QStringLiteral("Wing Post: "),
        QStringLiteral("Abdomen, Thorax & Head: "),
        QStringLiteral("Hackle:"),
    };
    // The seventh value line is empty.
    d.materialValues = {
        QStringLiteral("Dry Fly Hook, 1X or 2X  long, size 14-16"),
        QStringLiteral("Gray, 6/0 or 8/0"),
        QStringLiteral("Grizzly Hackle Fibers"),
        QStringLiteral("Dyed Orange Calf Body"),
        QStringLiteral("Gray Dubbing"),
        QStringLiteral("Grizzly Hackle, Wound on the Wing Post"),
        QString(),
    };
    d.steps = {
        QStringLiteral("Start the thread a third of the shank behind the eye and wrap a thread base to the "
                       "bend and back "
                       "again."),
        QStringLiteral("Clean and stack a small bunch of orange calf body hair and tie it in on top of the "
                       "shank with the tips "
                       "pointing forward, as long as the shank. Trim the butts at a taper toward the bend."),
        QStringLiteral("Stand the hair upright with a few wraps in front of it, then wrap the thread around "
                       "the base of the "
                       "post to gather it into a firm, single post that will carry the hackle."),
        QStringLiteral("At the bend, tie in a bunch of grizzly hackle fibers about as long as the shank for "
                       "the tail, and "
                       "bind the butts along the shank up to the post so that the body stays smooth."),
        QStringLiteral(
            "Strip the fluff from the base of a grizzly hackle sized to the hook. Tie it in at the base of "
            "the post "
            "with the bare stem bound up along the post and the shiny, outer side of the feather facing up."),
        QStringLiteral("Dub a slim, tapered abdomen of gray dubbing from the tail forward to the post."),
        QStringLiteral("Dub the thorax behind and around the base of the post, ending with the thread just "
                       "in front of the "
                       "post."),
        QStringLiteral("Wind the hackle around the post, each turn below the one before, for four or five "
                       "turns. Tie it off just "
                       "in front of the post, trim the tip and dub a small head."),
        QStringLiteral(
            "Whip finish behind the eye, trim the thread and put a drop of cement on the base of the post."),
    };
    d.emptyLineAfterLastStep = true;
    return d;
}

} // namespace

TParachuteAdamsRecipe::TParachuteAdamsRecipe(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Parachute Adams"), owner)
{
    layOutCard(*Report1(), design());
}

TParachuteAdamsRecipe::~TParachuteAdamsRecipe()
{
    if (ParachuteAdamsRecipe == this)
        ParachuteAdamsRecipe = nullptr;
}

} // namespace hw
