// The answer check's marks, the where-am-I band, and stepping through the errors.
#include "app/Main.h"

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

void TMainForm::markErrors()
{
    m_markedErrors = m_aligned.errors;
    m_currentError = -1;
    showMarkerAndMarks();
}

void TMainForm::clearErrorMarks()
{
    // The practice pane's cursor, stepped to an omission, would otherwise stay
    // selected there like a mark left behind.
    QTextCursor cursor = LeftMemo->textCursor();
    const auto steppedTo = [&](const ExamAlignment::Error &error) {
        return inPracticeText(error)
            && span(LeftMemo, error.practicePos, error.practiceLength).selectionStart()
            == cursor.selectionStart();
    };
    if (cursor.hasSelection() && std::ranges::any_of(m_markedErrors, steppedTo)) {
        cursor.clearSelection();
        LeftMemo->setTextCursor(cursor);
    }
    m_markedErrors.clear();
    m_currentError = -1;
    showMarkerAndMarks();
}

// The left pane carries the band and the omissions, the right pane the other errors.
// The band is on the screen line reached: a paragraph wraps over many of them.
void TMainForm::showMarkerAndMarks()
{
    QList<QTextEdit::ExtraSelection> left;
    QList<QTextEdit::ExtraSelection> right;
    const bool practiceShown = !m_practiceStale && !LeftMemo->document()->isEmpty();
    const QTextCursor reached = span(LeftMemo, m_aligned.practiceReached, 0);
    if (practiceShown)
        left.append({ reached, markerFormat() });
    for (const ExamAlignment::Error &error : std::as_const(m_markedErrors)) {
        if (inPracticeText(error))
            left.append(errorMark(LeftMemo, error.practicePos, error.practiceLength, error.kind));
        else
            right.append(errorMark(RightMemo, error.typedPos, error.typedLength, error.kind));
    }
    LeftMemo->setExtraSelections(left);
    RightMemo->setExtraSelections(right);

    QTextCursor lineStart = reached;
    lineStart.movePosition(QTextCursor::StartOfLine);
    const int line = practiceShown ? lineStart.position() : -1;
    if (line == m_markerLine)
        return;
    m_markerLine = line;
    m_markerBlock = practiceShown ? reached.blockNumber() : -1;
    if (practiceShown && m_markedErrors.isEmpty()) {
        // Moving the pane's own cursor scrolls it, the line to come in view as
        // well; the keyboard focus stays where it is.
        if (QTextCursor next = reached; next.movePosition(QTextCursor::Down))
            LeftMemo->setTextCursor(next);
        LeftMemo->setTextCursor(reached);
    }
}

int TMainForm::examMarkerBlock() const
{
    return m_markerBlock;
}

void TMainForm::nextError()
{
    stepError(1);
}

void TMainForm::previousError()
{
    stepError(-1);
}

// Goes round the errors in text order. A typed error gets the cursor without a
// selection, so a keystroke there does not replace what the learner typed; so
// does a left-out one while one-pane mode hides the practice text.
void TMainForm::stepError(int step)
{
    const int count = int(m_markedErrors.size());
    if (count == 0)
        return;
    m_currentError
        = m_currentError < 0 ? (step > 0 ? 0 : count - 1) : (m_currentError + step + count) % count;
    const ExamAlignment::Error &error = m_markedErrors.at(m_currentError);
    const bool inLeftPane = inPracticeText(error) && !LeftMemo->isHidden();
    QPlainTextEdit *pane = inLeftPane ? LeftMemo : RightMemo;
    pane->setTextCursor(inLeftPane ? span(LeftMemo, error.practicePos, error.practiceLength)
                                   : span(RightMemo, error.typedPos, 0));
    pane->ensureCursorVisible();
}

int TMainForm::currentErrorIndex() const
{
    return m_currentError;
}
