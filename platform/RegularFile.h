#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Files the trainer reads and writes are regular files: a FIFO, a device or a
// folder under a text or settings file's name must never block the program.
namespace RegularFile {

// True when path names a regular file (symbolic links followed).
bool isRegular(const QString &path);

// Opens path for reading when it is a regular file, by nativePath's bytes when
// those are given (a name the file system's encoding cannot spell). Never blocks:
// a FIFO is refused before anyone writes to it.
bool openForReading(QFile &file, const QString &path, const QByteArray &nativePath = {});

// Writes data as the whole content of path. Through a temporary file renamed
// over the old one where the folder allows it, so a failed write leaves the old
// file whole; in place where the folder does not, or where the rename would
// break the file's hard links or hand it to another owner; in place, the space is
// reserved first, so a full disk leaves the old content too. Symbolic links are
// followed as trustedName() does. False on failure, or when path exists and is
// not a regular file.
bool write(const QString &path, const QByteArray &data);

// The name that path's symbolic links lead to, following only links the
// learner (or root) owns, as the kernel does in shared folders: a link someone
// else planted must not steer a write into another file. Empty, errno EACCES,
// for such a link; path itself when it is no link or does not exist.
QByteArray trustedName(const QString &path);

// For callers that need the descriptor itself (to append, say): opens the file
// named by these bytes with flags (creating it with mode where O_CREAT asks)
// without waiting on a FIFO, and keeps it only when it is a regular file. -1 on
// failure, errno telling why (ENXIO: something that is not a regular file).
int openRegular(const QByteArray &name, int flags, unsigned mode = 0);

// Writes all of data, going on after short writes. False on failure, errno
// telling why (ENOSPC when the disk takes nothing more).
bool writeAll(int fd, const QByteArray &data);

} // namespace RegularFile
