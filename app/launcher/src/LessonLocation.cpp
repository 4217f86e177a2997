#include "hw/app/LessonLocation.h"

#include <QDir>

namespace hw {

QStringList lessonFolderNames()
{
    return {QStringLiteral("Flies"), QStringLiteral("QuickTour"), QStringLiteral("Techniques"),
            QStringLiteral("SplashScreen")};
}

bool holdsLessonLibrary(const QString& dir)
{
    if (dir.isEmpty())
        return false;
    const QStringList entries = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const QStringList sections = lessonFolderNames().mid(0, 3);
    for (const QString& section : sections) {
        if (!entries.contains(section, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QString userLessonsFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data)) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return QString();
        data = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(data + QStringLiteral("/hacklewright/lessons"));
}

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString whatALibraryHolds()
{
    return QStringLiteral(
        "A lesson library is a folder holding the folders Flies (for each pattern an .ini file with its "
        "steps and materials, a .bmp picture and an .avi video), QuickTour (QuickTour.ini and "
        "QuickTour.avi), Techniques (Techniques.ini and Techniques.avi) and SplashScreen (SplashScreen.avi). "
        "Name such a folder on the command line (hacklewright FOLDER) or in HACKLEWRIGHT_LESSONS, start "
        "Hacklewright in it, or put it in %1.");
}

struct Place {
    QString folder;
    QString description; // "the folder it was started in, /x"
};

QString searchedList(const QList<Place>& places)
{
    QStringList parts;
    for (const Place& p : places)
        parts << p.description;
    if (parts.size() <= 1)
        return parts.join(QString());
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(", nor in ") + last;
}

} // namespace

LessonLocation locateLessons(const LessonPlaces& places)
{
    const QString help = QStringLiteral("\n\n") + whatALibraryHolds().arg(native(places.userData));
    // A folder the user named is the only one tried.
    if (!places.argument.isEmpty()) {
        if (holdsLessonLibrary(places.argument))
            return {places.argument, QStringLiteral("the folder named on the command line"), {}};
        return {{},
                {},
                QStringLiteral(
                    "Hacklewright found no lesson library in %1, the folder named on the command line.")
                        .arg(native(places.argument))
                    + help};
    }
    if (!places.environment.isEmpty()) {
        if (holdsLessonLibrary(places.environment))
            return {places.environment, QStringLiteral("the folder named in HACKLEWRIGHT_LESSONS"), {}};
        return {{},
                {},
                QStringLiteral("Hacklewright found no lesson library in %1, the folder named in "
                               "HACKLEWRIGHT_LESSONS.")
                        .arg(native(places.environment))
                    + help};
    }
    QList<Place> searched;
    auto consider = [&](const QString& folder, const QString& description) {
        if (folder.isEmpty())
            return false;
        for (const Place& p : searched)
            if (QDir(p.folder) == QDir(folder))
                return false; // named once, in its first role
        searched.append({folder, description.arg(native(folder))});
        return holdsLessonLibrary(folder);
    };
    if (consider(places.current, QStringLiteral("the folder it was started in, %1")))
        return {places.current, QStringLiteral("the folder it was started in"), {}};
    if (consider(places.userData, QStringLiteral("your own lessons folder, %1")))
        return {places.userData, QStringLiteral("your own lessons folder"), {}};
    if (consider(places.installed, QStringLiteral("%1, where its own lessons are installed")))
        return {places.installed, QStringLiteral("the lessons installed with Hacklewright"), {}};
    return {{},
            {},
            QStringLiteral("Hacklewright found no lesson library in %1.").arg(searchedList(searched)) + help};
}

QString launcherUsage(const LessonPlaces& places)
{
    return QStringLiteral("Usage: hacklewright [FOLDER] [options for the program]\n"
                          "Starts the Hacklewright fly-tying tutor on a lesson library: a folder holding "
                          "the folders Flies, QuickTour and Techniques.\n"
                          "The library is the first of these that holds one:\n"
                          "  FOLDER                 the folder named on the command line (only it is tried)\n"
                          "  HACKLEWRIGHT_LESSONS   a folder named in this environment variable (only it is "
                          "tried)\n"
                          "  the folder Hacklewright is started in\n"
                          "  %1   your own lessons folder\n"
                          "  %2   the demo lessons installed with Hacklewright\n"
                          "The folder chosen, and why, is said on standard error.\n"
                          "  -h, --help             show this and end\n")
        .arg(native(places.userData), native(places.installed));
}

} // namespace hw
