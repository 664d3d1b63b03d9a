// The answer check's marks, the where-am-I band, and stepping through the errors.
#include "app/exam/ExamMarks.h"

#include "dialogs/exam/ExamMarkStyles.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace {
using ErrorKind = ExamAlignment::ErrorKind;
using ExamErrorList::Block;

QTextCharFormat markerFormat()
{
    QTextCharFormat format;
    format.setBackground(QColor(255, 248, 196));
    format.setProperty(QTextFormat::FullWidthSelection, true);
    return format;
}

QTextCursor span(QPlainTextEdit *pane, qsizetype pos, qsizetype length)
{
    const qsizetype last = std::max(0, pane->document()->characterCount() - 1);
    QTextCursor cursor(pane->document());
    cursor.setPosition(int(std::clamp<qsizetype>(pos, 0, last)));
    cursor.setPosition(int(std::clamp<qsizetype>(pos + length, 0, last)), QTextCursor::KeepAnchor);
    return cursor;
}

bool holdsLineBreak(const QTextCursor &cursor)
{
    return cursor.selectedText().contains(QChar::ParagraphSeparator);
}

// A line break has no glyph to colour: its mark runs from the line's end to the
// pane's edge, hatched. It gets a mark of its own, so that the characters of a
// block keep the kind's plain mark and stay easy to read.
void appendErrorMarks(QList<QTextEdit::ExtraSelection> &marks, QPlainTextEdit *pane, qsizetype pos,
    qsizetype length, ErrorKind kind)
{
    const QTextCursor whole = span(pane, pos, length);
    const QString text = whole.selectedText();
    const int start = whole.selectionStart();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool lineBreak = i < text.size() && text.at(i) == QChar::ParagraphSeparator;
        if (i < text.size() && !lineBreak)
            continue;
        if (i > runStart)
            marks.append(
                { span(pane, start + runStart, i - runStart), ExamMarkStyles::markFormat(kind) });
        if (lineBreak)
            marks.append({ span(pane, start + i, 1), ExamMarkStyles::lineBreakFormat(kind) });
        runStart = i + 1;
    }
}

QTextEdit::ExtraSelection currentMark(QPlainTextEdit *pane, qsizetype pos, qsizetype length)
{
    QTextEdit::ExtraSelection mark { span(pane, pos, length), ExamMarkStyles::currentFormat() };
    if (holdsLineBreak(mark.cursor))
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    return mark;
}

bool inPracticeText(const Block &block)
{
    return block.kind != ErrorKind::Insertion;
}

bool inTypedText(const Block &block)
{
    return block.kind != ErrorKind::Omission;
}
} // namespace

ExamMarks::ExamMarks(QPlainTextEdit *practicePane, QPlainTextEdit *typedPane)
    : m_practicePane(practicePane)
    , m_typedPane(typedPane)
{ }

void ExamMarks::mark(const QList<ExamAlignment::Error> &errors)
{
    m_marked = ExamErrorList::blocks(errors);
    m_current = -1;
}

void ExamMarks::clear()
{
    // The practice pane's cursor, stepped to an error, would otherwise stay
    // selected there like a mark left behind.
    QTextCursor cursor = m_practicePane->textCursor();
    const auto steppedTo = [&](const Block &block) {
        return inPracticeText(block)
            && span(m_practicePane, block.practicePos, block.practiceLength).selectionStart()
            == cursor.selectionStart();
    };
    if (cursor.hasSelection() && std::ranges::any_of(m_marked, steppedTo)) {
        cursor.clearSelection();
        m_practicePane->setTextCursor(cursor);
    }
    m_marked.clear();
    m_current = -1;
}

void ExamMarks::appendMarks(
    QList<QTextEdit::ExtraSelection> &left, QList<QTextEdit::ExtraSelection> &right) const
{
    for (const Block &block : m_marked) {
        if (inPracticeText(block))
            appendErrorMarks(
                left, m_practicePane, block.practicePos, block.practiceLength, block.kind);
        if (inTypedText(block))
            appendErrorMarks(right, m_typedPane, block.typedPos, block.typedLength, block.kind);
    }
    if (m_current < 0)
        return;
    // Last, so that it is drawn over the marks.
    const Block &block = m_marked.at(m_current);
    if (block.practiceLength > 0)
        left.append(currentMark(m_practicePane, block.practicePos, block.practiceLength));
    if (block.typedLength > 0)
        right.append(currentMark(m_typedPane, block.typedPos, block.typedLength));
}

// The left pane carries the band and the errors' places in the practice text,
// the right pane what was typed wrong. The band is on the screen line reached:
// a paragraph wraps over many of them.
void ExamMarks::show(const ExamAlignment::Result &aligned, bool practiceAligned)
{
    m_lastShown.practiceReached = aligned.practiceReached;
    m_lastPracticeAligned = practiceAligned;
    QList<QTextEdit::ExtraSelection> left;
    QList<QTextEdit::ExtraSelection> right;
    const bool practiceShown = practiceAligned && !m_practicePane->document()->isEmpty();
    const QTextCursor reached = span(m_practicePane, aligned.practiceReached, 0);
    if (practiceShown)
        left.append({ reached, markerFormat() });
    appendMarks(left, right);
    m_practicePane->setExtraSelections(left);
    m_typedPane->setExtraSelections(right);

    QTextCursor lineStart = reached;
    lineStart.movePosition(QTextCursor::StartOfLine);
    const int line = practiceShown ? lineStart.position() : -1;
    if (line == m_markerLine)
        return;
    m_markerLine = line;
    m_markerBlock = practiceShown ? reached.blockNumber() : -1;
    if (practiceShown && m_marked.isEmpty()) {
        // Moving the pane's own cursor scrolls it, the line to come in view as
        // well; the keyboard focus stays where it is.
        if (QTextCursor next = reached; next.movePosition(QTextCursor::Down))
            m_practicePane->setTextCursor(next);
        m_practicePane->setTextCursor(reached);
    }
}

void ExamMarks::step(int step)
{
    const int count = int(m_marked.size());
    if (count == 0)
        return;
    select(m_current < 0 ? (step > 0 ? 0 : count - 1) : (m_current + step + count) % count);
}

// The block is shown selected in both panes. The practice pane, read only, gets
// it as its selection; the typing pane only looks so and gets the cursor at its
// start, so a keystroke there does not replace what the learner typed. With the
// practice text's pane hidden, a left-out block is shown where it belongs.
void ExamMarks::select(int index)
{
    if (index < 0 || index >= m_marked.size())
        return;
    m_current = index;
    const Block &block = m_marked.at(m_current);
    const bool leftShown = !m_practicePane->isHidden();
    if (leftShown && inPracticeText(block)) {
        m_practicePane->setTextCursor(
            span(m_practicePane, block.practicePos, block.practiceLength));
        m_practicePane->ensureCursorVisible();
    }
    if (inTypedText(block) || !leftShown) {
        m_typedPane->setTextCursor(span(m_typedPane, block.typedPos, 0));
        m_typedPane->ensureCursorVisible();
    }
    show(m_lastShown, m_lastPracticeAligned);
}
