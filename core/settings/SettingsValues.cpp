#include "core/settings/SettingsValues.h"

#include "core/text/Cp932.h"
#include "core/text/IntegerText.h"
#include "core/text/TextFile.h"
#include "platform/IniProfile.h"

#include <QStringDecoder>
#include <QStringList>

QString SettingsReader::string(
    const char *section, const QByteArray &key, const QString &fallback) const
{
    const QByteArray bytes = m_profile.readString(section, key, Cp932::encode(fallback));
    if (m_profile.startsWithUtf8Bom()) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return Cp932::decode(bytes);
}

qint32 SettingsReader::integer(const char *section, const char *key, qint32 fallback) const
{
    // An empty default makes a missing key read as unparsable, hence the fallback.
    return IntegerText::fromSetting(string(section, key, QString()), fallback);
}

bool SettingsReader::boolean(const char *section, const char *key, bool fallback) const
{
    return integer(section, key, fallback ? 1 : 0) != 0;
}

QString SettingsReader::soundPath(const QByteArray &key, const QString &defaultPath) const
{
    const QByteArray bytes = m_profile.readString("General", key, QByteArray());
    if (!m_profile.startsWithUtf8Bom() && !Cp932::holds(defaultPath)
        && (bytes == Cp932::encodeReplacing(defaultPath) || bytes == Cp932::encode(defaultPath)))
        return defaultPath;
    return string("General", key, QString());
}

QList<QByteArray> SettingsReader::keys(const char *section) const
{
    return m_profile.keys(section);
}

void SettingsWriter::string(const char *section, const QByteArray &key, const QString &value)
{
    if (m_profile.startsWithUtf8Bom()) {
        m_profile.writeString(section, key, value.toUtf8());
        return;
    }
    m_profile.writeString(section, key, Cp932::encodeReplacing(value));
    if (const auto lost = TextFile::firstUnmappable(value); lost && !m_keptWhole.contains(value))
        m_replaced.append({ QString::fromLatin1(key), value, lost->character });
}

void SettingsWriter::integer(const char *section, const char *key, qint32 value)
{
    string(section, key, QString::number(value));
}

void SettingsWriter::boolean(const char *section, const char *key, bool value)
{
    string(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QList<QByteArray> SettingsWriter::keys(const char *section) const
{
    return m_profile.keys(section);
}
