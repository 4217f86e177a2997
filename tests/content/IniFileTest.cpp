#include "hw/content/IniFile.h"

#include "TempTree.h"
#include "hw/Exception.h"

#include <gtest/gtest.h>

using hw::IniFile;

namespace {

QByteArray read(const IniFile& ini, const char* section, const char* key, const char* def = "<default>")
{
    return ini.readString(section, key, def);
}

} // namespace

TEST(IniFile, NamesMatchWithoutRegardToCase)
{
    const IniFile ini = IniFile::fromBytes("[Topics 1]\nTitle=Whip finish\n"
                                           "[MAT\xC9RIAUX]\n\xC9PAISSEUR=2\n"
                                           "[\x8Aimano]\nK\x8C=3\n");
    EXPECT_EQ(read(ini, "topics 1", "title"), "Whip finish");
    EXPECT_EQ(read(ini, "TOPICS 1", "TITLE"), "Whip finish");
    // Letters of the code page beyond ASCII fold too.
    EXPECT_EQ(read(ini, "mat\xE9riaux", "\xE9paisseur"), "2");
    EXPECT_EQ(read(ini, "\x9AIMANO", "k\x9C"), "3");
    EXPECT_EQ(read(ini, "mat\xE9riau", "\xE9paisseur"), "<default>");
    EXPECT_EQ(read(ini, "Topics 01", "title"), "<default>");
}

TEST(IniFile, DefaultsForMissingFileSectionOrKeyButNotForEmptyValues)
{
    hw::test::TempTree t;
    const IniFile missing = IniFile::open(t.path(QStringLiteral("nope.ini")), QStringLiteral("nope.ini"));
    EXPECT_EQ(read(missing, "Info", "name"), "<default>");
    EXPECT_TRUE(missing.readSectionKeys("Info").isEmpty());
    t.mkdir(QStringLiteral("folder.ini"));
    EXPECT_EQ(read(IniFile::open(t.path(QStringLiteral("folder.ini")), {}), "Info", "name"), "<default>");
    EXPECT_EQ(read(IniFile::open(QString(), {}), "Info", "name"), "<default>");

    t.write(QStringLiteral("a.ini"), "[Info]\nname=Adams\nnumsteps=\nquoted=\"\"\n");
    const IniFile ini = IniFile::open(t.path(QStringLiteral("a.ini")), {});
    EXPECT_EQ(read(ini, "Info", "name"), "Adams");
    EXPECT_EQ(read(ini, "Info", "colour"), "<default>");
    EXPECT_EQ(read(ini, "Other", "name"), "<default>");
    EXPECT_EQ(read(ini, "Info", "numsteps"), "");
    EXPECT_EQ(read(ini, "Info", "quoted"), "");

    // A file far beyond any lesson is refused unread (this one is sparse: 300 MB of nothing).
    QFile huge(t.path(QStringLiteral("huge.ini")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(300) << 20));
    try {
        IniFile::open(huge.fileName(), QStringLiteral("Flies\\huge.ini"));
        ADD_FAILURE() << "a 300 MB file was read";
    } catch (const hw::EContentError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("File Flies\\huge.ini is too large (314572800 bytes; at most 4 MB)"));
    }
}

TEST(IniFile, ValuesLoseSurroundingBlanksAndOnePairOfQuotes)
{
    const IniFile ini = IniFile::fromBytes("[S]\n"
                                           "  spaced  =  \t two words \t \n"
                                           "dq=\"  inner blanks kept  \"\n"
                                           "sq='single'\n"
                                           "nested=\"'both'\"\n"
                                           "twice=\"\"x\"\"\n"
                                           "mixed=\"half'\n"
                                           "open=\"only the first\n"
                                           "lone=\"\n"
                                           "inside=a \"b\" c\n"
                                           "equals=length = 1 x gap\n");
    EXPECT_EQ(read(ini, "S", "spaced"), "two words");
    EXPECT_EQ(read(ini, "S", "dq"), "  inner blanks kept  ");
    EXPECT_EQ(read(ini, "S", "sq"), "single");
    EXPECT_EQ(read(ini, "S", "nested"), "'both'");
    EXPECT_EQ(read(ini, "S", "twice"), "\"x\"");
    EXPECT_EQ(read(ini, "S", "mixed"), "\"half'");
    EXPECT_EQ(read(ini, "S", "open"), "\"only the first");
    EXPECT_EQ(read(ini, "S", "lone"), "\"");
    EXPECT_EQ(read(ini, "S", "inside"), "a \"b\" c");
    EXPECT_EQ(read(ini, "S", "equals"), "length = 1 x gap");
}

TEST(IniFile, FirstMatchWinsAndOnlyKeyLinesInSectionsCount)
{
    const IniFile ini = IniFile::fromBytes("orphan=before any section\n"
                                           "[Info]\n"
                                           "name=First\n"
                                           "NAME=Second\n"
                                           "; name=Comment\n"
                                           "  ;numsteps=9\n"
                                           "just words\n"
                                           "=no key\n"
                                           "[ Spaced ]\n"
                                           "k=v\n"
                                           "[Info]\n"
                                           "name=Third\n"
                                           "colour=red\n");
    EXPECT_EQ(read(ini, "Info", "name"), "First");
    EXPECT_EQ(read(ini, "Info", "numsteps"), "<default>");
    EXPECT_EQ(read(ini, "Info", "colour"), "<default>"); // the second [Info] is never read
    EXPECT_EQ(read(ini, "", "orphan"), "<default>");
    EXPECT_EQ(read(ini, "Spaced", "k"), "v");
    EXPECT_EQ(ini.readSectionKeys("info"), (QList<QByteArray>{"name", "NAME"}));
}

