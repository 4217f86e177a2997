#pragma once
// What the demo library teaches: the patterns with their steps and materials, the
// techniques and the Quick Tour topics, each with what the tyer says while it plays. Pure
// data; demoPlan() turns it into frame ranges.
#include "hw/artwork/FlyDrawing.h"
#include "hw/demo/DemoLibrary.h"

#include <vector>

namespace hw::demo {

// Steps that add no part of their own to the drawing: the fly finished off with the
// whip-finish tool or with a half hitch, or materials only tied in, to be wound later.
inline constexpr int kWhipFinish = -1;
inline constexpr int kHalfHitch = -2;
inline constexpr int kTieInOnly = -3;

struct StepUse {
    const char* material; // the key of one of the pattern's materials
    Handling handling;
};

struct StepSpec {
    const char* title;
    int part;              // a FlyPart, or one of the constants above
    const char* says;      // what the tyer does, spoken while the step plays in either hand
    const char* technique; // the Techniques topic that teaches the move, or nullptr
    const char* watchFor;  // the one mistake a beginner makes here, said last after "Watch for"
    std::vector<StepUse> materials;
};

struct MaterialSpec {
    const char* key;
    const char* value;
};

// How a pattern file spells its section and key names: both occur in real content, and the
// reader must take either.
enum class KeyCase { AsDocumented, Upper };

struct PatternSpec {
    FlyKind kind;
    const char* displayName;
    const char* iniName; // file names as written; their case differs on purpose
    const char* pictureName;
    const char* videoName;
    KeyCase keys;
    bool recipeCard; // one of the six patterns Print Recipe has a card for
    std::vector<StepSpec> steps;
    std::vector<MaterialSpec> materials;
};

struct TechniqueSpec {
    const char* title;
    FlyKind kind;
    FlyParts done;     // parts already on the hook when the clip starts
    FlyParts waiting;  // materials tied in and not yet wound when it starts
    int part;          // the part being tied, or one of the constants above
    FlyParts arriving; // materials tied in during the clip, to be wound later
    const char* narration;
};

enum class TourScene { Welcome, Sections, TopicsAndVideo, Transport, Gallery, Handedness, Recipes };

struct TourSpec {
    const char* title;
    TourScene scene;
    const char* caption;
    std::vector<const char*> narration; // lines said one after another
};

// The lines a step says, one after another: what to do, the technique it points to, for the
// first step of a pattern with a card that the card can be printed, and what to watch for.
std::vector<QString> narrationLines(const PatternSpec& pattern, int step);
std::vector<QString> narrationLines(const TechniqueSpec& technique);
std::vector<QString> narrationLines(const TourSpec& topic);

const std::vector<PatternSpec>& patternSpecs();
const std::vector<TechniqueSpec>& techniqueSpecs();
const std::vector<TourSpec>& tourSpecs();

} // namespace hw::demo
