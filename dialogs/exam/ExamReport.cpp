#include "dialogs/exam/ExamReport.h"

#include "dialogs/exam/ExamMarkStyles.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {
using ErrorKind = ExamAlignment::ErrorKind;

void heading(QTextCursor &cursor, const QString &text, qreal scale = 1.2)
{
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(cursor.document()->defaultFont().pointSizeF() * scale);
    cursor.insertBlock();
    cursor.insertText(text, format);
    cursor.insertBlock();
    cursor.setCharFormat({});
}

void table(QTextCursor &cursor, const QList<QStringList> &cells)
{
    if (cells.isEmpty())
        return;
    QTextTableFormat format;
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setHeaderRowCount(1);
    QTextTable *grid = cursor.insertTable(int(cells.size()), int(cells.first().size()), format);
    for (int row = 0; row < cells.size(); ++row)
        for (int column = 0; column < cells.at(row).size(); ++column)
            grid->cellAt(row, column).firstCursorPosition().insertText(cells.at(row).at(column));
    cursor.movePosition(QTextCursor::End);
}

QList<QStringList> summary(const ExamReport::Content &c)
{
    const ExamResult &r = c.result;
    return {
        { QStringLiteral("項目"), QStringLiteral("内容") },
        { QStringLiteral("日時"), r.when.toString(QStringLiteral("yyyy/MM/dd HH:mm")) },
        { QStringLiteral("練習文"),
            r.practiceName.isEmpty() ? QStringLiteral("（名前なし）") : r.practiceName },
        { QStringLiteral("級"), r.level },
        { QStringLiteral("入力文字数"), QStringLiteral("%1 字").arg(r.typedCount) },
        { QStringLiteral("誤り"),
            QStringLiteral("誤字 %1  脱字 %2  余字 %3")
                .arg(r.substitutions)
                .arg(r.omissions)
                .arg(r.insertions) },
        { QStringLiteral("計算"), c.calculation },
        { QStringLiteral("判定"), r.passed ? QStringLiteral("合格") : QStringLiteral("不合格") },
    };
}

// The typed text as the typing pane marks it; a 脱字 has no typed character,
// so a small sign in its mark stands where it was left out.
void markedText(QTextCursor &cursor, const ExamReport::Content &c)
{
    QTextCharFormat plain;
    plain.setFont(c.font);
    const qsizetype start = cursor.position();
    cursor.insertText(c.typed, plain);
    for (auto row = c.rows.crbegin(); row != c.rows.crend(); ++row) { // from the end: places stay
        const ExamErrorList::Block &b = row->block;
        QTextCursor mark(cursor.document());
        mark.setPosition(int(start + b.typedPos));
        if (b.kind == ErrorKind::Omission) {
            mark.insertText(QStringLiteral("∧"), ExamMarkStyles::markFormat(b.kind));
            continue;
        }
        mark.setPosition(int(start + b.typedPos + b.typedLength), QTextCursor::KeepAnchor);
        mark.mergeCharFormat(ExamMarkStyles::markFormat(b.kind));
    }
    cursor.movePosition(QTextCursor::End);
}

QList<QStringList> errorRows(const QList<ExamErrorList::Row> &rows)
{
    QList<QStringList> cells { { QStringLiteral("誤り"), QStringLiteral("正"),
        QStringLiteral("入力"), QStringLiteral("行"), QStringLiteral("桁") } };
    for (const ExamErrorList::Row &row : rows)
        cells.append({ row.summary, row.expected, row.typed, QString::number(row.line),
            QString::number(row.column) });
    return cells;
}
} // namespace

namespace ExamReport {

std::unique_ptr<QTextDocument> build(const Content &content)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(content.font);
    QTextCursor cursor(document.get());
    heading(cursor, QStringLiteral("採点結果"), 1.5);
    table(cursor, summary(content));
    heading(cursor, QStringLiteral("入力した文"));
    QTextCursor legend = cursor;
    ExamMarkStyles::insertLegend(legend);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    markedText(cursor, content);
    heading(cursor, QStringLiteral("誤りの一覧"));
    if (content.rows.isEmpty())
        cursor.insertText(QStringLiteral("誤りはありません。"));
    else
        table(cursor, errorRows(content.rows));
    return document;
}

} // namespace ExamReport
