#pragma once

#include "core/practice/ProblemCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QObject>

class QIODevice;

// The hidden memo that measures a problem file: it loads the file, holds its text
// as CP932 bytes with CR LF breaks and lays it out in display lines. The layout uses
// fixed cells rather than glyph widths: a double-byte character is one cell, a
// single-byte character half a cell, and a line is lineLength + 4 half-width columns
// wide (the formatting rectangle reaches two cells past the line length), so 84
// columns with the default. A line breaks after the last character that fits.
class TExtMemo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int lineLength READ lineLength WRITE setLineLength)

public:
    static constexpr int DefaultLineLength = 80;
    // The most a load takes in, counted in characters of the converted text: a
    // double-byte character, a CR and an LF are one each. A CR LF is kept whole or
    // not at all, so the text never ends in half a line break.
    static constexpr int TextLimit = 64 * 1024;
    // Longest display line handed out, in bytes.
    static constexpr int MaxLineBytes = 4096;

    explicit TExtMemo(QObject *parent = nullptr);

    int lineLength() const { return m_lineLength; }
    qsizetype wrapColumns() const { return qsizetype(m_lineLength) + 4; }
    QByteArray text() const { return m_text; }
    // At least 1; a text ending in CR LF has an empty last line.
    int lineCount() const { return int(m_lines.size()); }
    // Without the CR LF that ends a paragraph; empty when index is out of range.
    QByteArray line(int index) const;

    // Negative lengths are ignored.
    void setLineLength(int columns);

    // Takes the text as PracticeText reads it (up to a zero byte, RTF as its
    // visible text, UTF-8 converted to CP932) with every lone CR and lone LF turned
    // into CR LF. nativePath, when not empty, holds the bytes of a name the file
    // system's encoding cannot spell. Throws VemiError "ファイル <path> は開けません"
    // when path is not a readable file, and "ストリームからの読み込みに失敗しました"
    // when reading fails; the memo then keeps its previous text.
    void loadFromFile(const QString &path, const QByteArray &nativePath = QByteArray());
    void loadFromStream(QIODevice &device);

    // Loads path into a memo of its own and derives its row of the problem list.
    static CatalogueEntry measureProblem(
        const QString &path, const QByteArray &nativePath = QByteArray());

private:
    struct DisplayLine
    {
        qsizetype start;
        qsizetype length;
    };

    void layOut();

    int m_lineLength = DefaultLineLength;
    QByteArray m_text;
    QList<DisplayLine> m_lines;
};
