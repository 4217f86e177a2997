#pragma once
// What a whole process costs: its peak resident memory and its wall time. The peak is read
// by GNU time (/usr/bin/time), which forks it from a small process: a child spawned straight
// from this one would report at least this process's own peak, which Linux carries across exec.
#include <QString>
#include <QStringList>

namespace bench {

struct ProcessCost {
    bool ok = false;   // ran and exited with 0
    double peakMb = 0; // peak resident set, MiB
    double wallS = 0;
    QString why; // when not ok
};

// Runs program with args, its output thrown away, and waits for it (at most ten minutes).
ProcessCost runMeasured(const QString& program, const QStringList& args);

} // namespace bench
