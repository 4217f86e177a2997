#pragma once
#include "hw/recipes/RecipeCard.h"

namespace hw {

class TGoldRibbedHaresEarNymph : public RecipeCard {
public:
    explicit TGoldRibbedHaresEarNymph(QObject* owner = nullptr);
    ~TGoldRibbedHaresEarNymph() override;
};

// The program's one instance, set by createRecipeCards; null before and after its life.
extern TGoldRibbedHaresEarNymph* GoldRibbedHaresEarNymph;

} // namespace hw
