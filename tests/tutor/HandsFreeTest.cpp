// Spoken commands in the tutor window: V and the menu switch listening, kept between runs; the
// badge says so and flashes what was heard; each command acts as its key; without a
// microphone V says so and nothing else changes. The listener is a stand-in that calls from
// a thread of its own, as the real one does.
#include "TutorTree.h"
#include "hw/media/PlayerInspection.h"

#include <QAction>
#include <QTest>

#include <deque>
#include <thread>

#include <gtest/gtest.h>

using namespace hw;
using namespace hw::test;

namespace {

// What became of a stand-in, kept after the window has let it go.
struct Fate {
    bool started = false;
    bool stopped = false;
};

class StandInListener : public CommandListener {
public:
    explicit StandInListener(Fate& fate)
        : fate_(fate)
    { }
    void start() override { fate_.started = true; }
    void stop() override { fate_.stopped = true; }
    // Says something from another thread, as the real listener does.
    void hear(SpokenCommand command)
    {
        std::thread([this, command] { onHeard({command, 1.0}); }).join();
    }
    void become(ListenState state)
    {
        std::thread([this, state] { onState(state); }).join();
    }

private:
    Fate& fate_;
};

// Makes stand-ins and keeps track of them (they belong to the window).
struct StandInMicrophone {
    std::vector<StandInListener*> made; // valid while the window holds them
    std::deque<Fate> fates;
    bool present = true;
    std::function<std::unique_ptr<CommandListener>()> factory()
    {
        return [this]() -> std::unique_ptr<CommandListener> {
            if (!present)
                return nullptr;
            auto listener = std::make_unique<StandInListener>(fates.emplace_back());
            made.push_back(listener.get());
            return listener;
        };
    }
};

QString listenBadge(TForm1& f)
{
    auto* note = f.findChild<QWidget*>(QStringLiteral("ListenBadge"));
    return note && note->isVisible() ? note->accessibleName() : QString();
}

TutorWindow::Options withMicrophone(StandInMicrophone& microphone, std::shared_ptr<QSettings> settings)
{
    TutorWindow::Options options;
    options.settings = std::move(settings);
    options.makeListener = microphone.factory();
    return options;
}

std::shared_ptr<QSettings> freshStore(const QTemporaryDir& dir)
{
    return std::make_shared<QSettings>(dir.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
}

} // namespace

TEST(TutorHandsFree, VSwitchesListeningShownByTheBadgeAndKeptBetweenRuns)
{
    QTemporaryDir dir;
    StandInMicrophone microphone;
    {
        TutorWindow w(standardTree(), withMicrophone(microphone, freshStore(dir)));
        EXPECT_TRUE(microphone.made.empty()) << "listening is off on a first start";
        QTest::keyClick(&*w, Qt::Key_V);
        ASSERT_EQ(microphone.made.size(), 1u);
        EXPECT_TRUE(microphone.fates[0].started);
        EXPECT_EQ(listenBadge(*w), QStringLiteral("Listening"));
        auto* action = w->findChild<QAction*>(QStringLiteral("ListenAction"));
        ASSERT_TRUE(action);
        EXPECT_TRUE(action->isChecked());
        microphone.made[0]->become(ListenState::Listening);
        ASSERT_TRUE(waitFor([&] {
            return freshStore(dir)->value(QStringLiteral("Practice/ListenForSpokenCommands")).toBool();
        }));
    }
    {
        // On again at the next start; V switches it off for good.
        TutorWindow w(standardTree(), withMicrophone(microphone, freshStore(dir)));
        ASSERT_EQ(microphone.made.size(), 2u);
        EXPECT_EQ(listenBadge(*w), QStringLiteral("Listening"));
        QTest::keyClick(&*w, Qt::Key_V);
        EXPECT_TRUE(microphone.fates[1].stopped);
        EXPECT_EQ(listenBadge(*w), QString());
        EXPECT_FALSE(freshStore(dir)->value(QStringLiteral("Practice/ListenForSpokenCommands")).toBool());
    }
}

TEST(TutorHandsFree, EachCommandActsAsItsKeyAndIsFlashed)
{
    QTemporaryDir dir;
    StandInMicrophone microphone;
    TutorWindow w(standardTree(), withMicrophone(microphone, freshStore(dir)));
    click(w->TechniquesButton);
    ASSERT_TRUE(waitForPlayFace(*w));
    QTest::keyClick(&*w, Qt::Key_V);
    StandInListener& listener = *microphone.made.at(0);

    // Play and stop only ever start or stop, whatever the state.
    listener.hear(SpokenCommand::Play);
    ASSERT_TRUE(waitForPlaying(*w));
    EXPECT_TRUE(waitFor([&] { return listenBadge(*w) == QStringLiteral("heard: play"); }));
    listener.hear(SpokenCommand::Play);
    listener.hear(SpokenCommand::Stop);
    ASSERT_TRUE(waitForPlayFace(*w));
    listener.hear(SpokenCommand::Stop);
    QTest::qWait(0);
    EXPECT_TRUE(showsPlayFace(*w));

    // Next and back move between the topics as Page Down and Page Up.
    const int topic = w->TopicsListBox->ItemIndex();
    listener.hear(SpokenCommand::Next);
    ASSERT_TRUE(waitFor([&] { return w->TopicsListBox->ItemIndex() == topic + 1; }));
    listener.hear(SpokenCommand::Back);
    ASSERT_TRUE(waitFor([&] { return w->TopicsListBox->ItemIndex() == topic; }));

    // Again plays the step from its start.
    listener.hear(SpokenCommand::Play);
    ASSERT_TRUE(waitForPlaying(*w));
    ASSERT_TRUE(waitForPlayFace(*w));
    // Under load a short play's frames may be left out rather than shown, so the plays' own
    // count tells that the step played again.
    const auto handled = [&] {
        const PlaybackStats stats = PlayerInspection::playbackStats(*w->MediaPlayer1);
        return stats.presented + stats.dropped;
    };
    const int before = handled();
    listener.hear(SpokenCommand::Again);
    EXPECT_TRUE(waitFor([&] { return handled() > before; }));
    listener.hear(SpokenCommand::Stop);
    ASSERT_TRUE(waitForPlayFace(*w));

    // Slower and faster as [ and ].
    listener.hear(SpokenCommand::Slower);
    ASSERT_TRUE(waitFor([&] { return w->MediaPlayer1->speed() == 0.5; }));
    listener.hear(SpokenCommand::Faster);
    ASSERT_TRUE(waitFor([&] { return w->MediaPlayer1->speed() == 1.0; }));
    // The flash gives way to the badge again.
    EXPECT_TRUE(waitFor([&] { return listenBadge(*w) == QStringLiteral("Listening"); }, 5000));
}

TEST(TutorHandsFree, WithoutAMicrophoneVSaysSoAndNothingElseChanges)
{
    QTemporaryDir dir;
    StandInMicrophone microphone;
    microphone.present = false;
    TutorWindow w(standardTree(), withMicrophone(microphone, freshStore(dir)));
    QTest::keyClick(&*w, Qt::Key_V);
    EXPECT_EQ(listenBadge(*w), QStringLiteral("No microphone found"));
    EXPECT_FALSE(w->findChild<QAction*>(QStringLiteral("ListenAction"))->isChecked());

    // A listener that finds no microphone once started says the same, and is stopped; what
    // it says afterwards is not heard.
    microphone.present = true;
    QTest::keyClick(&*w, Qt::Key_V);
    microphone.made.at(0)->become(ListenState::NoMicrophone);
    ASSERT_TRUE(waitFor([&] { return listenBadge(*w) == QStringLiteral("No microphone found"); }));
    EXPECT_TRUE(microphone.fates.at(0).stopped);
    click(w->QuickTourButton);
    ASSERT_TRUE(waitForPlayFace(*w));
    EXPECT_FALSE(freshStore(dir)->contains(QStringLiteral("Practice/ListenForSpokenCommands")));
}
