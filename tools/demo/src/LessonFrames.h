#pragma once
// Frames of a tying demonstration: the fly in the vise, growing part by part while the
// bobbin wraps thread, with the step title, the hand and the frame number lettered on it.
#include "hw/artwork/FlyDrawing.h"

#include "DemoContent.h"

#include <QImage>
#include <QString>

#include <cstdint>

namespace hw::demo {

struct LessonStep {
    QString heading; // e.g. "3. Quill Wing"
    QString caption; // small text under the heading, e.g. "Parachute Adams"
    FlyLook look;
    FlyParts done;     // parts finished before the step
    FlyParts waiting;  // materials tied in and not yet wound, drawn where they hang
    FlyParts arriving; // of those, the ones this step ties in
    int part = -1;     // the part tied in this step, or kWhipFinish, kHalfHitch, kTieInOnly
    bool whipFinish = false;
    bool halfHitch = false;
    bool threadCut = false; // an earlier step whip-finished the fly: trimming off the vise
};

// Step `step` (from 0) of a pattern: the parts of the earlier steps are done.
LessonStep patternStep(const PatternSpec& design, int step);
// Technique `number` (from 0).
LessonStep techniqueStep(const TechniqueSpec& design, int number);

class LessonFrames {
public:
    LessonFrames(const LessonStep& step, bool leftHanded, const QSize& size);
    // Frame index of count within the step; frameNumber is its number in the video.
    QImage frame(int index, int count, int32_t frameNumber) const;

private:
    void paintStatic();
    LessonStep step_;
    int active_ = -1; // the part that changes from frame to frame
    bool leftHanded_;
    QRectF frame_;    // the part of the fly's drawing box shown
    QImage backdrop_; // everything that stays put and lies under the active part
    QImage overlay_;  // finished parts that lie over it, on a transparent ground
    static constexpr int kGrowthSteps = 24;
    mutable QImage fly_;         // the backdrop with the fly as it has grown so far
    mutable int flyGrowth_ = -1; // of kGrowthSteps, the growth fly_ shows
};

} // namespace hw::demo
