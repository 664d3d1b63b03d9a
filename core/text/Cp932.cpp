#include "core/text/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

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

namespace {

QString decodeWellFormed(QByteArrayView bytes)
{
    static QStringDecoder decoder(CodecName, Flags);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

constexpr bool isTrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The first lead byte from `from` on without a trail byte after it, or -1.
qsizetype firstBrokenLead(QByteArrayView bytes, qsizetype from)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = from; i < bytes.size(); ++i) {
        if (!isLeadByte(data[i]))
            continue;
        if (i + 1 >= bytes.size() || !isTrailByte(data[i + 1]))
            return i;
        ++i;
    }
    return -1;
}

} // namespace

// The codec would drop a lead byte at the end and make two characters of a lead
// byte and a byte that cannot trail it; the character counts take each as one
// character, so each becomes one replacement character here.
QString decode(const QByteArray &bytes)
{
    qsizetype broken = firstBrokenLead(bytes, 0);
    if (broken < 0)
        return decodeWellFormed(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype start = 0;
    for (; broken >= 0; broken = firstBrokenLead(bytes, start)) {
        text += decodeWellFormed(QByteArrayView(bytes).sliced(start, broken - start));
        text += QChar(QChar::ReplacementCharacter);
        start = std::min(broken + 2, bytes.size());
    }
    return text + decodeWellFormed(QByteArrayView(bytes).sliced(start));
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
