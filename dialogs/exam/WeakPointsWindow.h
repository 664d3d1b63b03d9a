#pragma once

#include "core/exam/WeakPoints.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// 弱点一覧: the mistakes of every kept run, one row per distinct mistake, sortable
// by any column, several rows chosen at once. A row activated asks its owner to
// open the run it was last made in, at that mistake; 練習文を作る hands the owner
// a practice text drilling the chosen rows. It changes nothing itself.
class WeakPointsWindow : public QDialog
{
    Q_OBJECT
public:
    enum Column { KindColumn, ExpectedColumn, TypedColumn, CountColumn, LastColumn, RunsColumn };
    static constexpr const char *DrillCaption = "練習文を作る(&M)";

    // unreadable: kept runs left out, told under the list.
    WeakPointsWindow(const QList<WeakPoints::Row> &rows, const QStringList &unreadable,
        QWidget *parent = nullptr);

    QTreeWidget *List = nullptr;
    QLabel *NoteLabel = nullptr;
    QPushButton *DrillButton = nullptr;
    QPushButton *CloseButton = nullptr;

    // The rows chosen, in the list's order as sorted now.
    QList<WeakPoints::Row> selectedRows() const;

signals:
    // The run (its file in the runs folder) and the index of the error block to show.
    void runChosen(const QString &fileName, int errorIndex);
    // 練習文を作る: the practice text made of the chosen rows.
    void drillMade(const QString &text);

private:
    void fillList();
    void makeDrill();

    QList<WeakPoints::Row> m_rows;
};
