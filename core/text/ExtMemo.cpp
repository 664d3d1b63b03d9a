#include "core/text/ExtMemo.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "core/text/PracticeText.h"
#include "core/text/TextFile.h"
#include "platform/RegularFile.h"

#include <QFile>

namespace {

// Visible RTF text that can hold TextLimit characters: no character takes more
// than two bytes, and two more settle a CR LF pair or a trail byte at the edge.
constexpr qsizetype RtfLimit = 2 * qsizetype(TExtMemo::TextLimit) + 2;
bool isLineBreak(unsigned char byte)
{
    return byte == '\r' || byte == '\n';
}

// A lead byte takes the next byte as its trail unless that byte breaks the line:
// a stray lead byte must not swallow a line break, or the layout would lose it.
qsizetype characterLength(const unsigned char *bytes, qsizetype at, qsizetype size)
{
    return Cp932::isLeadByte(bytes[at]) && at + 1 < size && !isLineBreak(bytes[at + 1]) ? 2 : 1;
}

// Turns every lone CR and lone LF into CR LF and keeps the first `limit` characters.
QByteArray withCrLfBreaks(const QByteArray &raw, qsizetype limit)
{
    const auto *in = reinterpret_cast<const unsigned char *>(raw.constData());
    const qsizetype size = raw.size();
    QByteArray text(2 * size, Qt::Uninitialized);
    char *out = text.data();
    qsizetype characters = 0;
    qsizetype i = 0;
    while (i < size && characters < limit) {
        if (isLineBreak(in[i])) {
            if (characters + 2 > limit)
                break;
            *out++ = '\r';
            *out++ = '\n';
            characters += 2;
            i += in[i] == '\r' && i + 1 < size && in[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        const qsizetype length = characterLength(in, i, size);
        for (qsizetype k = 0; k < length; ++k)
            *out++ = char(in[i + k]);
        ++characters;
        i += length;
    }
    text.truncate(out - text.constData());
    return text;
}

} // namespace

TExtMemo::TExtMemo(QObject *parent)
    : QObject(parent)
{
    layOut();
}

QByteArray TExtMemo::line(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return {};
    const DisplayLine &line = m_lines[index];
    qsizetype length = line.length;
    if (length > MaxLineBytes) {
        // Cut before a double-byte character that would not fit whole.
        const auto *bytes = reinterpret_cast<const unsigned char *>(m_text.constData());
        qsizetype end = line.start;
        while (end < line.start + MaxLineBytes) {
            const qsizetype step = characterLength(bytes, end, m_text.size());
            if (end + step > line.start + MaxLineBytes)
                break;
            end += step;
        }
        length = end - line.start;
    }
    return m_text.mid(line.start, length);
}

void TExtMemo::setLineLength(int columns)
{
    if (columns < 0 || columns == m_lineLength)
        return;
    m_lineLength = columns;
    layOut();
}

void TExtMemo::loadFromFile(const QString &path, const QByteArray &nativePath)
{
    // Only a regular file: a named pipe would block the scan and a device never ends.
    QFile file;
    if (!RegularFile::openForReading(file, path, nativePath))
        throw VemiError(TextFile::cannotOpenMessage(path));
    loadFromStream(file);
}

// The same text the left pane gets when the file is opened from the problem list.
void TExtMemo::loadFromStream(QIODevice &device)
{
    m_text = withCrLfBreaks(PracticeText::toCp932(PracticeText::read(device, RtfLimit)), TextLimit);
    layOut();
}

CatalogueEntry TExtMemo::measureProblem(const QString &path, const QByteArray &nativePath)
{
    TExtMemo memo;
    memo.loadFromFile(path, nativePath);
    return catalogueEntry(
        path.mid(path.lastIndexOf(u'/') + 1), memo.text(), memo.lineCount(), memo.line(0));
}

void TExtMemo::layOut()
{
    m_lines.clear();
    const auto *bytes = reinterpret_cast<const unsigned char *>(m_text.constData());
    const qsizetype size = m_text.size();
    const qsizetype columns = wrapColumns();
    qsizetype lineStart = 0;
    qsizetype used = 0;
    qsizetype i = 0;
    while (i < size) {
        if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            m_lines.append({ lineStart, i - lineStart });
            i += 2;
            lineStart = i;
            used = 0;
            continue;
        }
        // A character's width in half-width columns is its length in bytes.
        const qsizetype width = characterLength(bytes, i, size);
        if (used > 0 && used + width > columns) {
            m_lines.append({ lineStart, i - lineStart });
            lineStart = i;
            used = 0;
        }
        used += width;
        i += width;
    }
    m_lines.append({ lineStart, size - lineStart });
}
