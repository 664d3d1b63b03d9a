#include "core/exam/ExamErrorList.h"

#include <algorithm>

namespace ExamErrorList {

namespace {
using ErrorKind = ExamAlignment::ErrorKind;

constexpr qsizetype ContextLength = 4; // UTF-16 units each side of the block
constexpr qsizetype LongestShown = 24; // a longer block is cut in the middle

bool continues(const Block &block, const ExamAlignment::Error &error)
{
    return error.kind == block.kind && error.typedPos == block.typedPos + block.typedLength
        && error.practicePos == block.practicePos + block.practiceLength;
}

QString shortened(QStringView text)
{
    if (text.size() <= LongestShown)
        return visible(text);
    const qsizetype half = LongestShown / 2;
    return visible(text.first(half)) + QStringLiteral("…") + visible(text.last(half));
}

// The block in 【】, with a few characters either side; nothing typed shows as 【】.
QString inContext(const QString &text, qsizetype pos, qsizetype length)
{
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    length = std::clamp<qsizetype>(length, 0, text.size() - pos);
    const qsizetype from = std::max<qsizetype>(0, pos - ContextLength);
    const qsizetype to = std::min(text.size(), pos + length + ContextLength);
    const QStringView all(text);
    return visible(all.sliced(from, pos - from)) + QStringLiteral("【")
        + shortened(all.sliced(pos, length)) + QStringLiteral("】")
        + visible(all.sliced(pos + length, to - pos - length));
}

// An alignment is made of the texts given; clamped all the same, as a list
// shown a moment late must not read past them.
QStringView within(const QString &text, qsizetype pos, qsizetype length)
{
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    return QStringView(text).sliced(pos, std::clamp<qsizetype>(length, 0, text.size() - pos));
}

void placeInLines(const QString &text, qsizetype pos, Row &row)
{
    const QStringView before = QStringView(text).first(std::min(pos, text.size()));
    const qsizetype lineStart = before.lastIndexOf(u'\n') + 1;
    row.line = int(before.count(u'\n')) + 1;
    row.column = int(before.sliced(lineStart).toUcs4().size()) + 1;
}
} // namespace

QString kindName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Substitution:
        return QStringLiteral("誤字");
    case ErrorKind::Omission:
        return QStringLiteral("脱字");
    case ErrorKind::Insertion:
        return QStringLiteral("余字");
    }
    return {};
}

QString visible(QStringView text)
{
    QString shown = text.toString();
    shown.replace(u'\n', QStringLiteral("↵"));
    shown.replace(u'\t', QStringLiteral("→"));
    return shown;
}

QList<Block> blocks(const QList<ExamAlignment::Error> &errors)
{
    QList<Block> result;
    for (const ExamAlignment::Error &error : errors) {
        if (result.isEmpty() || !continues(result.last(), error))
            result.append({ error.kind, 0, error.typedPos, 0, error.practicePos, 0 });
        Block &block = result.last();
        ++block.count;
        block.typedLength += error.typedLength;
        block.practiceLength += error.practiceLength;
    }
    return result;
}

QList<Row> rows(const ExamAlignment::Result &aligned, const QString &practice, const QString &typed)
{
    QList<Row> result;
    for (const Block &block : blocks(aligned.errors)) {
        Row row;
        row.block = block;
        row.kindName = kindName(block.kind);
        row.expected = inContext(practice, block.practicePos, block.practiceLength);
        row.typed = inContext(typed, block.typedPos, block.typedLength);
        const bool omitted = block.kind == ErrorKind::Omission;
        const QStringView wrong = omitted
            ? within(practice, block.practicePos, block.practiceLength)
            : within(typed, block.typedPos, block.typedLength);
        row.summary = QStringLiteral("%1 %2字: %3")
                          .arg(row.kindName)
                          .arg(block.count)
                          .arg(shortened(wrong));
        placeInLines(practice, block.practicePos, row);
        result.append(row);
    }
    return result;
}

} // namespace ExamErrorList
