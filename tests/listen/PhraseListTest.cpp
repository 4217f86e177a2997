// The phrase list: the one built in, a user's own in their settings folder, and every fault a
// hand-edited list may have, named with its line.
#include "hw/listen/CommandPhrases.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace hw::test {

namespace {
QString writeList(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath(QStringLiteral("spoken-commands.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
    return path;
}
} // namespace

TEST(PhraseList, TheBuiltInListHasEveryCommandAndAUsersOwnListComesFirst)
{
    const std::vector<CommandPhrase> builtIn
        = readCommandPhrases(QStringLiteral(":/listen/spoken-commands.txt"));
    ASSERT_EQ(builtIn.size(), 7u);
    EXPECT_EQ(builtIn[2].command, SpokenCommand::Again);
    EXPECT_EQ(builtIn[2].phrase, "tutor again");

    QTemporaryDir dir;
    EXPECT_NE(commandPhrasesPath(dir.path()), dir.filePath(QStringLiteral("spoken-commands.txt")));
    const QString own = writeList(dir, "# mine\nagain   please  Again  /1e-15/ # said twice\n\n");
    EXPECT_EQ(commandPhrasesPath(dir.path()), own);
    const std::vector<CommandPhrase> mine = readCommandPhrases(own);
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(mine[0].phrase, "please again");
    EXPECT_DOUBLE_EQ(mine[0].threshold, 1e-15);
}

TEST(PhraseList, RefusesAFaultyListNamingTheLine)
{
    const struct {
        QByteArray text;
        const char* says;
    } cases[] = {
        {"play tutor play 1e-20\n", "line 1: expected a command, its phrase and /threshold/"},
        {"play tutor play /1e-20/\njump tutor jump /1e-20/\n", "line 2: \"jump\" is not a command"},
        {"play tutor pl4y /1e-20/\n", "line 1: \"pl4y\" is not a word"},
        {"play tutor play /2/\n", "line 1: the threshold must be a number between 0 and 1"},
        {"play tutor play /none/\n", "line 1: the threshold must be"},
        {"\nplay tutor play /1e-20/\nplay tutor go /1e-20/\n", "line 3: \"play\" is listed twice"},
        {"# nothing\n", "lists no phrases"},
        {QByteArray("play tutor play /1e-20/\0", 24), "is not a text file"},
        {QByteArray(70 * 1024, '#'), "is too large"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = writeList(dir, c.text);
        try {
            readCommandPhrases(path);
            ADD_FAILURE() << "accepted: " << c.text.left(60).toStdString();
        } catch (const PhraseListError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(path.toStdString()), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(readCommandPhrases(QStringLiteral("/no/such/list.txt")), PhraseListError);
}

} // namespace hw::test
