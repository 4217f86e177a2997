#include "hw/recipes/HENymph.h"

#include "CardLayout.h"

#include "hw/report/TReport.h"

namespace hw {

TGoldRibbedHaresEarNymph* GoldRibbedHaresEarNymph = nullptr;

namespace {

CardDesign design()
{
    CardDesign d;
    // The name is too long for one line: the title reads over two lines.
    d.title = QStringLiteral("Bead Head, Gold Ribbed");
    d.titleLeft = 64;
    d.titleWidth = 233;
    d.picture = QRect(56, 200, 209, 65);
    d.pictureResource = QStringLiteral(":/recipes/GoldRibbedHaresEarNymph.bmp");
    d.labelColumnWidth = 69;
    d.labelColumnHeight = 145;
    d.valueColumnLeft = 400;
    d.valueColumnWidth = 239;
    d.valueColumnHeight = 145;
    d.instructionsTop = 360;
    d.instructionsHeight = 580;
    d.materialLabels = {
        QStringLiteral("Hook:"),      QStringLiteral("Head:"), QStringLiteral("Thread:"),
        QStringLiteral("Tail:"),      QStringLiteral("Rib:"),  QStringLiteral("Abdomen: "),
        QStringLiteral("Wing Case:"), QStringLiteral("Legs:"), QStringLiteral("Thorax:"),
    };
    d.materialValues = {
        QStringLiteral("Nymph Hook, 2X or 3X  long, size 14-16"),
        QStringLiteral("Gold Bead"),
        QStringLiteral("Tan, 6/0 or 8/0"),
        QStringLiteral("Fox Squirrel Tail"),
        QStringLiteral("Gold & Silver Mylar Tinsel"),
        QStringLiteral("Hare's Ear Dubbing with lots of guard hair"),
        QStringLiteral("Mottled Turkey Quill"),
        QStringLiteral("Partridge Feather, Clipped in a \"V\""),
        QStringLiteral("Same as Abdomen"),
    };
    d.steps = {
        QStringLiteral("Slide the gold bead onto the hook, small hole first, and push it up against the eye. "
                       "Place the hook in "
                       "the vise."),
        QStringLiteral("Start the thread behind the bead, make a few turns to lock the bead and lay a thread "
                       "base to the "
                       "bend."),
        QStringLiteral("Tie in a small bunch of fox squirrel tail hair at the bend for the tail, about half "
                       "as long as the shank."),
        QStringLiteral(
            "Tie in a length of gold and silver Mylar tinsel at the base of the tail for the rib."),
        QStringLiteral("Dub a tapered abdomen of hare's ear over the rear two thirds of the shank, keeping "
                       "plenty of guard hair "
                       "in the dubbing."),
        QStringLiteral("Spiral the tinsel forward over the abdomen in four or five evenly spaced turns. Tie "
                       "it off and trim the "
                       "end."),
        QStringLiteral("Tie in a mottled turkey quill section, shiny side down, at the front of the abdomen "
                       "for the wing "
                       "case."),
        QStringLiteral(
            "Dub a thorax of the same hare's ear, fuller than the abdomen, stopping just short of the bead."),
        QStringLiteral(
            "Clip a \"V\" out of the tip of a partridge feather and lay it flat over the thorax with the two "
            "sides of "
            "the V pointing back along the body as legs. Tie it down behind the bead and trim the stem."),
        QStringLiteral("Pull the turkey quill forward over the thorax and legs and tie it down tightly "
                       "behind the bead. Trim the "
                       "excess."),
        QStringLiteral("Whip finish behind the bead, trim the thread and pick out the guard hairs of the "
                       "thorax with a dubbing "
                       "needle."),
    };
    d.emptyLineAfterLastStep = false;
    return d;
}

} // namespace

TGoldRibbedHaresEarNymph::TGoldRibbedHaresEarNymph(QObject* owner)
    : RecipeCard(QByteArrayLiteral("Gold Ribbed Hare's Ear Nymph"), owner)
{
    layOutCard(*Report1(), design());
    Report1()->beginLayoutLoad();
    addTitleLine(*Report1(), QStringLiteral("ReportLabel9"), QStringLiteral("Hare's Ear Nymph"), 64, 160,
                 233);
    Report1()->endLayoutLoad();
}

TGoldRibbedHaresEarNymph::~TGoldRibbedHaresEarNymph()
{
    if (GoldRibbedHaresEarNymph == this)
        GoldRibbedHaresEarNymph = nullptr;
}

} // namespace hw
