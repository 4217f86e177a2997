// Listening on the microphone of a private sound server: the lesson plays into a null sink
// that serves as the room, and the room's monitor is the microphone, so it hears the
// lesson's narration as well as the phrases said into the room.
#include "BuiltOnce.h"
#include "MediaFixtures.h"
#include "SoundFixtures.h"
#include "SpokenPhrases.h"
#include "hw/listen/Listening.h"
#include "hw/listen/PlayedSound.h"
#include "hw/media/TMediaPlayer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFrame>
#include <QProcess>
#include <QTemporaryDir>

#include <mutex>

namespace hw::test {

namespace {

// What a listener said, collected across its thread.
struct Heard {
    std::mutex heardMutex;
    std::vector<SpokenCommand> commands;
    std::vector<ListenState> states;
    void attach(CommandListener& listener)
    {
        listener.onHeard = [this](const HeardCommand& c) {
            std::lock_guard lock(heardMutex);
            commands.push_back(c.command);
        };
        listener.onState = [this](ListenState s) {
            std::lock_guard lock(heardMutex);
            states.push_back(s);
        };
    }
    bool saw(ListenState s)
    {
        std::lock_guard lock(heardMutex);
        return std::find(states.begin(), states.end(), s) != states.end();
    }
    std::vector<SpokenCommand> taken()
    {
        std::lock_guard lock(heardMutex);
        return commands;
    }
};

class Microphone : public ::testing::Test {
protected:
    void SetUp() override
    {
        room_ = std::make_unique<RecordedSink>(); // the player plays here (PULSE_SINK)
        if (!room_->usable())
            GTEST_SKIP() << room_->why().toStdString();
        qputenv("PULSE_SOURCE", qgetenv("PULSE_SINK") + ".monitor");
    }
    void TearDown() override { qunsetenv("PULSE_SOURCE"); }
    // Says a file into the room.
    static void say(const QString& wav)
    {
        QProcess::execute(QStringLiteral("paplay"),
                          {QStringLiteral("-d"), qEnvironmentVariable("PULSE_SINK"), wav});
    }

    std::unique_ptr<RecordedSink> room_;
};

} // namespace

TEST_F(Microphone, HearsACommandInTheRoomAndNeverTheLessonsOwnNarration)
{
    QTemporaryDir dir;
    QString why;
    const QString stop = speakPhrases(dir.filePath(QStringLiteral("stop.wav")), {QStringLiteral("stop")},
                                      {QStringLiteral("slt")}, &why);
    if (stop.isEmpty())
        GTEST_SKIP() << why.toStdString();

    auto played = std::make_shared<PlayedSound>();
    QFrame panel;
    panel.resize(320, 240);
    TMediaPlayer player;
    player.setSoundOutput([played] { return PlayedSound::tap(played, makePulseSoundOutput()); });
    player.setDisplay(&panel);
    player.setFileName(demoTree() + QStringLiteral("/Flies/Adams.avi"));
    player.Open();

    Heard heard;
    auto listener
        = makeMicrophoneListener(readCommandPhrases(QStringLiteral(":/listen/spoken-commands.txt")), played);
    heard.attach(*listener);
    listener->start();
    ASSERT_TRUE(waitFor([&] { return heard.saw(ListenState::Listening); }));

    // A phrase said into the quiet room while the lesson is open is heard...
    say(stop);
    ASSERT_TRUE(waitFor([&] { return !heard.taken().empty(); }, 20000));
    EXPECT_EQ(heard.taken(), std::vector<SpokenCommand>{SpokenCommand::Stop});

    // ...and twenty seconds of its narration, heard in the room, start none. (How many phrases
    // said over the narration are heard is measured by bench/listen/listen-bench.sh.)
    player.setStartPos(0);
    player.setEndPos(300);
    player.Play();
    ASSERT_TRUE(waitFor([&] { return player.Mode() != TMPModes::mpPlaying; }, 60000));
    waitFor([] { return false; }, 1000); // the last of the room heard out
    listener->stop();
    EXPECT_EQ(heard.taken(), std::vector<SpokenCommand>{SpokenCommand::Stop});
}

TEST_F(Microphone, SaysNoMicrophoneWhenThereIsNoneAndStopsAtOnce)
{
    // A source that is not there, then a server that never answers.
    qputenv("PULSE_SOURCE", "no_such_source");
    const auto phrases = readCommandPhrases(QStringLiteral(":/listen/spoken-commands.txt"));
    {
        Heard heard;
        auto listener = makeMicrophoneListener(phrases, nullptr);
        heard.attach(*listener);
        listener->start();
        EXPECT_TRUE(waitFor([&] { return heard.saw(ListenState::NoMicrophone); }, 10000));
    }
    SilentServer silent;
    {
        const ServerNamed named(silent.address());
        Heard heard;
        auto listener = makeMicrophoneListener(phrases, nullptr);
        heard.attach(*listener);
        listener->start();
        EXPECT_TRUE(waitFor([&] { return heard.saw(ListenState::NoMicrophone); }, 10000));
        // Stopped while it waits for a server that never answers: returns at once, calls nothing.
        auto waiting = makeMicrophoneListener(phrases, nullptr);
        Heard none;
        none.attach(*waiting);
        waiting->start();
        waiting->stop();
        waiting.reset();
        EXPECT_TRUE(none.taken().empty());
    }
}

} // namespace hw::test
