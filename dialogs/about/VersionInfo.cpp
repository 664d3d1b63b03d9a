#include "dialogs/about/VersionInfo.h"

#include "platform/VersionData.h"

#include <QtEndian>

#include <array>

namespace {
constexpr int VersionParts = 4;
constexpr int PartLength = 10;

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= u' ';
}

QString trimmedOfControls(QString text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}
} // namespace

EVersionInfo::EVersionInfo()
    : VemiError(QStringLiteral("バージョン情報が取得できません."))
{ }

TVersionInfo::TVersionInfo(const QString &fileName)
    : TVersionInfo(VersionData::blockOf(fileName))
{ }

TVersionInfo TVersionInfo::fromBlock(const QByteArray &block)
{
    return TVersionInfo(block);
}

TVersionInfo::TVersionInfo(QByteArray block)
    : m_size(qint32(block.size()))
    , m_block(std::move(block))
{
    if (m_size == 0)
        throw EVersionInfo();
    if (!queryValue(QStringLiteral("\\VarFileInfo\\Translation")) || m_valueLength < 4)
        throw EVersionInfo();
    m_language = hex4(qFromLittleEndian<quint16>(m_value));
    m_codePage = hex4(qFromLittleEndian<quint16>(m_value + 2));
}

bool TVersionInfo::queryValue(const QString &subBlock)
{
    const auto found = VersionData::query(m_block, subBlock);
    if (!found)
        return false;
    m_value = found->data;
    m_valueLength = found->length;
    return true;
}

QString TVersionInfo::value(const QString &subBlock)
{
    if (!queryValue(subBlock))
        throw EVersionInfo();
    if (m_valueLength == 0)
        return QString();
    QString text;
    for (quint32 i = 0; i < m_valueLength; ++i) {
        const auto c = qFromLittleEndian<char16_t>(m_value + 2 * i);
        if (c == u'\0')
            break;
        text += QChar(c);
    }
    return trimmedOfControls(text);
}

QString TVersionInfo::stringValue(const QString &name)
{
    return value(QStringLiteral("\\StringFileInfo\\") + m_language + m_codePage + u'\\' + name);
}

// Walks the version text once; what follows a fourth part is ignored, so a
// longer version can never run past the four parts.
QString TVersionInfo::versionPart(int index)
{
    if (index < 0 || index >= VersionParts)
        return QString();
    std::array<QString, VersionParts> parts;
    int part = 0;
    for (QChar c : FileVersion()) {
        if (c == u'.') {
            if (++part == VersionParts)
                break;
        } else if (parts[part].size() < PartLength) {
            parts[part] += c;
        }
    }
    return parts[index].trimmed();
}
