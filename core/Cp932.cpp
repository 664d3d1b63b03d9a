#include "Cp932.h"

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

QByteArray fromPaneText(const QString &paneText)
{
    QString withCrLf = paneText;
    withCrLf.replace(u'\n', QStringLiteral("\r\n"));
    return encode(withCrLf);
}

} // namespace Cp932
