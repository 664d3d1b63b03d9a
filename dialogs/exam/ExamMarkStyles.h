#pragma once

#include "core/exam/ExamAlignment.h"

#include <QTextCharFormat>

// How an error is marked, the same in the panes, the legend and the printed
// result. Each kind differs in its line as well as its colour, for learners
// who do not see the colour.
namespace ExamMarkStyles {

QTextCharFormat markFormat(ExamAlignment::ErrorKind kind);
// A marked line break: it has no glyph, so the mark runs to the pane's edge, hatched.
QTextCharFormat lineBreakFormat(ExamAlignment::ErrorKind kind);
// The error stepped to, drawn over its mark like a selection.
QTextCharFormat currentFormat();

} // namespace ExamMarkStyles

class QTextCursor;

namespace ExamMarkStyles {
// "誤字 字 脱字 字 余字 字 改行 ↵", each sample in its kind's mark.
void insertLegend(QTextCursor &cursor);
} // namespace ExamMarkStyles
