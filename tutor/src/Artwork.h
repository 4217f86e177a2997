#pragma once
// The window's artwork: backgrounds, logos and button faces, read from the embedded
// bitmaps. A bitmap that is missing or unreadable is replaced by a plain drawn stand-in
// of the same size, so that the window always has every face.
#include "hw/tutor/TPicture.h"

namespace hw {

enum class Art {
    MainMenu, PatternsMenu, QuickTourLogo, TechniquesLogo,
    QuickTourUp, QuickTourDown, TechniquesUp, TechniquesDown, PatternsUp, PatternsDown,
    GoinFishin, Play, Stop, Rewind, Previous, Next, StepBack, StepForward, PrintRecipe
};

TPicture loadArtwork(Art art);

} // namespace hw
