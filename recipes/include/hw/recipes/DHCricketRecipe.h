#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TDeerHairCricketRecipe : public RecipeCard {
public:
    explicit TDeerHairCricketRecipe(QObject* owner = nullptr);
    ~TDeerHairCricketRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TDeerHairCricketRecipe* DeerHairCricketRecipe;

} // namespace hw
