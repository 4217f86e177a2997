#pragma once
// Content trees for the tutor tests, with stamped clips so that the frame on screen can be
// read back; the window is driven through TutorDriver.h.
#include "TutorDriver.h"

#include <QDir>

namespace hw::test {

// The trees are written once per build of the test binary and shared by its tests (each
// test case runs in its own process); they are never modified.
//
// "standard": QuickTour (3 topics, offset 0), Techniques (2 topics, offset 12), patterns
// Adams (3 steps, offset 45, a 60 x 40 two-colour picture), "Cr\xE8me Caddis" (2 steps,
// offset 40) and "Zulu Empty" (numsteps 0, materials only, no clip).
QDir standardTree();
// "range": the pattern "Range" with one step 100..200, offset 500, in a 700-frame clip;
// "Huge", whose frames lie at the ends of the 32-bit range.
QDir rangeTree();
// "empty": no QuickTour or Techniques file, one pattern with numsteps -1.
QDir emptyTree();
// "twins": two pattern files with the same display name and different pictures.
QDir twinsTree();

// "captions": QuickTour (3 topics of 10 frames at 25 a second) captioned by "quicktour.SRT",
// cues on frames 0..8 and 20..28; Techniques (48 frames) by "Techniques.vtt", cues on frames
// 0..9 and from 25 to beyond the clip's end; the pattern "Adams" with a damaged "Adams.srt".
QDir captionTree();

} // namespace hw::test
