#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TParachuteAdamsRecipe : public RecipeCard {
public:
    explicit TParachuteAdamsRecipe(QObject* owner = nullptr);
    ~TParachuteAdamsRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TParachuteAdamsRecipe* ParachuteAdamsRecipe;

} // namespace hw
