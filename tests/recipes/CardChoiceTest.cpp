// Print Recipe's choice of card: exact names open their card's preview, anything else opens
// nothing, and every call waits for its own preview window.
#include "hw/Termination.h"
#include "hw/content/Catalogue.h"
#include "hw/recipes/RecipeCard.h"
#include "hw/recipes/Recipes.h"
#include "hw/report/TReport.h"
#include "hw/report/TReportPreviewWindow.h"

#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class RecipeChoice : public ::testing::Test {
protected:
    void SetUp() override
    {
        hw::resetTerminateRequest();
        hw::createRecipeCards(&owner_);
        for (hw::RecipeCard* card : hw::recipeCards()) {
            QObject::connect(card->Report1(), &hw::TReport::previewOpened, &context_,
                             [this, card](hw::TReportPreviewWindow* window) {
                                 opened_.append(card);
                                 onOpened(card, window);
                             });
        }
        // A preview that never closes would hang the test: end every wait instead.
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, &context_, [this] {
            watchdogFired_ = true;
            hw::requestTerminate();
        });
        watchdog_.start(20000);
    }
    void TearDown() override
    {
        EXPECT_FALSE(watchdogFired_) << "a preview did not close";
        hw::resetTerminateRequest();
    }

    // By default each preview closes as soon as the events run.
    std::function<void(hw::RecipeCard*, hw::TReportPreviewWindow*)> onOpened
        = [this](hw::RecipeCard*, hw::TReportPreviewWindow* window) { later([window] { window->close(); }); };

    void later(std::function<void()> f) { QTimer::singleShot(0, &context_, std::move(f)); }

    static hw::tFlyRecord fly(const QByteArray& displayName)
    {
        hw::tFlyRecord record;
        record.displayName = displayName;
        return record;
    }

    QObject owner_;
    QObject context_;
    QTimer watchdog_;
    bool watchdogFired_ = false;
    QList<hw::RecipeCard*> opened_;
};

TEST_F(RecipeChoice, ExactNamesOpenTheirCard)
{
    const auto cards = hw::recipeCards();
    const QByteArray names[] = {"Bullet Head Hopper",           "Deer Hair Cricket", "Parachute Adams",
                                "Gold Ribbed Hare's Ear Nymph", "Parachute Hopper",  "Deer Hair Ant"};
    for (size_t i = 0; i < cards.size(); ++i) {
        opened_.clear();
        const hw::tFlyRecord record = fly(names[i]);
        hw::printRecipe(&record);
        ASSERT_EQ(opened_.size(), 1) << names[i].constData();
        EXPECT_EQ(opened_.first(), cards[i]);
    }
    // The window is gone once the call has returned.
    QPointer<hw::TReportPreviewWindow> window;
    onOpened = [&](hw::RecipeCard*, hw::TReportPreviewWindow* w) {
        window = w;
        later([w] { w->close(); });
    };
    const hw::tFlyRecord ant = fly("Deer Hair Ant");
    hw::printRecipe(&ant);
    EXPECT_TRUE(window.isNull());
}

TEST_F(RecipeChoice, AnythingButAnExactNameOpensNothing)
{
    hw::printRecipe(nullptr);
    const QByteArray nearMisses[] = {"deer hair ant",
                                     "Deer Hair ant",
                                     "DEER HAIR ANT",
                                     "Deer Hair Ant ",
                                     " Deer Hair Ant",
                                     "Deer  Hair Ant",
                                     "DeerHairAnt",
                                     "Deer Hair Ants",
                                     "Deer Hair An",
                                     "",
                                     "Gold Ribbed Hare\x92s Ear Nymph",
                                     "Bead Head, Gold Ribbed",
                                     "Hare's Ear Nymph",
                                     "Parachute Adams\t",
                                     QByteArray("Parachute Adams\0", 16)};
    for (const QByteArray& name : nearMisses) {
        const hw::tFlyRecord record = fly(name);
        hw::printRecipe(&record);
    }
    EXPECT_TRUE(opened_.isEmpty());
}

TEST_F(RecipeChoice, EveryPreviewWaitsForItsOwnWindow)
{
    // While one preview is open the button is pressed again; each call returns only when its
    // own window has closed, and the earlier call only after the later one has returned.
    for (const bool closeEarlierFirst : {true, false}) {
        for (const QByteArray& second : {QByteArray("Parachute Adams"), QByteArray("Deer Hair Ant")}) {
            SCOPED_TRACE(std::string(closeEarlierFirst ? "earlier closed first, " : "later closed first, ")
                         + second.constData());
            opened_.clear();
            QStringList events;
            QPointer<hw::TReportPreviewWindow> first;
            QPointer<hw::TReportPreviewWindow> later_;
            const hw::tFlyRecord ant = fly("Deer Hair Ant");
            const hw::tFlyRecord other = fly(second);
            onOpened = [&](hw::RecipeCard*, hw::TReportPreviewWindow* window) {
                if (!first) {
                    first = window;
                    later([&] {
                        hw::printRecipe(&other);
                        events << QStringLiteral("later returned");
                    });
                    return;
                }
                later_ = window;
                later([&] {
                    QPointer<hw::TReportPreviewWindow> a = closeEarlierFirst ? first : later_;
                    QPointer<hw::TReportPreviewWindow> b = closeEarlierFirst ? later_ : first;
                    a->close();
                    events << QStringLiteral("one closed");
                    later([&, b] {
                        if (b)
                            b->close();
                        events << QStringLiteral("both closed");
                    });
                });
            };
            hw::printRecipe(&ant);
            events << QStringLiteral("earlier returned");

            // Closing the later window lets its call return at once; closing the earlier one
            // first keeps its call waiting until the later call has returned.
            const QString expected = closeEarlierFirst
                ? QStringLiteral("one closed, both closed, later returned, earlier returned")
                : QStringLiteral("one closed, later returned, both closed, earlier returned");
            EXPECT_EQ(events.join(QStringLiteral(", ")).toStdString(), expected.toStdString());
            ASSERT_EQ(opened_.size(), 2);
            EXPECT_EQ(opened_.at(0), hw::findRecipeCard("Deer Hair Ant"));
            EXPECT_EQ(opened_.at(1), hw::findRecipeCard(second));
            EXPECT_TRUE(first.isNull());
            EXPECT_TRUE(later_.isNull());
        }
    }
}

TEST_F(RecipeChoice, TheProgramEndingEndsTheWait)
{
    QPointer<hw::TReportPreviewWindow> window;
    onOpened = [&](hw::RecipeCard*, hw::TReportPreviewWindow* w) {
        window = w;
        later([] { hw::requestTerminate(); });
    };
    const hw::tFlyRecord hopper = fly("Parachute Hopper");
    hw::printRecipe(&hopper);
    EXPECT_EQ(opened_.size(), 1);
    EXPECT_TRUE(window.isNull());
}

} // namespace
