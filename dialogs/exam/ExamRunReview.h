#pragma once

#include "core/exam/ExamRunDetail.h"

#include <QDialog>

class ExamReviewPane;
class QLabel;
class QPushButton;
class QTextEdit;

// One kept run looked at again from the history: its figures, the list of its
// errors with the legend of the marks, and the practice text it reached beside
// what was typed, both marked as the panes mark them. Nothing in it can be changed.
class ExamRunReview : public QDialog
{
    Q_OBJECT
public:
    explicit ExamRunReview(const ExamRunDetail &detail, QWidget *parent = nullptr);

    QLabel *FiguresLabel = nullptr;
    ExamReviewPane *Review = nullptr;
    QTextEdit *PracticeText = nullptr;
    QTextEdit *TypedText = nullptr;
    QPushButton *CloseButton = nullptr;

    // One error block (an index into the run's errors) shown as if its row
    // had been chosen: the row current, its place selected in both texts.
    void showError(int index);

private:
    void markErrors();
    void selectError(int index); // a row chosen: its place selected in both texts

    ExamRunDetail m_detail;
};
