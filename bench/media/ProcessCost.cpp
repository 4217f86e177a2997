#include "ProcessCost.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

namespace bench {

ProcessCost runMeasured(const QString& program, const QStringList& args)
{
    ProcessCost cost;
    QTemporaryFile report;
    if (!report.open()) {
        cost.why = QStringLiteral("cannot make a temporary file");
        return cost;
    }
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer wall;
    wall.start();
    p.start(QStringLiteral("/usr/bin/time"),
            QStringList{QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("-o"), report.fileName(),
                        program}
                + args);
    if (!p.waitForStarted()) {
        cost.why = QStringLiteral("cannot run /usr/bin/time (apt-get install time)");
        return cost;
    }
    const bool ended = p.waitForFinished(600000);
    cost.wallS = double(wall.nsecsElapsed()) / 1e9;
    if (!ended) {
        p.kill();
        p.waitForFinished();
    }
    bool number = false;
    const QStringList lines = QString::fromLatin1(report.readAll()).trimmed().split(QLatin1Char('\n'));
    cost.peakMb = lines.last().toDouble(&number) / 1024.0; // kilobytes
    cost.ok = ended && number && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!cost.ok)
        cost.why = QStringLiteral("%1 %2 failed: %3")
                       .arg(program, args.join(QLatin1Char(' ')), lines.join(QLatin1Char(' ')));
    return cost;
}

} // namespace bench
