// Frame ranges of the demo library. Each lesson video holds its steps right-handed, one
// after the other, then the same steps left-handed in the same order, so that every
// step's left-handed twin lies `offset` frames later in the same file.
#include "hw/demo/DemoLibrary.h"

#include "DemoContent.h"

namespace hw::demo {
namespace {

// Two to two and a half seconds a step at 15 frames per second, varied so that the ranges
// are not all alike. Short steps keep the whole library quick to make.
int stepLength(int lesson, int step) { return 30 + 3 * ((step * 7 + lesson * 3) % 3); }

constexpr int kTourTopicLength = 40;
constexpr int kSplashFrames = 60;

QList<PlannedTopic> twinnedTopics(int lesson, const QList<QByteArray>& titles, int* frameCount)
{
    QList<PlannedTopic> topics;
    int next = 0;
    for (int i = 0; i < titles.size(); ++i) {
        const int length = stepLength(lesson, i);
        topics.append({titles[i], next, next + length - 1, 0});
        next += length;
    }
    for (PlannedTopic& t : topics)
        t.offset = next;
    *frameCount = 2 * next;
    return topics;
}

QString flies(const char* name) { return QStringLiteral("Flies/") + QString::fromLatin1(name); }

DemoPlan makePlan()
{
    DemoPlan plan;
    int lesson = 0;
    for (const PatternSpec& design : patternSpecs()) {
        PlannedLesson p;
        p.iniPath = flies(design.iniName);
        p.picturePath = flies(design.pictureName);
        p.videoPath = flies(design.videoName);
        p.displayName = design.displayName;
        for (const MaterialSpec& m : design.materials)
            p.materials.append(m.value);
        QList<QByteArray> titles;
        for (const StepSpec& s : design.steps)
            titles.append(s.title);
        p.topics = twinnedTopics(lesson++, titles, &p.frameCount);
        plan.patterns.append(p);
    }

    plan.techniques.iniPath = QStringLiteral("Techniques/Techniques.ini");
    plan.techniques.videoPath = QStringLiteral("Techniques/Techniques.avi");
    QList<QByteArray> titles;
    for (const TechniqueSpec& t : techniqueSpecs())
        titles.append(t.title);
    plan.techniques.topics = twinnedTopics(lesson++, titles, &plan.techniques.frameCount);

    // The tour shows the program, not a tyer's hands: no left-handed twins.
    plan.quickTour.iniPath = QStringLiteral("QuickTour/QuickTour.ini");
    plan.quickTour.videoPath = QStringLiteral("QuickTour/QuickTour.avi");
    int next = 0;
    for (const TourSpec& t : tourSpecs()) {
        plan.quickTour.topics.append({t.title, next, next + kTourTopicLength - 1, 0});
        next += kTourTopicLength;
    }
    plan.quickTour.frameCount = next;

    plan.splashPath = QStringLiteral("SplashScreen/SplashScreen.avi");
    plan.splashFrames = kSplashFrames;
    return plan;
}

} // namespace

const DemoPlan& demoPlan()
{
    static const DemoPlan plan = makePlan();
    return plan;
}

} // namespace hw::demo
