#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// A practice text as both the problem list measures it and the left pane shows
// it, so that the two never see different texts: the data up to its first zero
// byte; an RTF document as its visible text; a UTF-8 text (as TextFile tells it)
// as its characters.
namespace PracticeText {

struct Text
{
    QByteArray bytes; // CP932, or UTF-8 without its BOM
    bool utf8 = false;
};

// Reads at most TextFile::MaxFileBytes from the device; an RTF document's
// visible text stops once it is longer than visibleLimit bytes. Throws VemiError
// "ストリームからの読み込みに失敗しました" when the device fails.
Text read(QIODevice &device, qsizetype visibleLimit);

// The text as CP932 bytes, line breaks as they are: a UTF-8 text converted the
// way a save converts it, "?" for each character CP932 cannot hold.
QByteArray toCp932(const Text &text);

// The text for a pane, every line break "\n".
QString toPaneText(const Text &text);

// Reads the file for the left pane; nativePath, when not empty, is the name's
// bytes, for a name that the file system's encoding cannot spell. Throws
// VemiError "ファイル %s は開けません" (%s being path) when it cannot be read, and
// the pane-limit message when it is larger than TextFile::MaxFileBytes.
QString load(const QString &path, const QByteArray &nativePath = QByteArray());

} // namespace PracticeText
