#pragma once

#include "core/exam/ExamErrorList.h"
#include "core/exam/ExamResult.h"

#include <QFont>

#include <memory>

class QTextDocument;

// The scored run as a document to print: the summary, the calculation, the
// typed text with its marks (as the typing pane shows them), the legend and
// the list of errors.
namespace ExamReport {

struct Content
{
    ExamResult result;
    QString calculation; // "524 − 3 × 8 = 500 (合格点 500: 合格)"
    QList<ExamErrorList::Row> rows;
    QString typed; // the text the rows were made of
    QFont font; // the panes' font, for the typed text
};

std::unique_ptr<QTextDocument> build(const Content &content);

} // namespace ExamReport
