#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TDeerHairAntRecipe : public RecipeCard {
public:
    explicit TDeerHairAntRecipe(QObject* owner = nullptr);
    ~TDeerHairAntRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TDeerHairAntRecipe* DeerHairAntRecipe;

} // namespace hw