TEST(IniFile, LineEndingsAndBytes)
{
    const QByteArray lines[] = {
        "[Info]\r\nname=Adams\r\nnumsteps=2\r\n",
        "[Info]\nname=Adams\nnumsteps=2",
        "[Info]\rname=Adams\rnumsteps=2\r",
        "\xEF\xBB\xBF[Info]\r\nname=Adams\r\nnumsteps=2\r\n",
    };
    for (const QByteArray& text : lines) {
        const IniFile ini = IniFile::fromBytes(text);
        EXPECT_EQ(read(ini, "Info", "name"), "Adams") << text.toStdString();
        EXPECT_EQ(read(ini, "Info", "numsteps"), "2") << text.toStdString();
    }
    // Single-byte text is handed over unconverted.
    const IniFile ansi = IniFile::fromBytes("[Info]\nname=Royal Coachman \x96 \xE9t\xE9\n");
    EXPECT_EQ(read(ansi, "Info", "name"), "Royal Coachman \x96 \xE9t\xE9");
}

TEST(IniFile, ValueBufferKeepsTheFirst1023Characters)
{
    const QByteArray longValue(2000, 'v');
    const QByteArray exact(1023, 'e');
    const IniFile ini = IniFile::fromBytes("[S]\nlong=" + longValue + "\nexact=" + exact + "\nquoted=\""
                                           + QByteArray(1023, 'q') + "\"\n");
    EXPECT_EQ(read(ini, "S", "long"), longValue.left(1023));
    EXPECT_EQ(read(ini, "S", "exact"), exact);
    EXPECT_EQ(read(ini, "S", "quoted"), QByteArray(1023, 'q'));
}

TEST(IniFile, KeyListStopsAt8192Bytes)
{
    // 1000 names of 7 letters take 8000 bytes with their NULs, and one more NUL: they fit.
    QByteArray text = "[Materials]\n";
    QList<QByteArray> names;
    for (int i = 0; i < 1000; ++i) {
        names.append("Key" + QByteArray::number(i).rightJustified(4, '0'));
        text += names.back() + "=x\n";
    }
    EXPECT_EQ(IniFile::fromBytes(text).readSectionKeys("Materials"), names);

    // Then a 200-letter name: the list is cut 8190 bytes in, so 190 of its letters remain,
    // and the name after it is lost.
    const QByteArray longName(200, 'L');
    text += longName + "=y\nLost=z\n";
    QList<QByteArray> expected = names;
    expected.append(longName.left(8190 - 8000));
    EXPECT_EQ(IniFile::fromBytes(text).readSectionKeys("Materials"), expected);

    // A cut that falls just after a name's NUL keeps that name whole.
    QByteArray exact = "[M]\n";
    QList<QByteArray> fitting;
    for (int i = 0; i < 819; ++i) { // 819 * 10 = 8190
        fitting.append("Name" + QByteArray::number(i).rightJustified(5, '0'));
        exact += fitting.back() + "=1\n";
    }
    EXPECT_EQ(IniFile::fromBytes(exact + "Next=2\n").readSectionKeys("M"), fitting);
}

TEST(IniFile, TellsCheckersWhatItIgnoresAndWhereValuesLie)
{
    using Kind = hw::IniLineNote::Kind;
    // Lines counted as an editor counts them, whatever the line ends: CRLF, LF or CR.
    const IniFile ini = IniFile::fromBytes("early=1\r\n"      // 1 before any section
                                           "[Info]\r\n"       // 2
                                           "name=Adams\n"     // 3
                                           "no equals here\r" // 4
                                           "=orphan\r\n"      // 5
                                           "\r\n"             // 6
                                           "NAME=Again\r\n"   // 7 repeated key
                                           "[info]\r\n"       // 8 repeated section
                                           "numsteps=2\r\n"   // 9 (never read)
                                           "[Topics 1]\n"     // 10
                                           "title="
                                           + QByteArray(1100, 'T') + "\n"); // 11
    EXPECT_EQ(ini.lineOf("INFO", "Name"), 3);
    EXPECT_EQ(ini.lineOf("Info", "numsteps"), 0) << "the second [info] is never read";
    EXPECT_EQ(ini.sectionLine("topics 1"), 10);
    EXPECT_EQ(ini.sectionNames(), (QList<QByteArray>{"Info", "info", "Topics 1"}));
    std::vector<std::pair<Kind, int>> notes;
    for (const hw::IniLineNote& note : ini.notes())
        notes.emplace_back(note.kind, note.line);
    EXPECT_EQ(notes,
              (std::vector<std::pair<Kind, int>>{{Kind::BeforeFirstSection, 1},
                                                 {Kind::NoEquals, 4},
                                                 {Kind::NoKeyName, 5},
                                                 {Kind::RepeatedKey, 7},
                                                 {Kind::RepeatedSection, 8},
                                                 {Kind::ValueCut, 11}}));

    // The key list note names the first key that readSectionKeys loses or cuts.
    QByteArray text = "[M]\n";
    for (int i = 0; i < 819; ++i) // 819 names of 9 letters and their NULs fill 8190 bytes
        text += "Name" + QByteArray::number(i).rightJustified(5, '0') + "=1\n";
    EXPECT_TRUE(IniFile::fromBytes(text).notes().empty());
    const auto cut = IniFile::fromBytes(text + "Next=2\n").notes();
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].kind, Kind::KeyListCut);
    EXPECT_EQ(cut[0].text, "Next");
    EXPECT_EQ(cut[0].line, 821);
}
