// The demo lessons of the patterns that have recipe cards teach the card's order: every
// lesson step matches one of the card's instructions, and the matches come in card order.
#include "hw/demo/DemoLibrary.h"
#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/TReport.h"
#include "hw/report/TReportMemo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct StepMatch {
    const char* lessonStep;
    const char* cardWords; // words of the card instruction that teaches the step
};

struct PatternOrder {
    const char* pattern;
    std::vector<StepMatch> steps;
};

const std::vector<PatternOrder>& orders()
{
    static const std::vector<PatternOrder> table = {
        {"Bullet Head Hopper",
         {{"Thread Base", "thread base"},
          {"Extended Body", "Tie the rope"},
          {"Yarn Underbody", "underbody"},
          {"Turkey Quill Wing", "turkey quill"},
          {"Knotted Legs", "Tie in one leg"},
          {"Bullet Head", "bullet shape"},
          {"Whip Finish", "Whip finish"}}},
        {"Deer Hair Cricket",
         {{"Thread Base", "thread base"},
          {"Extended Body", "Tie the extended body"},
          {"Dub the Body", "black synthetic dubbing"},
          {"Crow Quill Wing", "quill section"},
          {"Spade Hackle Legs", "spade hackle"},
          {"Spin the Deer Hair", "spins around the shank"},
          {"Whip Finish", "whip finish"},
          {"Trim the Head", "blocky head"}}},
        {"Parachute Adams",
         {{"Thread Base", "thread base"},
          {"Calf Wing Post", "calf body hair"},
          {"Hackle Fiber Tail", "for the tail"},
          {"Dub the Abdomen", "abdomen of gray"},
          {"Dub the Thorax", "Dub the thorax"},
          {"Parachute Hackle", "Wind the hackle"},
          {"Whip Finish", "Whip finish"}}},
        {"Gold Ribbed Hare's Ear Nymph",
         {{"Slide on the Bead", "Slide the gold bead"},
          {"Thread Base", "thread base"},
          {"Squirrel Tail", "squirrel tail"},
          {"Dub the Abdomen", "tapered abdomen"},
          {"Wrap the Gold Rib", "Spiral the tinsel"},
          {"Tie In the Wing Case", "for the wing case"},
          {"Dub the Thorax", "Dub a thorax"},
          {"Partridge Legs", "partridge"},
          {"Pull Over the Wing Case", "Pull the turkey quill forward"},
          {"Whip Finish", "Whip finish"}}},
        {"Parachute Hopper",
         {{"Thread Base", "thread base"},
          {"Yarn Underbody", "underbody"},
          {"Dub the Abdomen", "abdomen of the green"},
          {"Poly Wing Post", "for the post"},
          {"Turkey Quill Wing", "turkey quill"},
          {"Knotted Legs", "knotted hackle stem"},
          {"Dub the Head", "Dub the head"},
          {"Parachute Hackle", "Wind the hackle"},
          {"Whip Finish", "Whip finish"}}},
        {"Deer Hair Ant",
         {{"Thread Base", "thread base"},
          {"Rear Hump", "rear hump"},
          {"Legs", "form the legs"},
          {"Sight Post", "sight post"},
          {"Front Hump", "front hump"},
          {"Whip Finish", "Whip finish"}}},
    };
    return table;
}

QStringList cardInstructions(const hw::RecipeCard& card)
{
    for (const auto& e : card.Report1()->elements())
        if (e->name() == QLatin1String("ReportMemo3")) {
            QStringList steps = static_cast<const hw::TReportMemo*>(e.get())->lines();
            steps.removeAll(QString());
            return steps;
        }
    return {};
}

TEST(DemoLessons, FollowTheirRecipeCardsInOrder)
{
    QObject owner;
    hw::createRecipeCards(&owner);
    ASSERT_EQ(orders().size(), size_t(hw::kRecipeCardCount));
    for (const PatternOrder& order : orders()) {
        SCOPED_TRACE(order.pattern);
        const hw::RecipeCard* card = hw::findRecipeCard(order.pattern);
        ASSERT_NE(card, nullptr);
        const QStringList instructions = cardInstructions(*card);
        const hw::demo::PlannedLesson* lesson = nullptr;
        for (const hw::demo::PlannedLesson& p : hw::demo::demoPlan().patterns)
            if (p.displayName == order.pattern)
                lesson = &p;
        ASSERT_NE(lesson, nullptr);
        ASSERT_EQ(lesson->topics.size(), qsizetype(order.steps.size()));
        qsizetype next = 0; // the first card instruction the next step may match
        for (size_t i = 0; i < order.steps.size(); ++i) {
            const StepMatch& m = order.steps[i];
            EXPECT_EQ(lesson->topics[qsizetype(i)].title, QByteArray(m.lessonStep));
            const QString words = QString::fromLatin1(m.cardWords);
            while (next < instructions.size() && !instructions[next].contains(words))
                ++next;
            ASSERT_LT(next, instructions.size())
                << m.lessonStep << ": no later card step says \"" << m.cardWords << '"';
            ++next;
        }
    }
}

} // namespace
