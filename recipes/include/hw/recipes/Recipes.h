#pragma once
// The six recipe cards and the choice of card behind Print Recipe.
#include <QByteArray>

#include <array>

class QObject;

namespace hw {

struct tFlyRecord;
class RecipeCard;

inline constexpr int kRecipeCardCount = 6;

// Creates the six cards, owned by `owner`, in the order Bullet Head Hopper, Deer Hair
// Cricket, Parachute Adams, Gold Ribbed Hare's Ear Nymph, Parachute Hopper, Deer Hair Ant,
// and points the program-wide references (BulletHeadHopperRecipe, ...) at them.
void createRecipeCards(QObject* owner);

// The current cards in that order; an entry is null while its card does not exist.
std::array<RecipeCard*, kRecipeCardCount> recipeCards();
// The card whose selecting name equals displayName exactly, or null.
RecipeCard* findRecipeCard(const QByteArray& displayName);

// Print Recipe: previews the card whose name equals the fly's displayName (exact bytes: no
// case folding, no trimming) and returns when that preview has closed. No fly, or a name
// that matches no card, does nothing.
void printRecipe(const tFlyRecord* currentFly);

} // namespace hw
