#pragma once

#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamErrorList.h"

#include <QList>
#include <QTextEdit>

class QPlainTextEdit;

// What the panes show of an alignment: the band on the practice text's line
// reached, the answer check's marks (omissions in the practice pane, 余字 in the
// typing pane, 誤字 in both: what was typed and what it should have been), and
// stepping through those marks a block of adjacent errors at a time.
class ExamMarks
{
public:
    ExamMarks(QPlainTextEdit *practicePane, QPlainTextEdit *typedPane);

    // Puts the band where the alignment reached, with the marks kept; a practice
    // text not yet aligned has no band.
    void show(const ExamAlignment::Result &aligned, bool practiceAligned);
    // The errors to mark at the next show(), until clear(); stepping starts afresh.
    void mark(const QList<ExamAlignment::Error> &errors);
    void clear();
    bool isEmpty() const { return m_marked.isEmpty(); }

    void step(int step); // +1 the next block, -1 the one before, round the ends
    void select(int index); // a block by its place in text order
    int currentIndex() const { return m_current; } // -1 before the first step
    int markerBlock() const { return m_markerBlock; } // the banded line's block, or -1

private:
    void appendMarks(
        QList<QTextEdit::ExtraSelection> &left, QList<QTextEdit::ExtraSelection> &right) const;

    QPlainTextEdit *m_practicePane;
    QPlainTextEdit *m_typedPane;
    QList<ExamErrorList::Block> m_marked; // the answer check shown, until the next edit
    int m_current = -1;
    int m_markerBlock = -1;
    int m_markerLine = -1; // where the screen line with the band starts
    ExamAlignment::Result m_lastShown; // for showing a step at once
    bool m_lastPracticeAligned = false;
};
