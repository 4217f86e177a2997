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
    const QStringList names = lessonFolderNames();
    const QStringList entries = QDir(dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (names.contains(entry, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

namespace {

QString noLibraryMessage(const QString& currentDir, const QString& installedDir)
{
    const QString searched = (currentDir.isEmpty() || QDir(currentDir) == QDir(installedDir))
        ? QStringLiteral("Hacklewright found no lesson library in %1.")
              .arg(QDir::toNativeSeparators(installedDir))
        : QStringLiteral("Hacklewright found no lesson library in the folder it was started in, %1, "
                         "nor in %2, where its own lessons are installed.")
              .arg(QDir::toNativeSeparators(currentDir), QDir::toNativeSeparators(installedDir));
    return searched
        + QStringLiteral("\n\nA lesson library is a folder holding the folders Flies (for each pattern an "
                         ".ini file with its steps and materials, a .bmp picture and an .avi video), "
                         "QuickTour (QuickTour.ini and QuickTour.avi), Techniques (Techniques.ini and "
                         "Techniques.avi) and SplashScreen (SplashScreen.avi). Start Hacklewright in such "
                         "a folder to use its lessons.");
}

} // namespace

LessonLocation locateLessons(const QString& currentDir, const QString& installedDir)
{
    if (holdsLessonLibrary(currentDir))
        return {currentDir, {}};
    if (holdsLessonLibrary(installedDir))
        return {installedDir, {}};
    return {{}, noLibraryMessage(currentDir, installedDir)};
}

} // namespace hw
