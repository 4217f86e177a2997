#pragma once
// What a whole process costs: its peak resident memory and its wall time, read from the
// kernel's accounting of the child (wait4), the way /usr/bin/time -v does.
#include <QString>
#include <QStringList>

namespace bench {

struct ProcessCost {
    bool ok = false;  // ran and exited with 0
    double peakMb = 0; // peak resident set, MiB
    double wallS = 0;
    QString why; // when not ok
};

// Runs program with args, its output thrown away, and waits for it.
ProcessCost runMeasured(const QString& program, const QStringList& args);

} // namespace bench
