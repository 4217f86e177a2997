// The six cards as objects: created once in table order behind program-wide references,
// with their materials exactly as tabled and the instruction block's line structure.
#include "CardTables.h"

#include "hw/recipes/AdamsRecipe.h"
#include "hw/recipes/BHHopperRecipe.h"
#include "hw/recipes/DHAntRecipe.h"
#include "hw/recipes/DHCricketRecipe.h"
#include "hw/recipes/HENymph.h"
#include "hw/recipes/HopperRecipe.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/TReport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class T>
const T* element(const hw::TReport& report, const QString& name)
{
    for (const auto& e : report.elements()) {
        if (e->name() == name)
            return static_cast<const T*>(e.get());
    }
    return nullptr;
}

TEST(RecipeCards, CreatedOnceInTableOrderBehindTheirReferences)
{
    auto owner = std::make_unique<QObject>();
    for (hw::RecipeCard* card : hw::recipeCards())
        EXPECT_EQ(card, nullptr);
    hw::createRecipeCards(owner.get());

    const auto cards = hw::recipeCards();
    const auto& tables = hw::test::cardTables();
    ASSERT_EQ(cards.size(), tables.size());
    for (size_t i = 0; i < cards.size(); ++i) {
        ASSERT_NE(cards[i], nullptr);
        EXPECT_EQ(cards[i]->displayName(), tables[i].displayName);
        EXPECT_EQ(cards[i]->parent(), owner.get());
        EXPECT_EQ(hw::findRecipeCard(tables[i].displayName), cards[i]);
    }
    EXPECT_EQ(cards[0], hw::BulletHeadHopperRecipe);
    EXPECT_EQ(cards[1], hw::DeerHairCricketRecipe);
    EXPECT_EQ(cards[2], hw::ParachuteAdamsRecipe);
    EXPECT_EQ(cards[3], hw::GoldRibbedHaresEarNymph);
    EXPECT_EQ(cards[4], hw::ParachuteHopperRecipe);
    EXPECT_EQ(cards[5], hw::DeerHairAntRecipe);
    EXPECT_EQ(hw::findRecipeCard("Deer hair Ant"), nullptr);

    // The references die with their owner instead of dangling.
    owner.reset();
    for (hw::RecipeCard* card : hw::recipeCards())
        EXPECT_EQ(card, nullptr);
}

TEST(RecipeCards, MaterialsAndInstructionLinesAsTabled)
{
    QObject owner;
    hw::createRecipeCards(&owner);
    const auto& tables = hw::test::cardTables();
    static const QRegularExpression stepStart(QStringLiteral("^(\\d+)\\. \\S"));
    for (size_t i = 0; i < tables.size(); ++i) {
        const hw::test::CardTable& t = tables[i];
        SCOPED_TRACE(t.displayName.toStdString());
        const hw::TReport& report = *hw::recipeCards()[i]->Report1();

        // Every row printed unchanged: trailing blanks, double blanks and empty rows.
        const auto* labels = element<hw::TReportMemo>(report, QStringLiteral("ReportMemo2"));
        const auto* values = element<hw::TReportMemo>(report, QStringLiteral("ReportMemo1"));
        ASSERT_TRUE(labels && values);
        EXPECT_EQ(labels->lines(), t.labels);
        EXPECT_EQ(values->lines(), t.values);

        // Numbered steps, one empty line between steps, and the trailing empty line where
        // the card has one.
        const auto* block = element<hw::TReportMemo>(report, QStringLiteral("ReportMemo3"));
        ASSERT_TRUE(block);
        const QStringList& lines = block->lines();
        ASSERT_EQ(lines.size(), t.blockLines);
        int steps = 0;
        for (int n = 0; n < lines.size(); ++n) {
            const bool stepLine = n % 2 == 0 && !(t.emptyLineAfterLastStep && n == lines.size() - 1);
            if (!stepLine) {
                EXPECT_TRUE(lines.at(n).isEmpty()) << "line " << n + 1;
                continue;
            }
            const auto m = stepStart.match(lines.at(n));
            ASSERT_TRUE(m.hasMatch()) << lines.at(n).toStdString();
            EXPECT_EQ(m.captured(1).toInt(), ++steps);
            EXPECT_EQ(lines.at(n), lines.at(n).trimmed());
        }
        EXPECT_EQ(steps, t.steps);

        // The picture is the card's own bitmap, stretched to its box.
        const auto* picture = element<hw::TReportImage>(report, QStringLiteral("ReportImage1"));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->picture().size(), t.bitmap);
        EXPECT_TRUE(picture->stretch());
    }
}

} // namespace
