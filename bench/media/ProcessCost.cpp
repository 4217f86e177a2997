#include "ProcessCost.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

extern char** environ;

namespace bench {

ProcessCost runMeasured(const QString& program, const QStringList& args)
{
    ProcessCost cost;
    std::vector<QByteArray> owned{program.toLocal8Bit()};
    for (const QString& a : args)
        owned.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : owned)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int err = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (err != 0) {
        cost.why = QStringLiteral("cannot start %1").arg(program);
        return cost;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    cost.wallS = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    cost.peakMb = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!cost.ok)
        cost.why = QStringLiteral("%1 failed (status %2)").arg(program).arg(status);
    return cost;
}

} // namespace bench
