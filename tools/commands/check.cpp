// check [DIR] [--strict] [--portable] [--json]: reads a lesson library as the tutor does and
// lists every mistake found in it, by file and line. Exit 0 when clean, 1 with errors (or,
// with --strict, warnings; with --portable, notes: names that only this system forgives),
// 2 for a wrong command line.
#include "Command.h"

#include "hw/check/LibraryCheck.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

int runCheck(const QStringList& args)
{
    QTextStream err(stderr);
    bool strict = false, portable = false, json = false;
    QStringList rest;
    for (const QString& a : args) {
        if (a == QLatin1String("--strict"))
            strict = true;
        else if (a == QLatin1String("--portable"))
            portable = true;
        else if (a == QLatin1String("--json"))
            json = true;
        else
            rest << a;
    }
    if (rest.size() > 1 || (!rest.isEmpty() && rest.first().startsWith(QLatin1String("--")))) {
        err << "usage: hacklewright-tool check [DIR] [--strict] [--portable] [--json]\n";
        return 2;
    }
    QDir root = QDir::current();
    if (!rest.isEmpty()) {
        if (!QFileInfo(rest.first()).isDir()) {
            err << "hacklewright-tool check: no folder " << rest.first() << '\n';
            return 2;
        }
        root = QDir(QFileInfo(rest.first()).absoluteFilePath());
    }
    const hw::check::CheckReport report = hw::check::checkLibrary(root);
    QTextStream out(stdout);
    if (json)
        out << QString::fromUtf8(hw::check::formatJson(report));
    else
        out << hw::check::formatText(report);
    const bool failed = report.count(hw::check::Severity::Error) > 0
        || (strict && report.count(hw::check::Severity::Warning) > 0)
        || (portable && report.count(hw::check::Severity::Note) > 0);
    return failed ? 1 : 0;
}

const bool registered = hw::tool::registerCommand(
    {"check", "check [DIR] [--strict] [--portable] [--json]",
     "find every mistake in a lesson library (DIR or the current folder)", runCheck});

} // namespace
