#pragma once

#include <QWidget>

class QLabel;

// The exam bar's pace and text figures: the pace the level needs, how far the
// net score is ahead of it while the timer runs, and the practice text's kanji
// share with the levels it suits.
class ExamPaceLabels : public QWidget
{
    Q_OBJECT
public:
    explicit ExamPaceLabels(QWidget *parent = nullptr);

    void showPace(int passMark); // "必要ペース 30字/分"
    void showLead(int lead); // "+12" in green, "−8" in red
    void clearLead(); // no run going on
    void showKanji(const QString &caption); // empty: no practice text

    QLabel *PaceLabel = nullptr;
    QLabel *LeadLabel = nullptr;
    QLabel *KanjiLabel = nullptr;
};
