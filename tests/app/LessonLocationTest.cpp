// Which lesson library the installed command starts the program in.
#include "hw/app/LessonLocation.h"

#include "TempTree.h"

#include <gtest/gtest.h>

using namespace hw;

namespace {

void makeLibrary(test::TempTree& t)
{
    t.mkdir(QStringLiteral("flies")); // in any letter case
    t.mkdir(QStringLiteral("QuickTour"));
    t.mkdir(QStringLiteral("TECHNIQUES"));
}

} // namespace

TEST(LessonLocation, TheFirstCompleteLibraryInTheDocumentedOrderIsTaken)
{
    test::TempTree current, userData, installed;
    makeLibrary(installed);
    LessonPlaces places{{}, {}, current.root().path(), userData.root().path(), installed.root().path()};

    // A folder of fishing photos, or one with only some of the sections, is no library.
    current.mkdir(QStringLiteral("Flies"));
    current.mkdir(QStringLiteral("QuickTour"));
    current.write(QStringLiteral("Techniques"), "a file, not a folder");
    LessonLocation where = locateLessons(places);
    EXPECT_EQ(where.folder, installed.root().path());
    EXPECT_EQ(where.reason, QStringLiteral("the lessons installed with Hacklewright"));

    makeLibrary(userData);
    EXPECT_EQ(locateLessons(places).folder, userData.root().path());
    test::TempTree started;
    makeLibrary(started);
    places.current = started.root().path();
    EXPECT_EQ(locateLessons(places).folder, started.root().path());

    test::TempTree named;
    makeLibrary(named);
    places.environment = named.root().path();
    EXPECT_EQ(locateLessons(places).reason, QStringLiteral("the folder named in HACKLEWRIGHT_LESSONS"));
    places.argument = installed.root().path();
    where = locateLessons(places);
    EXPECT_EQ(where.folder, installed.root().path());
    EXPECT_EQ(where.reason, QStringLiteral("the folder named on the command line"));
}

TEST(LessonLocation, ANamedFolderWithoutALibraryIsAnErrorAndNoneFoundNamesEveryPlace)
{
    test::TempTree current, installed, named;
    makeLibrary(installed);
    const QString userData = current.path(QStringLiteral("no-user-lessons"));
    LessonPlaces places{named.root().path(), {}, current.root().path(), userData, installed.root().path()};
    LessonLocation where = locateLessons(places);
    EXPECT_TRUE(where.folder.isEmpty());
    EXPECT_TRUE(where.message.startsWith(
        QStringLiteral("Hacklewright found no lesson library in %1, the folder named on the command line.")
            .arg(named.root().path())))
        << where.message.toStdString();
    places.argument.clear();
    places.environment = named.root().path();
    EXPECT_TRUE(locateLessons(places).message.contains(QStringLiteral("HACKLEWRIGHT_LESSONS")));

    places.environment.clear();
    places.installed = current.path(QStringLiteral("not-installed"));
    where = locateLessons(places);
    EXPECT_TRUE(where.folder.isEmpty());
    EXPECT_EQ(where.message.count(QStringLiteral("found no lesson library")), 1);
    for (const QString& word :
         lessonFolderNames() + QStringList{current.root().path(), userData, places.installed})
        EXPECT_TRUE(where.message.contains(word)) << word.toStdString() << "\n"
                                                  << where.message.toStdString();

    // Started inside the installed folder itself, that folder is named once.
    places.current = places.installed;
    EXPECT_EQ(locateLessons(places).message.count(places.installed), 1);
    EXPECT_TRUE(launcherUsage(places).contains(QStringLiteral("HACKLEWRIGHT_LESSONS")));
}
