#include "core/text/VisibleCount.h"

#include "core/text/Cp932.h"

int visibleCharacterCount(const QByteArray &cp932)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(cp932.constData());
    const qsizetype length = cp932.size();
    int characters = 0;
    for (qsizetype i = 0; i < length; ++characters)
        i += Cp932::isLeadByte(bytes[i]) ? 2 : 1;
    // Every CR byte is subtracted, even one a broken text puts after a lead byte.
    return characters - static_cast<int>(cp932.count('\r'));
}

// The count of the bytes a save writes (Cp932::encodeReplacing, breaks as CR LF),
// without encoding them: a save turns every character into exactly one CP932
// character, or one "?" where the codec has none (or would drop it), and a
// "\n" into CR LF, which counts once. So the count is the number of characters,
// a surrogate pair being one, less any CR the pane itself holds.
int visiblePaneCount(const QString &paneText)
{
    qsizetype characters = 0;
    const qsizetype length = paneText.size();
    for (qsizetype i = 0; i < length; ++characters)
        i += Cp932::characterLength(paneText, i);
    return int(characters - paneText.count(u'\r'));
}

QString visibleCountText(const QString &paneText)
{
    return QString::number(visiblePaneCount(paneText));
}
