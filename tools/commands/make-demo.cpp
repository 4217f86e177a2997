// make-demo DIR: writes a complete demo lesson library (patterns, Quick Tour, Techniques
// and the splash video, narrated through espeak-ng and sox) into DIR, which must be new or empty.
#include "Command.h"

#include "hw/demo/DemoLibrary.h"

#include <QTextStream>

namespace {

int makeDemo(const QStringList& args)
{
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: hacklewright-tool make-demo DIR\n";
        return 2;
    }
    hw::demo::DemoReport report;
    QString error;
    if (!hw::demo::makeDemoLibrary(args.first(), &report, &error)) {
        err << "make-demo: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "make-demo: wrote " << report.files << " files (" << report.videos << " videos, "
                        << report.frames << " frames) into " << args.first() << " in " << report.milliseconds
                        << " ms on " << report.threads << " threads\n";
    return 0;
}

const bool registered = hw::tool::registerCommand(
    {"make-demo", "make-demo DIR",
     "write the narrated demo lesson library into DIR (new or empty; speaks through espeak-ng and sox)",
     makeDemo});

} // namespace
