#include "platform/IniProfile.h"

#include "platform/RegularFile.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>

namespace {

// Callers used to read into a 2048-byte buffer; values are cut the same way so nothing
// downstream sees more than that.
constexpr qsizetype MaxValueLength = 2047;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QByteArrayView stripBlanks(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Lookup key for names: ASCII letters fold to lower case, but a double-byte character is
// copied as is because its trail byte may look like a letter.
QByteArray foldName(QByteArrayView name)
{
    name = stripBlanks(name);
    QByteArray folded(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        folded[i] = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        if (isLeadByte(c) && i + 1 < name.size()) {
            ++i;
            folded[i] = name[i];
        }
    }
    return folded;
}

bool sectionName(QByteArrayView line, QByteArrayView *name)
{
    const QByteArrayView text = stripBlanks(line);
    if (!text.startsWith('['))
        return false;
    const QByteArrayView rest = text.sliced(1);
    const qsizetype close = rest.indexOf(']');
    *name = stripBlanks(close < 0 ? rest : rest.first(close));
    return true;
}

bool splitKeyLine(QByteArrayView line, QByteArrayView *key, QByteArrayView *value)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || stripBlanks(line).startsWith(';'))
        return false;
    *key = stripBlanks(line.first(equals));
    *value = stripBlanks(line.sliced(equals + 1));
    return true;
}

