// The demo lessons against the recipe cards and against the way a fly is tied: every lesson
// step of a pattern with a card matches one of the card's instructions, in card order; every
// card instruction that ties a material in is taught by a step that ties it in (so said in
// the lesson's own table of materials per step); and in every lesson a material is tied in
// before it is wound.
#include "hw/demo/DemoLibrary.h"
#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/TReport.h"
#include "hw/report/TReportMemo.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using hw::demo::Handling;
using hw::demo::PlannedLesson;

struct StepMatch {
    const char* lessonStep;
    const char* cardWords; // words of the card instruction that teaches the step
};

// A card instruction that ties a material in, and the lesson's key of that material; none
// for the card's alternative the lesson does not tie.
struct CardTieIn {
    const char* cardWords;
    const char* material;
};

struct PatternOrder {
    const char* pattern;
    std::vector<StepMatch> steps;
    std::vector<CardTieIn> tieIns;
};

const std::vector<PatternOrder>& orders()
{
    static const std::vector<PatternOrder> table = {
        {"Bullet Head Hopper",
         {{"Thread Base", "thread base"},
          {"Extended Body", "Tie the rope"},
          {"Tie In and Wrap the Underbody", "underbody"},
          {"Turkey Quill Wing", "turkey quill"},
          {"Knotted Legs", "Tie in one leg"},
          {"Tie In the Deer Hair", "tips pointing forward"},
          {"Bullet Head", "bullet shape"},
          {"Whip Finish", "Whip finish"}},
         {{"second strand of yarn", "Underbody"},
          {"cemented turkey quill", "Wing"},
          {"Tie in one leg", "Legs"},
          {"tie it in around the shank", "Head"}}},
        {"Deer Hair Cricket",
         {{"Thread Base", "thread base"},
          {"Extended Body", "Tie the extended body"},
          {"Dub the Body", "black synthetic dubbing"},
          {"Crow Quill Wing", "quill section"},
          {"Spade Hackle Legs", "spade hackle"},
          {"Spin the Deer Hair", "spins around the shank"},
          {"Whip Finish", "whip finish"},
          {"Trim the Head", "blocky head"}},
         {{"tie it in flat", "Wing"}, {"spade hackle fibers on each side", "Legs"}}},
        {"Parachute Adams",
         {{"Thread Base", "thread base"},
          {"Calf Wing Post", "calf body hair"},
          {"Hackle Fiber Tail", "for the tail"},
          {"Tie In the Hackle and Dub the Abdomen", "Tie it in at the base of the post"},
          {"Dub the Thorax", "Dub the thorax"},
          {"Wind the Parachute Hackle", "Wind the hackle"},
          {"Whip Finish", "Whip finish"}},
         {{"tie it in on top", "Post"},
          {"for the tail", "Tail"},
          {"Tie it in at the base of the post", "Hackle"}}},
        {"Gold Ribbed Hare's Ear Nymph",
         {{"Slide on the Bead", "Slide the gold bead"},
          {"Thread Base", "thread base"},
          {"Squirrel Tail", "squirrel tail"},
          {"Tie In the Rib and Dub the Abdomen", "Mylar tinsel"},
          {"Wrap the Gold Rib", "Spiral the tinsel"},
          {"Tie In the Wing Case", "for the wing case"},
          {"Dub the Thorax", "Dub a thorax"},
          {"Partridge Legs", "partridge"},
          {"Pull Over the Wing Case", "Pull the turkey quill forward"},
          {"Whip Finish", "Whip finish"}},
         {{"squirrel tail hair", "Tail"}, {"Mylar tinsel", "Rib"}, {"mottled turkey quill", "WingCase"}}},
        {"Parachute Hopper",
         {{"Thread Base", "thread base"},
          {"Tie In and Wrap the Underbody", "underbody"},
          {"Dub the Abdomen", "abdomen of the green"},
          {"Poly Wing Post", "for the post"},
          {"Turkey Quill Wing", "turkey quill"},
          {"Knotted Legs", "knotted hackle stem"},
          {"Tie In the Hackle and Dub the Head", "Tie in a grizzly hackle"},
          {"Wind the Parachute Hackle", "Wind the hackle"},
          {"Whip Finish", "Whip finish"}},
         {{"strand of Antron yarn", "Underbody"},
          {"Flexibody", nullptr},
          {"for the post", "Post"},
          {"turkey quill", "Wing"},
          {"Tie in a grizzly hackle", "Hackle"}}},
        {"Deer Hair Ant",
         {{"Thread Base", "thread base"},
          {"Tie In the Deer Hair", "by its butts"},
          {"Rear Hump", "rear hump"},
          {"Legs", "form the legs"},
          {"Sight Post", "sight post"},
          {"Front Hump", "front hump"},
          {"Whip Finish", "Whip finish"}},
         {{"strand of white poly", "Post"}}},
    };
    return table;
}

