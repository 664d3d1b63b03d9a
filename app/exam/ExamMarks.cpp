// The answer check's marks, the where-am-I band, and stepping through the errors.
#include "app/exam/ExamMarks.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace {
using ErrorKind = ExamAlignment::ErrorKind;

// Each kind differs in its line as well as its colour, for learners who do not see the colour.
QTextCharFormat markFormat(ErrorKind kind)
{
    QTextCharFormat format;
    switch (kind) {
    case ErrorKind::Substitution:
        format.setBackground(QColor(255, 205, 205));
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(Qt::red);
        break;
    case ErrorKind::Insertion:
        format.setBackground(QColor(255, 226, 170));
        format.setFontStrikeOut(true);
        break;
    case ErrorKind::Omission:
        format.setBackground(QColor(200, 222, 255));
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        format.setUnderlineColor(Qt::blue);
        break;
    }
    return format;
}

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

// A line break has no glyph to colour: its mark runs from the line's end to the pane's edge.
QTextEdit::ExtraSelection errorMark(
    QPlainTextEdit *pane, qsizetype pos, qsizetype length, ErrorKind kind)
{
    QTextEdit::ExtraSelection mark { span(pane, pos, length), markFormat(kind) };
    // Hatched too, since that stretch has no underline to carry the mark.
    if (mark.cursor.selectedText().contains(QChar::ParagraphSeparator)) {
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        const QColor line = mark.format.underlineColor();
        mark.format.setBackground(
            QBrush(line.isValid() ? line : mark.format.background().color().darker(170),
                Qt::BDiagPattern));
    }
    return mark;
}

bool inPracticeText(const ExamAlignment::Error &error)
{
    return error.kind == ErrorKind::Omission;
}
} // namespace

ExamMarks::ExamMarks(QPlainTextEdit *practicePane, QPlainTextEdit *typedPane)
    : m_practicePane(practicePane)
    , m_typedPane(typedPane)
{ }

void ExamMarks::mark(const QList<ExamAlignment::Error> &errors)
{
    m_marked = errors;
    m_current = -1;
}

void ExamMarks::clear()
{
    // The practice pane's cursor, stepped to an omission, would otherwise stay
    // selected there like a mark left behind.
    QTextCursor cursor = m_practicePane->textCursor();
    const auto steppedTo = [&](const ExamAlignment::Error &error) {
        return inPracticeText(error)
            && span(m_practicePane, error.practicePos, error.practiceLength).selectionStart()
            == cursor.selectionStart();
    };
    if (cursor.hasSelection() && std::ranges::any_of(m_marked, steppedTo)) {
        cursor.clearSelection();
        m_practicePane->setTextCursor(cursor);
    }
    m_marked.clear();
    m_current = -1;
}

// The left pane carries the band and the omissions, the right pane the other errors.
// The band is on the screen line reached: a paragraph wraps over many of them.
void ExamMarks::show(const ExamAlignment::Result &aligned, bool practiceAligned)
{
    QList<QTextEdit::ExtraSelection> left;
    QList<QTextEdit::ExtraSelection> right;
    const bool practiceShown = practiceAligned && !m_practicePane->document()->isEmpty();
    const QTextCursor reached = span(m_practicePane, aligned.practiceReached, 0);
    if (practiceShown)
        left.append({ reached, markerFormat() });
    for (const ExamAlignment::Error &error : std::as_const(m_marked)) {
        if (inPracticeText(error))
            left.append(
                errorMark(m_practicePane, error.practicePos, error.practiceLength, error.kind));
        else
            right.append(errorMark(m_typedPane, error.typedPos, error.typedLength, error.kind));
    }
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

// Goes round the errors in text order. A typed error gets the cursor without a
// selection, so a keystroke there does not replace what the learner typed; so
// does a left-out one while one-pane mode hides the practice text.
void ExamMarks::step(int step)
{
    const int count = int(m_marked.size());
    if (count == 0)
        return;
    m_current = m_current < 0 ? (step > 0 ? 0 : count - 1) : (m_current + step + count) % count;
    const ExamAlignment::Error &error = m_marked.at(m_current);
    const bool inLeftPane = inPracticeText(error) && !m_practicePane->isHidden();
    QPlainTextEdit *pane = inLeftPane ? m_practicePane : m_typedPane;
    pane->setTextCursor(inLeftPane ? span(m_practicePane, error.practicePos, error.practiceLength)
                                   : span(m_typedPane, error.typedPos, 0));
    pane->ensureCursorVisible();
}
