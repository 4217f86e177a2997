#pragma once
// Checks a lesson library the way the tutor reads it and lists every mistake an author can
// make in it: the tutor's own load errors, missing or unreadable files, frame ranges that
// the videos cannot play, and lines the INI reader silently ignores. A mistake is reported
// where it is made, and everything that does not depend on it is checked all the same.
#include <QByteArray>
#include <QDir>
#include <QString>

#include <vector>

namespace hw::check {

// Errors stop the learner; warnings work but are probably not what the author meant; notes
// are harmless here but matter elsewhere (a name whose case differs is found on this
// system, not on every disc).
enum class Severity { Error, Warning, Note };

struct Finding {
    Severity severity = Severity::Error;
    QString code;    // stable short name of the kind of mistake, e.g. "range-outside-video"
    QString file;    // content path, e.g. "Flies\Adams.ini"; empty for the library as a whole
    int line = 0;    // counted from 1; 0 when no line applies
    QString message; // for the author, in plain words
};

struct CheckReport {
    QString root;
    int patterns = 0; // pattern files found
    int videos = 0;   // videos opened
    std::vector<Finding> findings;

    int count(Severity severity) const;
    bool has(const QString& code) const;
};

// Reads the library under root as the tutor does (with the same reader and loader) and
// checks it. Opens every video through the clip device to learn its length.
CheckReport checkLibrary(const QDir& root);

// "file:line: error: message" lines and a summary line.
QString formatText(const CheckReport& report);
// The same as one JSON object: {"root", "errors", "warnings", "notes", "findings": [...]}.
QByteArray formatJson(const CheckReport& report);

} // namespace hw::check
