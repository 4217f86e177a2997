#pragma once
#include "hw/recipes/TRecipeCard.h"

namespace hw {

class TParachuteAdamsRecipe : public TRecipeCard {
public:
    explicit TParachuteAdamsRecipe(QObject* owner = nullptr);
    ~TParachuteAdamsRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TParachuteAdamsRecipe* ParachuteAdamsRecipe;

} // namespace hw
