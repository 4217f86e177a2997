#pragma once
// The programs of this build that tests run as processes, found under HW_BINARY_DIR (the
// test main names this build there unless the environment names another), and a run of
// one with what it printed.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace hw::test {

inline QString toolPath()
{
    return qEnvironmentVariable("HW_BINARY_DIR") + QStringLiteral("/tools/hacklewright-tool");
}

inline QString programPath()
{
    return qEnvironmentVariable("HW_BINARY_DIR") + QStringLiteral("/app/hacklewright");
}

// This process's environment, the program run on Qt's offscreen platform.
inline QProcessEnvironment offscreenEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

struct ProcessRun {
    int exitCode = -1; // -1 when it did not start, crashed or outran the time-out
    QByteArray out;
    QString err;
    QString text() const { return QString::fromUtf8(out).trimmed(); }
};

// Runs program to its end (stdin closed) in folder (this process's when empty).
inline ProcessRun runProcess(const QString& program, const QStringList& args,
                             const QProcessEnvironment& env = offscreenEnvironment(),
                             const QString& folder = {}, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, args);
    p.closeWriteChannel(); // a command that asks a question gets no answer
    ProcessRun run;
    if (p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit)
        run.exitCode = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

// hacklewright-tool with args.
inline ProcessRun runTool(const QStringList& args, const QProcessEnvironment& env = offscreenEnvironment(),
                          const QString& folder = {})
{
    return runProcess(toolPath(), args, env, folder);
}

} // namespace hw::test
