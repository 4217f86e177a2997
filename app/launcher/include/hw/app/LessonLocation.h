#pragma once
// Where the installed program finds its lessons: the folder it is started in when that
// folder holds a lesson library, else the library installed with it.
#include <QString>
#include <QStringList>

namespace hw {

// The folders of a lesson library; a folder holding any of them (in any letter case) is one.
QStringList lessonFolderNames();
bool holdsLessonLibrary(const QString& dir);

struct LessonLocation {
    QString folder;  // the library to start in; empty when there is none
    QString message; // when folder is empty: which folders were searched, what a library holds
};

// currentDir first, then installedDir.
LessonLocation locateLessons(const QString& currentDir, const QString& installedDir);

} // namespace hw
