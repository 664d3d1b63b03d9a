#include "core/text/TextFile.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

namespace TextFile {

namespace {

QString cannotCreate(const QString &path)
{
    return QStringLiteral("ファイル %1 を作成できません").arg(path);
}

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Every line break becomes "\n". A lead byte keeps the byte after it as its
// trail, unless that byte breaks the line: a stray lead byte must not swallow
// a break (the problem catalogue lays the text out the same way).
QByteArray unifyLineBreaks(const QByteArray &bytes)
{
    QByteArray result;
    result.reserve(bytes.size());
    const qsizetype length = bytes.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char c = bytes[i];
        if (Cp932::isLeadByte(static_cast<unsigned char>(c)) && i + 1 < length
            && !isLineBreak(bytes[i + 1])) {
            result.append(c).append(bytes[++i]);
        } else if (c == '\r') {
            result.append('\n');
            if (i + 1 < length && bytes[i + 1] == '\n')
                ++i;
        } else {
            result.append(c);
        }
    }
    return result;
}

} // namespace

// Texts from other editors often come as UTF-8. Half-width katakana pairs in
// Shift-JIS (ﾊｲ is CA B2) are also valid two-byte UTF-8, so valid UTF-8 alone
// proves nothing: it takes a BOM, or a character of three or more bytes (every
// kana and kanji is one), which Shift-JIS text is practically never valid as.
std::optional<QString> decodeUtf8(const QByteArray &bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const bool hasBom = bytes.startsWith(bom);
    const bool hasLongCharacter = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    if (!hasBom && !hasLongCharacter)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(hasBom ? bytes.mid(bom.size()) : bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

QString decodeCp932(const QByteArray &bytes)
{
    return Cp932::decode(unifyLineBreaks(bytes));
}

QString cannotOpenMessage(const QString &path)
{
    return QStringLiteral("ファイル %1 は開けません").arg(path);
}

void openForPane(QFile &file, const QString &path, const QByteArray &nativePath)
{
    if (!RegularFile::openForReading(file, path, nativePath))
        throw VemiError(cannotOpenMessage(path));
    if (file.size() > MaxFileBytes)
        throw VemiError(QStringLiteral("文字列の大きさが メモ の制限を越えました"));
}

QString read(const QString &path)
{
    QFile file;
    openForPane(file, path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VemiError(cannotOpenMessage(path));
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    if (auto text = decodeUtf8(bytes)) {
        text->replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        return *text;
    }
    return decodeCp932(bytes);
}

QByteArray encode(const QString &paneText)
{
    QString withCrLf = paneText;
    withCrLf.replace(u'\n', QStringLiteral("\r\n"));
    return Cp932::encodeReplacing(withCrLf);
}

void write(const QString &path, const QString &paneText)
{
    const QFileInfo info(path);
    // The owner's write bit, not access(): the file's read-only mark holds even for root.
    const bool readOnly = info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
    if (readOnly || !RegularFile::write(path, encode(paneText)))
        throw VemiError(cannotCreate(path));
}

std::optional<Unmappable> firstUnmappable(const QString &paneText)
{
    if (Cp932::holds(paneText))
        return std::nullopt;
    int line = 1;
    for (qsizetype i = 0; i < paneText.size();) {
        const qsizetype length = Cp932::characterLength(paneText, i);
        const QString character = paneText.mid(i, length);
        if (character == u'\n')
            ++line;
        else if (!Cp932::holds(character))
            return Unmappable { character, line };
        i += length;
    }
    return std::nullopt;
}

} // namespace TextFile
