#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TParachuteHopperRecipe : public RecipeCard {
public:
    explicit TParachuteHopperRecipe(QObject* owner = nullptr);
    ~TParachuteHopperRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TParachuteHopperRecipe* ParachuteHopperRecipe;

} // namespace hw
