#pragma once

#include "core/Errors.h"

#include <QByteArray>
#include <QString>

// Raised when a file's version values cannot be read; it always says the same.
class EVersionInfo : public VemiError
{
public:
    EVersionInfo();
};

// Reads the values of a file's version block: product name, copyright and
// the parts of the file version.
class TVersionInfo
{
public:
    // Raises EVersionInfo when the file has no version block or no translation.
    explicit TVersionInfo(const QString &fileName);
    // The same over a block given as it is.
    static TVersionInfo fromBlock(const QByteArray &block);

    // The trimmed string at the sub-block path; raises EVersionInfo when absent.
    QString value(const QString &subBlock);
    QString FileVersion() { return stringValue(QStringLiteral("FileVersion")); }
    QString LegalCopyright() { return stringValue(QStringLiteral("LegalCopyright")); }
    QString ProductName() { return stringValue(QStringLiteral("ProductName")); }
    // Field 0 to 3 of the file version "a.b.c.d", each at most 10 characters.
    QString versionPart(int index);

    QString language() const { return m_language; }
    QString codePage() const { return m_codePage; }

private:
    explicit TVersionInfo(QByteArray block);
    bool queryValue(const QString &subBlock);
    QString stringValue(const QString &name);

    const char *m_value = nullptr; // the latest query's value, inside m_block
    quint32 m_valueLength = 0;
    qint32 m_size = 0;
    QByteArray m_block; // owned: freed with the object, also when construction fails
    QString m_language;
    QString m_codePage;
};
