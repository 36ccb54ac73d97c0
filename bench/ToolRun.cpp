#include "ToolRun.h"

#include <QFile>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

Timing RunTool(const QString& program, const QStringList& arguments, const QString& input)
{
    // Built before the clock starts: only the process is timed.
    std::vector<QByteArray> bytes {QFile::encodeName(program)};
    for (const QString& argument : arguments)
        bytes.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray in = QFile::encodeName(input);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, in.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    rusage usage {};
    // The usage wait4 gives is the child's own and that of the children it waited for.
    const bool spawned = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0;
    const bool waited = spawned && wait4(pid, &status, 0, &usage) == pid;
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&files);
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Timing::Failed();
    const auto cpu = [](const timeval& t) { return qint64(t.tv_sec) * 1000000000 + qint64(t.tv_usec) * 1000; };
    return {std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count(),
            cpu(usage.ru_utime) + cpu(usage.ru_stime)};
}
