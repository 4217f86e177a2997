#pragma once
// What the demo library teaches: the patterns with their steps and materials, the
// techniques and the Quick Tour topics, each with what the tyer says while it plays. Pure
// data; demoPlan() turns it into frame ranges.
#include "hw/artwork/FlyDrawing.h"

#include <vector>

namespace hw::demo {

// A step that ties no new part: the fly is finished off with the whip-finish tool.
inline constexpr int kWhipFinish = -1;

struct StepSpec {
    const char* title;
    int part;              // a FlyPart, or kWhipFinish
    const char* narration; // spoken while the step plays, in either hand
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
    std::vector<StepSpec> steps;
    std::vector<MaterialSpec> materials;
};

struct TechniqueSpec {
    const char* title;
    FlyKind kind;
    FlyParts done; // parts already on the hook when the clip starts
    int part;      // the part being tied, or kWhipFinish
    const char* narration;
};

enum class TourScene { Welcome, Sections, TopicsAndVideo, Transport, Gallery, Handedness, Recipes };

struct TourSpec {
    const char* title;
    TourScene scene;
    const char* caption;
    const char* narration;
};

const std::vector<PatternSpec>& patternSpecs();
const std::vector<TechniqueSpec>& techniqueSpecs();
const std::vector<TourSpec>& tourSpecs();

} // namespace hw::demo
