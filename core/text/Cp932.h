#pragma once

#include <QByteArray>
#include <QString>

// Conversion between Qt strings and code page 932 (Windows Shift-JIS), the
// encoding of every file, setting and count the trainer deals with.
namespace Cp932 {

// 0x81-0x9F and 0xE0-0xFC begin a double-byte character.
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QByteArray encode(const QString &text);
// A lead byte with no trail byte after it (a byte outside 0x40-0x7E and
// 0x80-0xFC, or the end of the data) decodes with that byte, if any, to one
// U+FFFD, so that a text decodes to as many characters as it counts.
QString decode(const QByteArray &bytes);

// True when code page 932 holds the text exactly: nothing replaced, nothing dropped.
bool holds(const QString &text);

// The UTF-16 units of the character at i: 2 for a surrogate pair, else 1.
qsizetype characterLength(const QString &text, qsizetype i);

// As a save writes the text: each character code page 932 cannot hold, or that
// the codec would drop without a trace (zero-width space, joiners, U+FEFF, soft
// hyphen, variation selectors), becomes one "?".
QByteArray encodeReplacing(const QString &text);

// A pane holds "\n" line breaks; on disk and for counting every break is CR LF.
QByteArray fromPaneText(const QString &paneText);

} // namespace Cp932
