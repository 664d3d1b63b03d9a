#pragma once

#include <QByteArray>
#include <QString>

// Appending to a log-like file that must survive crashes and full disks: the
// file is opened for appending only (never truncated or rewritten), each call
// is one write, and it is on the disk before the call returns.
namespace AppendFile {

enum class Outcome { Written, NotRegular, Denied, NoSpace, NoFolder, Failed };

// Appends `line` to the regular file at path, creating it when missing. A new
// or empty file gets `preamble` first; a file whose last byte is not a line
// feed (a line cut short earlier) gets CR LF first, so the new line never
// continues the fragment. A FIFO, device or folder under the name is refused
// without blocking.
Outcome append(const QString &path, const QByteArray &preamble, const QByteArray &line);

} // namespace AppendFile
