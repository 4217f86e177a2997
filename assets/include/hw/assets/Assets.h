#pragma once
// The pictures built into the program: window artwork, button faces and the recipe-card
// pictures, as Qt resources. Call initAssets() once before the first use (the resources
// live in a static library and register only when asked to).
namespace hw {

void initAssets();

namespace assets {

// Backgrounds, 632 x 453.
inline constexpr char MainMenu[] = ":/artwork/MainMenu.bmp";
inline constexpr char PatternsMenu[] = ":/artwork/PatternsMenu.bmp";
// Section logos, 120 x 80.
inline constexpr char QuickTourLogo[] = ":/artwork/QuickTourLogo.bmp";
inline constexpr char TechniquesLogo[] = ":/artwork/TechniquesLogo.bmp";
// Section and exit faces, 120 x 42.
inline constexpr char QuickTourUp[] = ":/artwork/QuickTourUp.bmp";
inline constexpr char QuickTourDown[] = ":/artwork/QuickTourDown.bmp";
inline constexpr char TechniquesUp[] = ":/artwork/TechniquesUp.bmp";
inline constexpr char TechniquesDown[] = ":/artwork/TechniquesDown.bmp";
inline constexpr char PatternsUp[] = ":/artwork/PatternsUp.bmp";
inline constexpr char PatternsDown[] = ":/artwork/PatternsDown.bmp";
inline constexpr char GoinFishin[] = ":/artwork/GoinFishin.bmp";
// Transport faces, 50 x 33.
inline constexpr char Play[] = ":/artwork/Play.bmp";
inline constexpr char Stop[] = ":/artwork/Stop.bmp";
inline constexpr char Rewind[] = ":/artwork/Rewind.bmp";
inline constexpr char Previous[] = ":/artwork/Previous.bmp";
inline constexpr char Next[] = ":/artwork/Next.bmp";
inline constexpr char StepBack[] = ":/artwork/StepBack.bmp";
inline constexpr char StepForward[] = ":/artwork/StepForward.bmp";
// Print Recipe face, 120 x 33.
inline constexpr char PrintRecipe[] = ":/artwork/PrintRecipe.bmp";
// Recipe-card pictures, 300 pixels per inch.
inline constexpr char BulletHeadHopperCard[] = ":/recipes/BulletHeadHopper.bmp";     // 301 x 225
inline constexpr char DeerHairCricketCard[] = ":/recipes/DeerHairCricket.bmp";       // 300 x 300
inline constexpr char ParachuteAdamsCard[] = ":/recipes/ParachuteAdams.bmp";         // 295 x 196
inline constexpr char HaresEarNymphCard[] = ":/recipes/GoldRibbedHaresEarNymph.bmp"; // 266 x 80
inline constexpr char ParachuteHopperCard[] = ":/recipes/ParachuteHopper.bmp";       // 388 x 201
inline constexpr char DeerHairAntCard[] = ":/recipes/DeerHairAnt.bmp";               // 201 x 154

} // namespace assets
} // namespace hw
