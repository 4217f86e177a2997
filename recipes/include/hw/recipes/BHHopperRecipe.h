#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TBulletHeadHopperRecipe : public RecipeCard {
public:
    explicit TBulletHeadHopperRecipe(QObject* owner = nullptr);
    ~TBulletHeadHopperRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TBulletHeadHopperRecipe* BulletHeadHopperRecipe;

} // namespace hw
