#include "platform/AppendFile.h"

#include "platform/RegularFile.h"

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
    case EFBIG: // past the file size limit: as full for this file
        return Outcome::NoSpace;
    case ENOENT:
    case ENOTDIR:
        return Outcome::NoFolder;
    case EISDIR:
    case ENXIO: // a FIFO, a device
        return Outcome::NotRegular;
    default:
        return Outcome::Failed;
    }
}

// The owner's write bit, not access(): a read-only mark holds even for root.
bool markedReadOnly(const QByteArray &name)
{
    struct stat status = {};
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode)
        && !(status.st_mode & S_IWUSR);
}

// Read as well as append: lead() looks at the file's last byte. A link someone
// else planted is not followed (RegularFile::trustedName), nor one put in its
// place after the check.
int openForAppend(const QString &path, Outcome &outcome)
{
    const QByteArray name = RegularFile::trustedName(path);
    if (name.isEmpty() || markedReadOnly(name)) {
        outcome = name.isEmpty() ? outcomeOf(errno) : Outcome::Denied;
        return -1;
    }
    const int fd = RegularFile::openRegular(name, O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW, 0666);
    if (fd < 0)
        outcome = errno == ELOOP ? Outcome::Denied : outcomeOf(errno);
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

// A write cut short leaves the file as it was: the fragment is cut off again,
// unless someone else has appended after it meanwhile (their row must stay).
void takeBackFragment(int fd, off_t before, qsizetype written)
{
    const int error = errno;
    struct stat now;
    if (before >= 0 && ::fstat(fd, &now) == 0 && now.st_size > before
        && now.st_size <= before + written)
        (void)::ftruncate(fd, before);
    errno = error;
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
        // O_APPEND puts it after whatever another writer added, and a short
        // write (a disk filling up) is continued before the error is reported.
        data += line;
        const off_t before = ::lseek(fd, 0, SEEK_END);
        ok = RegularFile::writeAll(fd, data) && ::fsync(fd) == 0;
        if (!ok)
            takeBackFragment(fd, before, data.size());
    }
    const int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok)
        return outcomeOf(errno);
    return ok ? Outcome::Written : outcomeOf(error);
}

} // namespace AppendFile
