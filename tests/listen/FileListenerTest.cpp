// Commands heard in a sound file, as `hacklewright-tool listen --file` hears them: every
// command said by different voices, in order, none in talk that has the commands' words, and
// nothing made of a file that is not sound.
#include "BuiltTools.h"
#include "SpokenPhrases.h"
#include "hw/listen/Listening.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <condition_variable>
#include <mutex>

namespace hw::test {

namespace {

// Listens to the whole file; the commands heard, in order.
std::vector<HeardCommand> listenTo(const QString& path, const QString& played = {})
{
    const auto listener
        = makeFileListener(readCommandPhrases(QStringLiteral(":/listen/spoken-commands.txt")), path, played);
    std::mutex heardMutex;
    std::condition_variable ended;
    std::vector<HeardCommand> heard;
    bool done = false;
    listener->onHeard = [&](const HeardCommand& c) {
        std::lock_guard lock(heardMutex);
        heard.push_back(c);
    };
    listener->onState = [&](ListenState state) {
        std::lock_guard lock(heardMutex);
        done = done || state == ListenState::Ended;
        ended.notify_all();
    };
    listener->start();
    std::unique_lock lock(heardMutex);
    EXPECT_TRUE(ended.wait_for(lock, std::chrono::minutes(2), [&] { return done; }));
    return heard;
}

} // namespace

TEST(FileListener, HearsEveryCommandSaidByThreeVoicesAndTheToolSaysTheSame)
{
    QTemporaryDir dir;
    QString why;
    const QStringList voices{QStringLiteral("slt"), QStringLiteral("rms"), QStringLiteral("awb")};
    const QString said = speakPhrases(dir.filePath(QStringLiteral("said.wav")), commandWords(), voices, &why);
    if (said.isEmpty())
        GTEST_SKIP() << why.toStdString();

    const std::vector<HeardCommand> heard = listenTo(said);
    // 21 phrases, each after a second of silence: at least 20 heard, in order, and none
    // heard that was not said.
    QStringList saidWords;
    for (qsizetype v = 0; v < voices.size(); ++v)
        saidWords += commandWords();
    double last = 0;
    size_t matched = 0;
    for (const QString& word : saidWords)
        if (matched < heard.size() && QString::fromLatin1(commandWord(heard[matched].command)) == word) {
            EXPECT_GT(heard[matched].seconds, last);
            last = heard[matched].seconds;
            ++matched;
        }
    EXPECT_GE(matched, 20u);
    EXPECT_EQ(matched, heard.size()) << "a command was heard that was not said";

    const ProcessRun tool = runTool({QStringLiteral("listen"), QStringLiteral("--file"), said});
    EXPECT_EQ(tool.exitCode, 0) << tool.err.toStdString();
    QStringList expected;
    for (const HeardCommand& h : heard)
        expected << QStringLiteral("%1 %2")
                        .arg(h.seconds, 0, 'f', 2)
                        .arg(QString::fromLatin1(commandWord(h.command)));
    EXPECT_EQ(tool.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}

TEST(FileListener, HearsNoCommandInTalkThatHasTheCommandsWords)
{
    QTemporaryDir dir;
    QString why;
    const QString talk
        = speak(dir.filePath(QStringLiteral("talk.wav")),
                {QStringLiteral("If the hackle twists, stop, and try it again from the stem."),
                 QStringLiteral("Put it down, pick it up again, and look at it from the side."),
                 QStringLiteral("Bring the thread back to the tie-in point, then the next turn."),
                 QStringLiteral("The tutor will show the step again, a little slower.")},
                {QStringLiteral("slt"), QStringLiteral("rms"), QStringLiteral("awb")}, &why);
    if (talk.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const std::vector<HeardCommand> heard = listenTo(talk);
    EXPECT_TRUE(heard.empty()) << heard.size() << " commands heard in talk, the first "
                               << commandWord(heard.front().command) << " at " << heard.front().seconds
                               << " s";
}

TEST(FileListener, TakesOutTheEchoOfWhatWasPlayedWhenGivenIt)
{
    QTemporaryDir dir;
    QString why;
    const QString said
        = speakPhrases(dir.filePath(QStringLiteral("said.wav")), commandWords(),
                       {QStringLiteral("slt"), QStringLiteral("rms"), QStringLiteral("awb")}, &why);
    if (said.isEmpty())
        GTEST_SKIP() << why.toStdString();
    // Loud noise played while the phrases were said, heard as a room returns it: 60 ms late,
    // with reverberation, as loud as the voices.
    const QString played = dir.filePath(QStringLiteral("played.wav"));
    const QString room = dir.filePath(QStringLiteral("room.wav"));
    const QString heardFile = dir.filePath(QStringLiteral("heard.wav"));
    ASSERT_TRUE(runSox({said, played, QStringLiteral("synth"), QStringLiteral("pinknoise"),
                        QStringLiteral("vol"), QStringLiteral("0.3")}));
    ASSERT_TRUE(
        runSox({played, room, QStringLiteral("pad"), QStringLiteral("0.06"), QStringLiteral("0"),
                QStringLiteral("reverb"), QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("30")}));
    ASSERT_TRUE(runSox({QStringLiteral("-m"), said, room, heardFile}));

    EXPECT_LE(listenTo(heardFile).size(), 10u);
    EXPECT_GE(listenTo(heardFile, played).size(), 18u);
}

TEST(FileListener, RefusesWhatIsNotSound)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.wav"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF\x10\0\0\0WAVEfmt nothing more");
    file.close();
    const auto phrases = readCommandPhrases(QStringLiteral(":/listen/spoken-commands.txt"));
    for (const QString& path : {text, dir.filePath(QStringLiteral("missing.wav")), dir.path()}) {
        try {
            makeFileListener(phrases, path);
            ADD_FAILURE() << "opened " << path.toStdString();
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Cannot open file " + path.toStdString(), 0), 0u)
                << e.what();
        }
    }
}

} // namespace hw::test
