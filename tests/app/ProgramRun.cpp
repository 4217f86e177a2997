#include "ProgramRun.h"

#include "BuiltTools.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

namespace hw::test {

ProgramRun::ProgramRun(const QString& workingDir)
{
    QProcessEnvironment env = offscreenEnvironment();
    env.insert(QStringLiteral("QT_PLUGIN_PATH"),
               qEnvironmentVariable("HW_BINARY_DIR") + QStringLiteral("/tests/app/plugins"));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("hwprobe"));
    process_.setProcessEnvironment(env);
    // The program's warnings go to the test's own output, and cannot fill a pipe.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setWorkingDirectory(workingDir);
    process_.start(programPath(), QStringList{});
    started_ = process_.waitForStarted(30000);
}

ProgramRun::~ProgramRun()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(10000);
    }
}

QString ProgramRun::command(const QString& line, int timeoutMs)
{
    lastLines_.clear();
    process_.write(line.toUtf8() + '\n');
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        qsizetype end;
        while ((end = buffer_.indexOf('\n')) >= 0) {
            const QString reply = QString::fromUtf8(buffer_.left(end)).trimmed();
            buffer_.remove(0, end + 1);
            if (reply.startsWith(QLatin1String("ok")) || reply.startsWith(QLatin1String("fail")))
                return reply;
            lastLines_ << reply;
        }
        if (process_.state() == QProcess::NotRunning)
            return QStringLiteral("fail the program has ended");
        if (deadline.hasExpired())
            return QStringLiteral("fail no answer to ") + line;
        process_.waitForReadyRead(int(qMin<qint64>(deadline.remainingTime(), 500)));
        buffer_ += process_.readAllStandardOutput();
    }
}

bool ProgramRun::waitForExit(int timeoutMs)
{
    if (process_.state() == QProcess::NotRunning)
        return true;
    return process_.waitForFinished(timeoutMs);
}

} // namespace hw::test
