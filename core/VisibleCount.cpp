#include "VisibleCount.h"

#include "Cp932.h"

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

QString visibleCountText(const QString &paneText)
{
    // Counted on the bytes a save writes, so the count and the saved file agree.
    QString withCrLf = paneText;
    withCrLf.replace(u'\n', QStringLiteral("\r\n"));
    return QString::number(visibleCharacterCount(Cp932::encodeReplacing(withCrLf)));
}
