#include "dialogs/exam/ExamReviewPane.h"

#include "dialogs/exam/ExamMarkStyles.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
enum Column { Summary, Expected, Typed, Line, Place, ColumnCount };
constexpr int ListRowsShown = 8;
constexpr int WidestList = 760;
} // namespace

ExamReviewPane::ExamReviewPane(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Legend = new QTextEdit(this);
    Legend->setReadOnly(true);
    Legend->setFrameShape(QFrame::NoFrame);
    Legend->setFocusPolicy(Qt::NoFocus);
    Legend->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Legend->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Legend->setLineWrapMode(QTextEdit::NoWrap);
    Legend->viewport()->setAutoFillBackground(false);
    QTextCursor cursor(Legend->document());
    ExamMarkStyles::insertLegend(cursor);
    // Wholly in view: unwrapped, it would otherwise be scrolled to its end.
    Legend->moveCursor(QTextCursor::Start);
    Legend->setFixedHeight(int(Legend->document()->size().height()) + 4);
    Legend->setMinimumWidth(int(Legend->document()->idealWidth()) + 8);
    Legend->setToolTip(QStringLiteral("入力の枠と練習文の枠での誤りの印"));

    List = new QTreeWidget(this);
    List->setColumnCount(ColumnCount);
    List->setHeaderLabels({ QStringLiteral("誤り"), QStringLiteral("正"), QStringLiteral("入力"),
        QStringLiteral("行"), QStringLiteral("桁") });
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setAllColumnsShowFocus(true);
    List->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    List->setMinimumHeight(List->fontMetrics().height() * ListRowsShown);
    OutdatedLabel = new QLabel(
        QStringLiteral("入力が変わったので誤りの一覧を消しました。採点 (F4) でまた作られます。"),
        this);
    OutdatedLabel->setWordWrap(true);
    OutdatedLabel->hide();
    layout->addWidget(Legend);
    layout->addWidget(List);
    layout->addWidget(OutdatedLabel);
    connect(List, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            emit rowChosen(List->indexOfTopLevelItem(item));
    });
}

void ExamReviewPane::showRows(const QList<ExamErrorList::Row> &rows)
{
    const QSignalBlocker quiet(List); // filling the list chooses nothing
    List->clear();
    List->setEnabled(true);
    OutdatedLabel->hide();
    QList<QTreeWidgetItem *> items;
    for (const ExamErrorList::Row &row : rows) {
        auto *item = new QTreeWidgetItem(QStringList { row.summary, row.expected, row.typed,
            QString::number(row.line), QString::number(row.column) });
        item->setTextAlignment(Line, Qt::AlignRight);
        item->setTextAlignment(Place, Qt::AlignRight);
        items.append(item);
    }
    List->addTopLevelItems(items);
    // Wide enough for the rows' columns, up to a width that still leaves room to type.
    int width = 2 * List->frameWidth() + List->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ColumnCount; ++column) {
        List->resizeColumnToContents(column);
        width += List->columnWidth(column);
    }
    List->setMinimumWidth(std::min(width, WidestList));
}

void ExamReviewPane::setOutdated()
{
    const QSignalBlocker quiet(List);
    List->clear();
    List->setEnabled(false);
    OutdatedLabel->show();
}

void ExamReviewPane::showCurrent(int row)
{
    const QSignalBlocker quiet(List);
    List->setCurrentItem(List->topLevelItem(row));
}
