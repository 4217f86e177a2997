#pragma once
// The window's artwork: backgrounds, logos and button faces, read from the bitmaps
// embedded in the program.
#include "hw/tutor/LabelledPicture.h"

namespace hw {

enum class Art {
    MainMenu,
    PatternsMenu,
    QuickTourLogo,
    TechniquesLogo,
    QuickTourUp,
    QuickTourDown,
    TechniquesUp,
    TechniquesDown,
    PatternsUp,
    PatternsDown,
    GoinFishin,
    Play,
    Stop,
    Rewind,
    Previous,
    Next,
    StepBack,
    StepForward,
    PrintRecipe
};

LabelledPicture loadArtwork(Art art);

} // namespace hw
