#include "hw/recipes/Recipes.h"

#include "hw/content/Catalogue.h"
#include "hw/recipes/AdamsRecipe.h"
#include "hw/recipes/BHHopperRecipe.h"
#include "hw/recipes/DHAntRecipe.h"
#include "hw/recipes/DHCricketRecipe.h"
#include "hw/recipes/HENymph.h"
#include "hw/recipes/HopperRecipe.h"

#include <QPointer>

namespace hw {

void createRecipeCards(QObject* owner)
{
    BulletHeadHopperRecipe = new TBulletHeadHopperRecipe(owner);
    DeerHairCricketRecipe = new TDeerHairCricketRecipe(owner);
    ParachuteAdamsRecipe = new TParachuteAdamsRecipe(owner);
    GoldRibbedHaresEarNymph = new TGoldRibbedHaresEarNymph(owner);
    ParachuteHopperRecipe = new TParachuteHopperRecipe(owner);
    DeerHairAntRecipe = new TDeerHairAntRecipe(owner);
}

std::array<RecipeCard*, kRecipeCardCount> recipeCards()
{
    return {BulletHeadHopperRecipe,  DeerHairCricketRecipe, ParachuteAdamsRecipe,
            GoldRibbedHaresEarNymph, ParachuteHopperRecipe, DeerHairAntRecipe};
}

RecipeCard* findRecipeCard(const QByteArray& displayName)
{
    for (RecipeCard* card : recipeCards()) {
        if (card && card->displayName() == displayName)
            return card;
    }
    return nullptr;
}

void printRecipe(const tFlyRecord* currentFly)
{
    if (!currentFly)
        return;
    // The six comparisons are independent: each equal name previews its card. The name is
    // copied and the cards are re-read after each preview, because the preview runs other
    // events that may change the current fly or end the program.
    const QByteArray name = currentFly->displayName;
    for (int i = 0; i < kRecipeCardCount; ++i) {
        QPointer<RecipeCard> card = recipeCards()[static_cast<size_t>(i)];
        if (card && card->displayName() == name)
            card->PreviewRecipe();
    }
}

} // namespace hw
