#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A disk that fills up, without mounting anything: call runs in a child process
// whose files may not grow past `room` bytes, where writes beyond it fail with
// EFBIG (SIGXFSZ ignored) as they fail with ENOSPC on a full disk. Gives call's
// result, or -1 when the child did not end by itself.
inline int onFullDisk(long room, const std::function<int()> &call)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { rlim_t(room), rlim_t(room) };
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? call() : 125);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
