// The installed `hacklewright` command: finds a lesson library (hw/app/LessonLocation.h says
// where it looks), says which one on standard error, and starts the program in it; with none,
// says so once and ends. The program itself always reads its lessons from its current folder.
#include "hw/app/LessonLocation.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

// Where the installed files lie, from the folder this command is installed in.
QString installed(const char* fromBinDir)
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(self).absolutePath() + QLatin1Char('/') + QString::fromUtf8(fromBinDir));
}

bool hasDisplay()
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("offscreen")))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// On a terminal the message goes there; started from a menu it is also shown in a box, since
// nobody reads the session's log.
void report(int& argc, char** argv, const QString& message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (isatty(STDERR_FILENO) || !hasDisplay())
        return;
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Hacklewright"), message, QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char** argv)
{
    hw::LessonPlaces places;
    places.environment = qEnvironmentVariable("HACKLEWRIGHT_LESSONS");
    places.current = QDir::currentPath();
    places.userData = hw::userLessonsFolder();
    places.installed = installed(HW_LESSONS_FROM_BINDIR);
    // A first argument that is not an option names the library; the rest go to the program
    // (Qt's own options among them, some with values).
    std::vector<char*> forwarded;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help") {
            std::fputs(hw::launcherUsage(places).toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (i == 1 && !arg.startsWith('-'))
            places.argument = QDir(QFile::decodeName(arg)).absolutePath();
        else
            forwarded.push_back(argv[i]);
    }
    const hw::LessonLocation where = hw::locateLessons(places);
    if (where.folder.isEmpty()) {
        report(argc, argv, where.message);
        return 1;
    }
    std::fprintf(stderr, "Hacklewright: lessons from %s (%s)\n",
                 QDir::toNativeSeparators(where.folder).toLocal8Bit().constData(),
                 where.reason.toLocal8Bit().constData());
    const QByteArray program = QFile::encodeName(installed(HW_PROGRAM_FROM_BINDIR));
    if (!QDir::setCurrent(where.folder)) {
        report(argc, argv, QStringLiteral("Hacklewright cannot open the folder %1.").arg(where.folder));
        return 1;
    }
    std::vector<char*> args{const_cast<char*>(program.constData())};
    args.insert(args.end(), forwarded.begin(), forwarded.end());
    args.push_back(nullptr);
    execv(program.constData(), args.data());
    const int error = errno;
    report(argc, argv,
           QStringLiteral("Hacklewright cannot start %1: %2")
               .arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(error))));
    return 127;
}
