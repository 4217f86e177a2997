// Frame ranges of the demo library. Each lesson video holds its steps right-handed, one
// after the other, then the same steps left-handed in the same order, so that every
// step's left-handed twin lies `offset` frames later in the same file.
#include "hw/demo/DemoLibrary.h"

#include "DemoContent.h"
#include "Narration.h"

#include <algorithm>

namespace hw::demo {
namespace {

constexpr int kFramesPerSecond = 15;

// At least two to two and a half seconds a step, varied so that the ranges are not all
// alike, and long enough for the step's narration. Short steps keep the whole library
// quick to make.
int stepLength(int lesson, int step, const std::vector<QString>& narration)
{
    return std::max(30 + 3 * ((step * 7 + lesson * 3) % 3), narrationFrames(narration, kFramesPerSecond));
}

constexpr int kTourTopicLength = 40;
constexpr int kSplashFrames = 60;

struct Titled {
    QByteArray title;
    std::vector<QString> narration;
};

QList<PlannedTopic> twinnedTopics(int lesson, const QList<Titled>& steps, int* frameCount)
{
    QList<PlannedTopic> topics;
    int next = 0;
    for (int i = 0; i < steps.size(); ++i) {
        const int length = stepLength(lesson, i, steps[i].narration);
        topics.append({steps[i].title, next, next + length - 1, 0, {}, {}});
        next += length;
    }
    for (PlannedTopic& t : topics)
        t.offset = next;
    *frameCount = 2 * next;
    return topics;
}

QString flies(const char* name)
{
    return QStringLiteral("Flies/") + QString::fromLatin1(name);
}

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
        p.recipeCard = design.recipeCard;
        for (const MaterialSpec& m : design.materials) {
            p.materials.append(m.value);
            p.materialKeys.append(m.key);
        }
        QList<Titled> steps;
        for (size_t i = 0; i < design.steps.size(); ++i)
            steps.append(Titled{design.steps[i].title, narrationLines(design, static_cast<int>(i))});
        p.topics = twinnedTopics(lesson++, steps, &p.frameCount);
        for (size_t i = 0; i < design.steps.size(); ++i) {
            PlannedTopic& t = p.topics[static_cast<qsizetype>(i)];
            for (const StepUse& use : design.steps[i].materials)
                t.materials.append({use.material, use.handling});
            t.technique = design.steps[i].technique;
        }
        plan.patterns.append(p);
    }

    plan.techniques.iniPath = QStringLiteral("Techniques/Techniques.ini");
    plan.techniques.videoPath = QStringLiteral("Techniques/Techniques.avi");
    QList<Titled> techniques;
    for (const TechniqueSpec& t : techniqueSpecs())
        techniques.append(Titled{t.title, narrationLines(t)});
    plan.techniques.topics = twinnedTopics(lesson++, techniques, &plan.techniques.frameCount);

    // The tour shows the program, not a tyer's hands: no left-handed twins.
    plan.quickTour.iniPath = QStringLiteral("QuickTour/QuickTour.ini");
    plan.quickTour.videoPath = QStringLiteral("QuickTour/QuickTour.avi");
    int next = 0;
    for (const TourSpec& t : tourSpecs()) {
        const int length = std::max(kTourTopicLength, narrationFrames(narrationLines(t), kFramesPerSecond));
        plan.quickTour.topics.append({t.title, next, next + length - 1, 0, {}, {}});
        next += length;
    }
    plan.quickTour.frameCount = next;

    plan.splashPath = QStringLiteral("SplashScreen/SplashScreen.avi");
    plan.splashFrames = kSplashFrames;
    plan.framesPerSecond = kFramesPerSecond;
    return plan;
}

} // namespace

const DemoPlan& demoPlan()
{
    static const DemoPlan plan = makePlan();
    return plan;
}

} // namespace hw::demo
