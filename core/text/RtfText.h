#pragma once

#include <QByteArray>

class QIODevice;

// Rich-text documents as their visible text, the way a rich-text edit control
// shows them; practice texts sometimes come from word processors in this form.
namespace RtfText {

// True for data that starts like an RTF document.
bool isRtf(const QByteArray &head);

// The visible text of the document whose first bytes are `head` and whose rest
// `device` still holds: CP932 bytes with "\n" breaks, read until the document
// ends, the text is longer than `limit` bytes or the document (head included)
// has given `mostBytes` bytes. Throws VemiError
// "ストリームからの読み込みに失敗しました" when the device fails.
QByteArray visibleText(
    const QByteArray &head, QIODevice &device, qsizetype limit, qint64 mostBytes);

} // namespace RtfText
