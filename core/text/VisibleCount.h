#pragma once

#include <QByteArray>
#include <QString>

// The trainer's measure of typing: characters of a CP932 text, a double-byte
// character counting once, less one for every CR byte (so a CR LF break counts once).
int visibleCharacterCount(const QByteArray &cp932);

// The same count for a pane's text, whose line breaks are "\n".
int visiblePaneCount(const QString &paneText);
// That count as decimal text, as the status bar and the score list show it.
QString visibleCountText(const QString &paneText);
