#pragma once
#include "hw/recipes/TRecipeCard.h"

namespace hw {

class TDeerHairAntRecipe : public TRecipeCard {
public:
    explicit TDeerHairAntRecipe(QObject* owner = nullptr);
    ~TDeerHairAntRecipe() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TDeerHairAntRecipe* DeerHairAntRecipe;

} // namespace hw
