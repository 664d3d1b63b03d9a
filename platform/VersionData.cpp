#include "platform/VersionData.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QtEndian>

namespace VersionData {

namespace {
constexpr quint16 Language = 0x0411;
constexpr quint16 CodePage = 0x03A4;
const QString TranslationPath = QStringLiteral("\\VarFileInfo\\Translation");

void appendRecord(QByteArray &block, const QString &path, const QByteArray &value, quint32 length)
{
    block += path.toUtf8();
    block += '\0';
    char header[8];
    qToLittleEndian<quint32>(length, header);
    qToLittleEndian<quint32>(quint32(value.size()), header + 4);
    block.append(header, 8);
    block += value;
}

QByteArray utf16z(const QString &text)
{
    QByteArray bytes((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
    return bytes;
}
} // namespace

QByteArray makeBlock(
    quint16 language, quint16 codePage, const QList<std::pair<QString, QString>> &strings)
{
    QByteArray block;
    char translation[4];
    qToLittleEndian<quint16>(language, translation);
    qToLittleEndian<quint16>(codePage, translation + 2);
    appendRecord(block, TranslationPath, QByteArray(translation, 4), 4);
    const QString prefix = QStringLiteral("\\StringFileInfo\\%1%2\\")
                               .arg(language, 4, 16, QLatin1Char('0'))
                               .arg(codePage, 4, 16, QLatin1Char('0'))
                               .toUpper();
    for (const auto &[name, value] : strings)
        appendRecord(block, prefix + name, utf16z(value), quint32(value.size() + 1));
    return block;
}

QByteArray blockOf(const QString &file)
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (file.isEmpty() || QFileInfo(file).canonicalFilePath() != self)
        return QByteArray();
    return makeBlock(Language, CodePage,
        { { QStringLiteral("FileVersion"), QStringLiteral("0.1.1.20") },
            { QStringLiteral("ProductName"), QStringLiteral("Vemi Tapiro") },
            { QStringLiteral("LegalCopyright"),
                QStringLiteral("Copyright (C) VemiTrainer developers") } });
}

std::optional<Value> query(const QByteArray &block, const QString &subBlock)
{
    qsizetype at = 0;
    while (at < block.size()) {
        const qsizetype end = block.indexOf('\0', at);
        if (end < 0 || end + 9 > block.size())
            break;
        const QString path = QString::fromUtf8(block.constData() + at, end - at);
        const quint32 length = qFromLittleEndian<quint32>(block.constData() + end + 1);
        const quint32 bytes = qFromLittleEndian<quint32>(block.constData() + end + 5);
        const qsizetype data = end + 9;
        if (data + qsizetype(bytes) > block.size())
            break;
        if (path.compare(subBlock, Qt::CaseInsensitive) == 0)
            return Value { block.constData() + data, length };
        at = data + bytes;
    }
    return std::nullopt;
}

} // namespace VersionData
