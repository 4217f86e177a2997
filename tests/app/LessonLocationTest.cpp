// Which lesson library the installed command starts the program in.
#include "hw/app/LessonLocation.h"

#include "TempTree.h"

#include <gtest/gtest.h>

using namespace hw;

TEST(LessonLocation, TheFolderStartedInWinsOverTheInstalledLibrary)
{
    test::TempTree current;
    test::TempTree installed;
    installed.mkdir(QStringLiteral("Flies"));
    current.mkdir(QStringLiteral("quicktour")); // any one of the folders, in any case
    EXPECT_EQ(locateLessons(current.root().path(), installed.root().path()).folder, current.root().path());

    test::TempTree elsewhere;
    elsewhere.write(QStringLiteral("Flies"), "a file, not a folder");
    elsewhere.mkdir(QStringLiteral("Pictures"));
    EXPECT_EQ(locateLessons(elsewhere.root().path(), installed.root().path()).folder,
              installed.root().path());
    EXPECT_EQ(locateLessons(QString(), installed.root().path()).folder, installed.root().path());
}

TEST(LessonLocation, WithNoLibraryOneMessageNamesBothFoldersAndWhatALibraryHolds)
{
    test::TempTree current;
    const QString missing = current.path(QStringLiteral("not-installed"));
    const LessonLocation where = locateLessons(current.root().path(), missing);
    EXPECT_TRUE(where.folder.isEmpty());
    EXPECT_TRUE(where.message.contains(current.root().path())) << where.message.toStdString();
    EXPECT_TRUE(where.message.contains(missing)) << where.message.toStdString();
    for (const QString& folder : lessonFolderNames())
        EXPECT_TRUE(where.message.contains(folder)) << folder.toStdString();

    // Started inside the installed folder itself, that folder is named once.
    const LessonLocation inside = locateLessons(missing, missing);
    EXPECT_EQ(inside.message.count(missing), 1);
}
