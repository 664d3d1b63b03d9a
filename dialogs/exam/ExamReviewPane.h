#pragma once

#include "core/exam/ExamErrorList.h"

#include <QWidget>

class QLabel;
class QTextEdit;
class QTreeWidget;

// The part of the result window that explains the errors: a legend of the
// marks, drawn as the panes draw them, and the list of errors in text order,
// a row for each block of adjacent errors of one kind.
class ExamReviewPane : public QWidget
{
    Q_OBJECT
public:
    explicit ExamReviewPane(QWidget *parent = nullptr);

    void showRows(const QList<ExamErrorList::Row> &rows);
    void setOutdated(); // the text was edited since: the list is emptied
    void showCurrent(int row); // the block stepped to with F8, without choosing it again

    QTextEdit *Legend = nullptr;
    QTreeWidget *List = nullptr;
    QLabel *OutdatedLabel = nullptr; // shown once the list is emptied by an edit

signals:
    void rowChosen(int row); // a row selected: its place is shown in both panes
};
