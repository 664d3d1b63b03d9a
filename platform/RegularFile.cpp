#include "platform/RegularFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

int openRegular(const QByteArray &name, int flags, unsigned mode)
{
    const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, mode_t(mode));
    if (fd < 0)
        return -1;
    struct stat status = {};
    int error = 0;
    if (::fstat(fd, &status) != 0)
        error = errno;
    else if (!S_ISREG(status.st_mode))
        error = ENXIO;
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno; // the O_NONBLOCK that kept a FIFO from waiting is not wanted after
    if (error == 0)
        return fd;
    ::close(fd);
    errno = error;
    return -1;
}

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

namespace {

// Space for the new content is taken before a byte changes: on a full disk the
// file stays as it was instead of being cut where the disk ran out.
bool reserve(int fd, off_t size)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return false;
    if (size <= status.st_size)
        return true;
    const int error = ::posix_fallocate(fd, 0, size);
    if (error == 0)
        return true;
    // Where the file system cannot reserve, the C library writes zeros past the end
    // instead; whatever it added goes again.
    [[maybe_unused]] const int restored = ::ftruncate(fd, status.st_size);
    errno = error;
    return false;
}

// Keeps the file's inode, and with it its links, owner and mode.
bool writeInPlace(const QByteArray &name, const QByteArray &data)
{
    const int fd = openRegular(name, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = reserve(fd, data.size()) && writeAll(fd, data)
        && ::ftruncate(fd, data.size()) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (::close(fd) != 0)
        return false;
    errno = error;
    return ok;
}

// The old file stays whole unless the new content is complete. When the folder
// refuses the temporary file, an existing file that may be written is written in place.
bool replaceThroughTemporary(const QByteArray &name, const QByteArray &data, bool exists)
{
    QSaveFile file(QFile::decodeName(name)); // takes over the old file's permissions
    if (!file.open(QIODevice::WriteOnly))
        return exists && writeInPlace(name, data);
    // The device's buffer hides a full disk from commit(): flush it and look first.
    return file.write(data) == data.size() && file.flush() && file.commit();
}

QByteArray folderOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.first(slash);
}

} // namespace

bool isRegular(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

bool openForReading(QFile &file, const QString &path, const QByteArray &nativePath)
{
    const int fd
        = openRegular(nativePath.isEmpty() ? QFile::encodeName(path) : nativePath, O_RDONLY);
    if (fd < 0)
        return false;
    file.setFileName(path);
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

QByteArray trustedName(const QString &path)
{
    QByteArray name = QFile::encodeName(path);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status = {};
        if (::lstat(name.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return name; // what is not there is the caller's to create or report
        if (status.st_uid != ::geteuid() && status.st_uid != 0) {
            errno = EACCES;
            return {};
        }
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(name.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length >= target.size())
            return {};
        target.truncate(length);
        name = target.startsWith('/') ? target : folderOf(name) + '/' + target;
    }
    errno = ELOOP;
    return {};
}

bool write(const QString &path, const QByteArray &data)
{
    if (path.isEmpty())
        return false;
    const QByteArray name = trustedName(path);
    if (name.isEmpty())
        return false;
    struct stat status = {};
    if (::stat(name.constData(), &status) != 0)
        return errno == ENOENT && replaceThroughTemporary(name, data, false);
    if (!S_ISREG(status.st_mode))
        return false;
    // A rename would leave the other links on the old content, or make the file ours.
    if (status.st_nlink > 1 || status.st_uid != ::geteuid())
        return writeInPlace(name, data);
    return replaceThroughTemporary(name, data, true);
}

} // namespace RegularFile
