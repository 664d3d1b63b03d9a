#include "AppendFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AppendFile {

namespace {

Outcome outcomeOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return Outcome::Denied;
    case ENOSPC:
    case EDQUOT:
        return Outcome::NoSpace;
    case ENOENT:
    case ENOTDIR:
        return Outcome::NoFolder;
    case EISDIR:
    case ENXIO: // a FIFO nobody reads
        return Outcome::NotRegular;
    default:
        return Outcome::Failed;
    }
}

// O_NONBLOCK keeps a FIFO from waiting for a reader; only a regular file is kept.
int openForAppend(const QString &path, Outcome &outcome)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        outcome = outcomeOf(errno);
        return -1;
    }
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        outcome = Outcome::NotRegular;
        ::close(fd);
        return -1;
    }
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        outcome = outcomeOf(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

// What must come before the line: the preamble for an empty file, a line
// break after a fragment, nothing after a complete line.
bool lead(int fd, const QByteArray &preamble, QByteArray &out)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return false;
    if (status.st_size == 0) {
        out = preamble;
        return true;
    }
    char last = 0;
    ssize_t got = 0;
    do
        got = ::pread(fd, &last, 1, status.st_size - 1);
    while (got < 0 && errno == EINTR);
    if (got != 1)
        return false;
    out = last == '\n' ? QByteArray() : QByteArrayLiteral("\r\n");
    return true;
}

// One write call; O_APPEND places it after whatever another writer added.
// A short write (a disk filling up) is continued, and then reports the error.
bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t written = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

Outcome append(const QString &path, const QByteArray &preamble, const QByteArray &line)
{
    if (path.isEmpty())
        return Outcome::Failed;
    Outcome outcome = Outcome::Written;
    const int fd = openForAppend(path, outcome);
    if (fd < 0)
        return outcome;
    QByteArray data;
    bool ok = lead(fd, preamble, data);
    if (ok) {
        data += line;
        ok = writeAll(fd, data) && ::fsync(fd) == 0;
    }
    const int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok)
        return outcomeOf(errno);
    return ok ? Outcome::Written : outcomeOf(error);
}

} // namespace AppendFile
