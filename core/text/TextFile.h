#pragma once

#include <QString>

#include <optional>

class QFile;

// Plain text files as the trainer reads and writes them: code page 932 with
// CR LF line breaks on disk, "\n" breaks in the panes.
namespace TextFile {

// Larger files are refused rather than loaded into a pane that could not cope.
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;

// The file's text up to its first zero byte, every CR LF, lone CR and lone LF a
// line break, double-byte characters never split. A UTF-8 file (with a BOM, or
// a character of three or more bytes) is read as UTF-8. Throws VemiError
// "ファイル %s は開けません" when it is not a regular file or cannot be read, and the pane-limit
// message when it is larger than MaxFileBytes.
QString read(const QString &path);

// "ファイル %s は開けません" for path.
QString cannotOpenMessage(const QString &path);

// Opens path for a pane, by nativePath's bytes when those are given (a name the
// file system's encoding cannot spell). Throws VemiError with cannotOpenMessage()
// when it is not a regular file or cannot be opened, and the pane-limit message
// when it is larger than MaxFileBytes.
void openForPane(QFile &file, const QString &path, const QByteArray &nativePath = QByteArray());

// The text of a UTF-8 file (BOM dropped, line breaks left as they are), or
// nothing when the bytes are not to be read as UTF-8: that takes a BOM, or valid
// UTF-8 holding a character of three or more bytes.
std::optional<QString> decodeUtf8(const QByteArray &bytes);

// CP932 bytes as pane text: every CR LF, lone CR and lone LF a "\n".
QString decodeCp932(const QByteArray &bytes);

// The pane's text as the bytes written to disk: CP932, CR LF, no break added at
// the end. A character CP932 cannot hold is written as "?".
QByteArray encode(const QString &paneText);

// Writes the pane's text, replacing the file in one step where its folder allows
// (a failed write leaves the old file whole), in place where it does not. A
// read-only file, a folder or a FIFO is refused. Throws VemiError
// "ファイル %s を作成できません" on failure.
void write(const QString &path, const QString &paneText);

struct Unmappable
{
    QString character;
    int line; // from 1
};

// The first character of the text that CP932 cannot hold, if any.
std::optional<Unmappable> firstUnmappable(const QString &paneText);

} // namespace TextFile
