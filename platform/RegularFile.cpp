#include "platform/RegularFile.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
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

// Keeps the file's inode, and with it its links, owner and mode.
bool writeInPlace(const QString &path, const QByteArray &data)
{
    const int fd = openRegular(QFile::encodeName(path), O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, data) && ::ftruncate(fd, data.size()) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// The old file stays whole unless the new content is complete. When the folder
// refuses the temporary file, an existing file that may be written is written in place.
bool replaceThroughTemporary(const QString &path, const QByteArray &data, bool exists)
{
    QSaveFile file(path); // takes over the old file's permissions
    if (!file.open(QIODevice::WriteOnly))
        return exists && writeInPlace(path, data);
    return file.write(data) == data.size() && file.commit();
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

bool write(const QString &path, const QByteArray &data)
{
    if (path.isEmpty())
        return false;
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT && replaceThroughTemporary(path, data, false);
    if (!S_ISREG(status.st_mode))
        return false;
    // A rename would leave the other links on the old content, or make the file ours.
    if (status.st_nlink > 1 || status.st_uid != ::geteuid())
        return writeInPlace(path, data);
    return replaceThroughTemporary(path, data, true);
}

} // namespace RegularFile
