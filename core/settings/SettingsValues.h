#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class IniProfile;

// How the settings file's values are spelt, for every section alike: CP932, or
// UTF-8 in a file an editor saved with a byte order mark.
class SettingsReader
{
public:
    explicit SettingsReader(const IniProfile &profile)
        : m_profile(profile)
    { }
    QString string(const char *section, const QByteArray &key, const QString &fallback) const;
    // An empty or unparsable value reads as the fallback.
    qint32 integer(const char *section, const char *key, qint32 fallback) const;
    bool boolean(const char *section, const char *key, bool fallback) const;
    // A default sound path in a program folder whose name CP932 cannot hold was
    // written with "?" (or, by older versions, the codec's substitute) in place of
    // those characters; it is recognised by exactly those bytes and read back whole.
    QString soundPath(const QByteArray &key, const QString &defaultPath) const;
    QList<QByteArray> keys(const char *section) const;

private:
    const IniProfile &m_profile;
};

class SettingsWriter
{
public:
    // A value the file's encoding cannot hold whole is written with "?".
    struct Replaced
    {
        QString key;
        QString value;
        QString character; // the first one replaced
    };

    // Values equal to one of keptWhole (the default sound paths, which the
    // reader recognises) are not counted as replaced.
    SettingsWriter(IniProfile &profile, const QStringList &keptWhole = {})
        : m_profile(profile)
        , m_keptWhole(keptWhole)
    { }
    void string(const char *section, const QByteArray &key, const QString &value);
    void integer(const char *section, const char *key, qint32 value);
    void boolean(const char *section, const char *key, bool value);
    QList<QByteArray> keys(const char *section) const;
    QList<Replaced> replaced() const { return m_replaced; }

private:
    IniProfile &m_profile;
    QStringList m_keptWhole;
    QList<Replaced> m_replaced;
};
