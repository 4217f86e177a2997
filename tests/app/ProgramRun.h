#pragma once
// Runs the program binary as a process on Qt's offscreen platform, with the test probe
// plugin loaded through Qt's own plugin variables, and talks to the probe line by line.
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace hw::test {

class ProgramRun {
public:
    // Starts build/app/hacklewright in workingDir.
    explicit ProgramRun(const QString& workingDir);
    ~ProgramRun(); // kills the process if it still runs

    bool started() const { return started_; }
    // Sends one probe command and returns its answer ("ok ..." or "fail ..."); lines the
    // probe sends before it (window lists) are kept in lastLines().
    QString command(const QString& line, int timeoutMs = 30000);
    const QStringList& lastLines() const { return lastLines_; }
    bool waitForExit(int timeoutMs);
    int exitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }

private:
    QProcess process_;
    QByteArray buffer_;
    QStringList lastLines_;
    bool started_ = false;
};

} // namespace hw::test
