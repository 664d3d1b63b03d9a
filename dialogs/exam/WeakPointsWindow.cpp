#include "dialogs/exam/WeakPointsWindow.h"

#include "controls/layout/FormFont.h"
#include "core/exam/ExamErrorList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int RowRole = Qt::UserRole;
}

WeakPointsWindow::WeakPointsWindow(
    const QList<WeakPoints::Row> &rows, const QStringList &unreadable, QWidget *parent)
    : QDialog(parent)
    , m_rows(rows)
{
    setWindowTitle(QStringLiteral("弱点一覧"));
    setFont(FormFont::font());
    resize(640, 420);
    List = new QTreeWidget(this);
    List->setRootIsDecorated(false);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setHeaderLabels({ QStringLiteral("種類"), QStringLiteral("正"), QStringLiteral("入力"),
        QStringLiteral("回数"), QStringLiteral("最終日"), QStringLiteral("練習") });
    NoteLabel = new QLabel(this);
    NoteLabel->setWordWrap(true);
    DrillButton = new QPushButton(QString::fromUtf8(DrillCaption), this);
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DrillButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(List);
    layout->addWidget(NoteLabel);
    layout->addLayout(buttons);

    fillList();
    NoteLabel->setText(unreadable.isEmpty()
            ? QStringLiteral("行をダブルクリックすると、その誤りをした最後の練習を開きます。")
            : QStringLiteral("読めない練習の記録 %1 件は数えていません: %2")
                  .arg(unreadable.size())
                  .arg(unreadable.first()));
    DrillButton->setEnabled(false);
    connect(List, &QTreeWidget::itemSelectionChanged, this,
        [this] { DrillButton->setEnabled(!List->selectedItems().isEmpty()); });
    connect(List, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const WeakPoints::Row &row = m_rows[item->data(KindColumn, RowRole).toInt()];
        if (!row.occurrences.isEmpty())
            emit runChosen(row.occurrences.last().fileName, row.occurrences.last().errorIndex);
    });
    connect(DrillButton, &QPushButton::clicked, this, &WeakPointsWindow::makeDrill);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void WeakPointsWindow::fillList()
{
    QList<QTreeWidgetItem *> items;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const WeakPoints::Row &row = m_rows[i];
        auto *item = new QTreeWidgetItem;
        item->setText(KindColumn, WeakPoints::kindName(row.kind));
        item->setData(KindColumn, RowRole, int(i));
        item->setText(ExpectedColumn, ExamErrorList::visible(row.expected));
        item->setText(TypedColumn, ExamErrorList::visible(row.typed));
        // Numbers as numbers, so they sort as numbers; the date sorts as written.
        item->setData(CountColumn, Qt::DisplayRole, row.count);
        item->setText(LastColumn, row.last.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
        item->setData(RunsColumn, Qt::DisplayRole, row.runCount());
        item->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(RunsColumn, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    List->addTopLevelItems(items);
    List->setSortingEnabled(true);
    List->sortByColumn(CountColumn, Qt::DescendingOrder);
    for (int column = 0; column < List->columnCount(); ++column)
        List->resizeColumnToContents(column);
}

QList<WeakPoints::Row> WeakPointsWindow::selectedRows() const
{
    QList<WeakPoints::Row> chosen;
    for (int i = 0; i < List->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = List->topLevelItem(i);
        if (item->isSelected())
            chosen.append(m_rows[item->data(KindColumn, RowRole).toInt()]);
    }
    return chosen;
}

void WeakPointsWindow::makeDrill()
{
    const QString text = WeakPoints::drillText(selectedRows());
    if (text.isEmpty()) {
        NoteLabel->setText(QStringLiteral("選んだ行には練習する語がありません（余字だけです）。"));
        return;
    }
    emit drillMade(text);
    accept();
}
