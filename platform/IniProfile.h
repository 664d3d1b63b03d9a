#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// Reads the whole file once; writes are buffered in memory and committed together by save().
// Works on raw CP932 bytes with Windows private-profile rules, so settings files edited by hand
// or by older versions round-trip without losing anything we do not understand.
class IniProfile
{
public:
    // A missing or unreadable file, or one that is not a regular file, gives an empty profile.
    explicit IniProfile(const QString &path);

    QString path() const;
    // True when the file starts with a UTF-8 byte order mark, which editors write
    // for UTF-8: its values are then UTF-8 rather than CP932. The mark itself stays.
    bool startsWithUtf8Bom() const { return m_utf8Bom; }
    QByteArray readString(
        const QByteArray &section, const QByteArray &key, const QByteArray &defaultValue) const;
    void writeString(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    // Key names of the section in file order, as spelled in the file.
    QList<QByteArray> keys(const QByteArray &section) const;
    // False when the file cannot be written. Replaced whole where the folder allows,
    // else written in place (a writable file in a locked folder).
    bool save();

private:
    struct Section
    {
        QByteArray header; // raw "[name]" line; empty for the lines before any section
        QList<QByteArray> lines; // raw lines after the header, without line breaks
        // Folded key name -> index in lines of its first occurrence.
        QHash<QByteArray, qsizetype> keyLines;
        qsizetype lastKeyLine = -1; // new keys go right after this line
    };

    void parse(const QByteArray &data);
    void addLine(const QByteArray &line, QByteArrayView content);
    const Section *findSection(const QByteArray &name) const;
    void appendSection(const QByteArray &name, const QByteArray &key, const QByteArray &line);
    bool endsWithBlankLine() const;
    QByteArray serialize() const;

    QString m_path;
    bool m_utf8Bom = false;
    QList<Section> m_sections; // [0] holds the lines before the first header
    QHash<QByteArray, qsizetype> m_sectionIndex; // folded name -> first section with that name
};
