#include "core/text/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Cp932 {

namespace {
// ICU's "windows-31j" is exactly code page 932, NEC and IBM extensions included.
constexpr auto CodecName = "windows-31j";
constexpr auto Flags = QStringConverter::Flag::Stateless;
} // namespace

QByteArray encode(const QString &text)
{
    static QStringEncoder encoder(CodecName, Flags);
    Q_ASSERT(encoder.isValid());
    return encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    static QStringDecoder decoder(CodecName, Flags);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

bool holds(const QString &text)
{
    return decode(encode(text)) == text;
}

qsizetype characterLength(const QString &text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
        ? 2
        : 1;
}

QByteArray encodeReplacing(const QString &text)
{
    const QByteArray bytes = encode(text);
    if (decode(bytes) == text)
        return bytes;
    QByteArray replaced;
    replaced.reserve(bytes.size() + text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = characterLength(text, i);
        const QString character = text.mid(i, length);
        const QByteArray encoded = encode(character);
        replaced += decode(encoded) == character ? encoded : QByteArray("?");
        i += length;
    }
    return replaced;
}

QByteArray fromPaneText(const QString &paneText)
{
    QString withCrLf = paneText;
    withCrLf.replace(u'\n', QStringLiteral("\r\n"));
    return encode(withCrLf);
}

} // namespace Cp932