const PlannedLesson* lessonOf(const char* pattern)
{
    for (const PlannedLesson& p : hw::demo::demoPlan().patterns)
        if (p.displayName == pattern)
            return &p;
    return nullptr;
}

// The step that first does `how` with `material`; -1 when none does.
qsizetype firstStep(const PlannedLesson& lesson, const QByteArray& material, Handling how)
{
    for (qsizetype i = 0; i < lesson.topics.size(); ++i)
        for (const hw::demo::MaterialUse& use : lesson.topics[i].materials)
            if (use.material == material && use.handling == how)
                return i;
    return -1;
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
        const PlannedLesson* lesson = lessonOf(order.pattern);
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

TEST(DemoLessons, TeachEveryTieInOfTheirCardsInOrder)
{
    QObject owner;
    hw::createRecipeCards(&owner);
    const QRegularExpression tiesIn(QStringLiteral("\\btie (it )?(in|on)\\b"),
                                    QRegularExpression::CaseInsensitiveOption);
    for (const PatternOrder& order : orders()) {
        SCOPED_TRACE(order.pattern);
        const QStringList instructions = cardInstructions(*hw::findRecipeCard(order.pattern));
        const PlannedLesson* lesson = lessonOf(order.pattern);
        ASSERT_NE(lesson, nullptr);
        qsizetype previous = 0; // the step that ties in the material of the card's previous tie-in
        for (const QString& instruction : instructions) {
            if (!instruction.contains(tiesIn))
                continue;
            const auto entry
                = std::find_if(order.tieIns.begin(), order.tieIns.end(), [&](const CardTieIn& t) {
                      return instruction.contains(QString::fromLatin1(t.cardWords));
                  });
            ASSERT_NE(entry, order.tieIns.end()) << "no material named for: " << instruction.toStdString();
            if (!entry->material)
                continue;
            const qsizetype step = firstStep(*lesson, entry->material, Handling::TieIn);
            ASSERT_GE(step, 0) << "no step ties in " << entry->material;
            EXPECT_GE(step, previous) << entry->material << " is tied in before the card ties it in";
            previous = step;
        }
    }
}

// Every material a step winds (wraps, palmers, folds, pulls over) was tied in by an earlier
// step, or earlier in the same one; every material a step names is one of the pattern's.
TEST(DemoLessons, TieInEveryMaterialBeforeWindingIt)
{
    for (const PlannedLesson& lesson : hw::demo::demoPlan().patterns) {
        SCOPED_TRACE(lesson.displayName.toStdString());
        QSet<QByteArray> tiedIn;
        for (const hw::demo::PlannedTopic& step : lesson.topics)
            for (const hw::demo::MaterialUse& use : step.materials) {
                SCOPED_TRACE(step.title.toStdString());
                EXPECT_TRUE(lesson.materialKeys.contains(use.material)) << use.material.toStdString();
                if (use.handling == Handling::TieIn) {
                    tiedIn.insert(use.material);
                } else if (use.handling == Handling::Wind) {
                    EXPECT_TRUE(tiedIn.contains(use.material))
                        << use.material.toStdString() << " is not tied in";
                }
            }
    }
}

// A lesson's materials list says what its card's rows say, row for row (a row that goes on
// from the one above is part of that line); Print Recipe has a card for exactly the lessons
// that say so.
TEST(DemoLessons, ListTheMaterialsOfTheirCards)
{
    QObject owner;
    hw::createRecipeCards(&owner);
    auto memo = [](const hw::RecipeCard& card, const char* name) {
        for (const auto& e : card.Report1()->elements())
            if (e->name() == QLatin1String(name))
                return static_cast<const hw::TReportMemo*>(e.get())->lines();
        return QStringList();
    };
    auto plain = [](const QString& text) { return text.simplified().toLower(); };
    for (const PlannedLesson& lesson : hw::demo::demoPlan().patterns) {
        SCOPED_TRACE(lesson.displayName.toStdString());
        const hw::RecipeCard* card = hw::findRecipeCard(lesson.displayName);
        EXPECT_EQ(lesson.recipeCard, card != nullptr);
        if (!card)
            continue;
        const QStringList labels = memo(*card, "ReportMemo2");
        const QStringList values = memo(*card, "ReportMemo1");
        QStringList rows;
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (values[i].trimmed().isEmpty())
                continue;
            if (labels.value(i).trimmed().isEmpty() && !rows.isEmpty())
                rows.last() += QLatin1Char(' ') + values[i];
            else
                rows.append(labels.value(i).trimmed() + QLatin1Char(' ') + values[i]);
        }
        ASSERT_EQ(lesson.materials.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QString line = plain(QString::fromLatin1(lesson.materials[i])).remove(QLatin1Char(','));
            for (const QString& word : plain(rows[i]).remove(QLatin1Char(',')).split(QLatin1Char(' ')))
                EXPECT_TRUE(line.contains(word))
                    << lesson.materials[i].toStdString() << " lacks " << word.toStdString();
        }
    }
}

} // namespace
