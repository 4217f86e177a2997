#include "hw/ContentPath.h"
#include "TempTree.h"

#include <gtest/gtest.h>

using hw::test::TempTree;

TEST(ContentPath, ResolvesEachComponentWithoutRegardToCase)
{
    TempTree t;
    t.write(QStringLiteral("Flies/Adams.bmp"), "x");
    t.write(QStringLiteral("flies2/adams.BMP"), "y");
    const QString expected = t.path(QStringLiteral("Flies/Adams.bmp"));
    EXPECT_EQ(hw::resolveContentPath(QStringLiteral("Flies\\ADAMS.bmp"), t.root()), expected);
    EXPECT_EQ(hw::resolveContentPath(QStringLiteral("FLIES/adams.BMP"), t.root()), expected);
    EXPECT_EQ(hw::resolveContentPath(QStringLiteral("Flies2\\Adams.bmp"), t.root()),
              t.path(QStringLiteral("flies2/adams.BMP")));
    EXPECT_TRUE(hw::resolveContentPath(QStringLiteral("Flies\\Missing.bmp"), t.root()).isEmpty());
    EXPECT_TRUE(hw::resolveContentPath(QString(), t.root()).isEmpty());
}

TEST(ContentPath, PrefersTheExactSpellingAndAcceptsAbsolutePaths)
{
    TempTree t;
    t.write(QStringLiteral("d/Name.ini"), "a");
    t.write(QStringLiteral("d/NAME.ini"), "b");
    EXPECT_EQ(hw::resolveContentPath(QStringLiteral("d\\NAME.ini"), t.root()),
              t.path(QStringLiteral("d/NAME.ini")));
    EXPECT_EQ(
        hw::resolveContentPath(t.path(QStringLiteral("D/name.ini")), QDir(QStringLiteral("/nonexistent")))
            .isEmpty(),
        false);
}

// Names read from content stay inside the library; the program's own absolute paths keep
// working, with the same rule for their parts.
TEST(ContentPath, RefusesNamesThatLeaveTheLibrary)
{
    TempTree t;
    t.write(QStringLiteral("lib/Flies/Adams.ini"), "a");
    t.write(QStringLiteral("outside/secret.ini"), "s");
    const QDir lib(t.path(QStringLiteral("lib")));
    for (const char* name : {"..\\outside\\secret.ini", "Flies\\..\\..\\outside\\secret.ini",
                             "Flies/../../outside/secret.ini", "\\Flies\\Adams.ini", "C:\\Flies\\Adams.ini",
                             "c:Flies\\Adams.ini", "Flies\\..\\Flies\\Adams.ini"}) {
        const QString path = QString::fromLatin1(name);
        EXPECT_TRUE(hw::resolveContentPath(path, lib).isEmpty()) << name;
        EXPECT_TRUE(hw::ContentLookup(lib).resolve(path).isEmpty()) << name;
        EXPECT_TRUE(hw::contentPathRefusal(path).contains(path)) << name;
    }
    EXPECT_TRUE(hw::contentPathRefusal(QStringLiteral("Flies\\.\\adams.INI")).isEmpty());
    const QString adams = t.path(QStringLiteral("lib/Flies/Adams.ini"));
    EXPECT_EQ(hw::resolveContentPath(lib.absolutePath() + QStringLiteral("/flies\\ADAMS.ini")), adams);
    EXPECT_EQ(hw::ContentLookup(lib).resolve(QStringLiteral("FLIES\\adams.ini")), adams);
    EXPECT_TRUE(
        hw::resolveContentPath(lib.absolutePath() + QStringLiteral("/Flies\\..\\..\\outside\\secret.ini"))
            .isEmpty());
}

TEST(ContentPath, ListsMatchingEntriesOfAnyKindWithoutRegardToCase)
{
    TempTree t;
    t.write(QStringLiteral("Flies/a.ini"), "");
    t.write(QStringLiteral("Flies/B.INI"), "");
    t.write(QStringLiteral("Flies/.hidden.ini"), "");
    t.write(QStringLiteral("Flies/c.bmp"), "");
    t.write(QStringLiteral("Flies/d.ini.bak"), "");
    t.mkdir(QStringLiteral("Flies/folder.ini"));
    QStringList names = hw::listContentFolder(QStringLiteral("flies"), QStringLiteral("*.ini"), t.root());
    names.sort();
    EXPECT_EQ(names,
              (QStringList{QStringLiteral(".hidden.ini"), QStringLiteral("B.INI"), QStringLiteral("a.ini"),
                           QStringLiteral("folder.ini")}));
    EXPECT_TRUE(hw::listContentFolder(QStringLiteral("NoSuch"), QStringLiteral("*.ini"), t.root()).isEmpty());
}
