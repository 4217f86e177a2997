#pragma once
// Where the installed program finds its lessons. The places are searched in this order, and
// the first that holds a complete lesson library (the three section folders) is taken:
//   a folder named on the command line, a folder named in HACKLEWRIGHT_LESSONS,
//   the folder the program is started in, the user's own lessons folder
//   ($XDG_DATA_HOME/hacklewright/lessons), the demo library installed with the program.
// A folder named on the command line or in the environment that holds no library is an
// error: the user asked for it, and another library in its place would mislead.
#include <QString>
#include <QStringList>

namespace hw {

// The folders of a lesson library, the three sections first.
QStringList lessonFolderNames();
// A complete library: Flies, QuickTour and Techniques are folders there (in any letter case).
bool holdsLessonLibrary(const QString& dir);

struct LessonPlaces {
    QString argument;    // named on the command line (empty: none)
    QString environment; // named in HACKLEWRIGHT_LESSONS (empty: none)
    QString current;     // the folder started in
    QString userData;    // the user's own lessons folder
    QString installed;   // the demo library installed with the program
};

// The user's own lessons folder, from XDG_DATA_HOME or HOME.
QString userLessonsFolder();

struct LessonLocation {
    QString folder;  // the library to start in; empty when there is none
    QString reason;  // when found: which place it is, for one line on standard error
    QString message; // when not: which folders were searched, what a library holds
};

LessonLocation locateLessons(const LessonPlaces& places);

// The launcher's --help: how it is called and where it looks.
QString launcherUsage(const LessonPlaces& places);

} // namespace hw