QByteArrayView unquote(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Values in a UTF-8 file are cut before a character's first byte; in a CP932
// file only a walk from the start can tell a lead byte from a trail byte with
// the same value.
QByteArray cutValue(QByteArrayView value, bool utf8)
{
    if (value.size() <= MaxValueLength)
        return value.toByteArray();
    qsizetype length = 0;
    if (utf8) {
        length = MaxValueLength;
        while (length > 0 && isUtf8Continuation(value[length]))
            --length;
        return value.first(length).toByteArray();
    }
    while (length < value.size()) {
        const qsizetype step = isLeadByte(value[length]) ? 2 : 1;
        if (length + step > MaxValueLength)
            break;
        length += step;
    }
    return value.first(length).toByteArray();
}

// The reader drops blanks around a value and then one pair of matching quotes,
// so a value it would change so is written inside one more pair.
QByteArray valueLine(QByteArray value)
{
    value.replace('\r', ' ').replace('\n', ' ');
    const QByteArrayView stripped = stripBlanks(value);
    const bool changes
        = stripped.size() != value.size() || unquote(stripped).size() != stripped.size();
    return changes ? '"' + value + '"' : value;
}

// Windows refuses to write over a read-only file; root ignores the mode, so look at the bits too.
bool isReadOnly(const QFileInfo &info)
{
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

IniProfile::IniProfile(const QString &path)
    : m_path(path)
{
    QFile file;
    parse(RegularFile::openForReading(file, path) ? file.readAll() : QByteArray());
}

QString IniProfile::path() const
{
    return m_path;
}

QByteArray IniProfile::readString(
    const QByteArray &section, const QByteArray &key, const QByteArray &defaultValue) const
{
    const Section *found = findSection(section);
    if (!found)
        return cutValue(defaultValue, false);
    const auto it = found->keyLines.constFind(foldName(key));
    if (it == found->keyLines.cend())
        return cutValue(defaultValue, false);
    QByteArrayView name;
    QByteArrayView value;
    splitKeyLine(found->lines.at(*it), &name, &value);
    return cutValue(unquote(value), m_utf8Bom);
}

void IniProfile::writeString(
    const QByteArray &section, const QByteArray &key, const QByteArray &value)
{
    const QByteArray line = key + '=' + valueLine(value);
    const auto sectionIt = m_sectionIndex.constFind(foldName(section));
    if (sectionIt == m_sectionIndex.cend()) {
        appendSection(section, key, line);
        return;
    }
    Section &target = m_sections[*sectionIt];
    const QByteArray folded = foldName(key);
    if (const auto keyIt = target.keyLines.constFind(folded); keyIt != target.keyLines.cend()) {
        target.lines[*keyIt] = line;
        return;
    }
    // Only non-key lines follow the last key, so no indexed position shifts.
    const qsizetype at = target.lastKeyLine + 1;
    target.lines.insert(at, line);
    target.keyLines.insert(folded, at);
    target.lastKeyLine = at;
}

QList<QByteArray> IniProfile::keys(const QByteArray &section) const
{
    QList<QByteArray> result;
    const Section *found = findSection(section);
    if (!found)
        return result;
    for (qsizetype i = 0; i <= found->lastKeyLine; ++i) {
        QByteArrayView name;
        QByteArrayView value;
        // Duplicates are listed once, like readString sees them.
        if (splitKeyLine(found->lines.at(i), &name, &value)
            && found->keyLines.value(foldName(name), -1) == i)
            result.append(name.toByteArray());
    }
    return result;
}

bool IniProfile::save()
{
    const QFileInfo info(m_path);
    if (info.exists() && isReadOnly(info))
        return false;
    return RegularFile::write(m_path, serialize());
}

void IniProfile::parse(const QByteArray &data)
{
    static constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF");
    m_utf8Bom = data.startsWith(Utf8Bom);
    m_sections.append(Section());
    const char *pos = data.constData();
    const char *const end = pos + data.size();
    while (pos < end) {
        const char *lineEnd = pos;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        const QByteArray line(pos, lineEnd - pos);
        // The mark is kept in the line, so a save writes it back, but it must not
        // hide the first section's header.
        const bool first = pos == data.constData();
        addLine(line, QByteArrayView(line).sliced(first && m_utf8Bom ? Utf8Bom.size() : 0));
        pos = lineEnd;
        if (pos < end)
            pos += (*pos == '\r' && pos + 1 < end && pos[1] == '\n') ? 2 : 1;
    }
}

void IniProfile::addLine(const QByteArray &line, QByteArrayView content)
{
    QByteArrayView name;
    if (sectionName(content, &name)) {
        // A repeated section stays in the file but only its first occurrence is used.
        const QByteArray folded = foldName(name);
        if (!m_sectionIndex.contains(folded))
            m_sectionIndex.insert(folded, m_sections.size());
        m_sections.append(Section { line, {}, {}, -1 });
        return;
    }
    Section &current = m_sections.last();
    current.lines.append(line);
    QByteArrayView value;
    // Key-like lines before the first header belong to no section and are never matched.
    if (m_sections.size() > 1 && splitKeyLine(content, &name, &value)) {
        const qsizetype at = current.lines.size() - 1;
        const QByteArray folded = foldName(name);
        if (!current.keyLines.contains(folded))
            current.keyLines.insert(folded, at);
        current.lastKeyLine = at;
    }
}

const IniProfile::Section *IniProfile::findSection(const QByteArray &name) const
{
    const auto it = m_sectionIndex.constFind(foldName(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections.at(*it);
}

void IniProfile::appendSection(
    const QByteArray &name, const QByteArray &key, const QByteArray &line)
{
    if (!endsWithBlankLine())
        m_sections.last().lines.append(QByteArray());
    m_sectionIndex.insert(foldName(name), m_sections.size());
    Section added { '[' + name + ']', { line }, {}, 0 };
    added.keyLines.insert(foldName(key), 0);
    m_sections.append(added);
}

// An empty profile counts as ending blank: a new file must not start with an empty line.
bool IniProfile::endsWithBlankLine() const
{
    const Section &last = m_sections.last();
    if (!last.lines.isEmpty())
        return stripBlanks(last.lines.last()).isEmpty();
    return m_sections.size() == 1;
}

QByteArray IniProfile::serialize() const
{
    QByteArray data;
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        const Section &section = m_sections.at(i);
        if (i > 0)
            data.append(section.header).append("\r\n");
        for (const QByteArray &line : section.lines)
            data.append(line).append("\r\n");
    }
    return data;
}
