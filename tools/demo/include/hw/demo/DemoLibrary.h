#pragma once
// The demo lesson library: a complete content tree (patterns, Quick Tour, Techniques and the
// splash video) drawn and encoded by the program itself, for new users and for tests.
#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

#include <cstdint>

namespace hw::demo {

// What a pattern's step does with one of its materials.
enum class Handling : uint8_t {
    TieIn, // tied in or tied on
    Wind,  // wound, wrapped, palmered, folded or pulled over: it was tied in before
    Dub,   // twisted onto the thread and wound: it needs the thread alone
    Place, // slid onto the hook, as a bead is
};

struct MaterialUse {
    QByteArray material; // the key of the materials line
    Handling handling;
};

struct PlannedTopic {
    QByteArray title;
    int32_t startFrame = 0;
    int32_t stopFrame = 0;
    int32_t offset = 0; // the left-handed twin starts this many frames later; 0 when there is none
    // Patterns only: what the step does with which material, in the order it does it, and the
    // Techniques topic its narration points to (empty for none).
    QList<MaterialUse> materials;
    QByteArray technique;
};

// One INI file with its video (and, for a pattern, its picture). Paths are relative to the
// library's root and use '/'; their letter case is the one written to disc.
struct PlannedLesson {
    QString iniPath;
    QString videoPath;
    QString picturePath;            // patterns only
    QByteArray displayName;         // patterns only
    QList<QByteArray> materials;    // the lines the catalogue will show, in order
    QList<QByteArray> materialKeys; // patterns only: the key of each of those lines
    bool recipeCard = false;        // patterns only: Print Recipe has a card for it
    QList<PlannedTopic> topics;
    int frameCount = 0;
};

struct DemoPlan {
    QList<PlannedLesson> patterns; // in the order they are written
    PlannedLesson quickTour;
    PlannedLesson techniques;
    QString splashPath;
    int splashFrames = 0;
    QSize frameSize{320, 240};
    int framesPerSecond = 15;
};

// What makeDemoLibrary writes; the same on every run.
const DemoPlan& demoPlan();

struct DemoReport {
    int files = 0;
    int videos = 0;
    long long frames = 0;
    long long milliseconds = 0;
    int threads = 0;
};

// Writes the whole tree into dir, which must be absent or empty (so that no stale file of
// another letter case can mix in). threads <= 0 uses every core. Returns false with *error
// set on the first failure.
bool makeDemoLibrary(const QString& dir, DemoReport* report, QString* error, int threads = 0);

} // namespace hw::demo
