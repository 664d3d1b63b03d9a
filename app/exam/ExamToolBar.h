#pragma once

#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamCalculation.h"
#include "core/settings/ExamSettings.h"

#include <QToolBar>

class ExamLevelBox;
class ExamPaceLabels;
class QLabel;
class QSpinBox;

// The exam bar: the level (with its own penalty and pass mark for 自由設定) and
// the live figures, which the learner may hide as an exam hides them.
class ExamToolBar : public QToolBar
{
    Q_OBJECT
public:
    explicit ExamToolBar(QWidget *parent = nullptr);

    // Puts the choices into the controls without reporting them back as changes.
    void showSettings(const ExamSettings &settings);
    void readSettings(ExamSettings &settings) const;

    void showNoPracticeText(int passMark);
    // The score as its calculation: "得点 524 − 3 × 8 = 500".
    void showFigures(const ExamAlignment::Result &aligned, const ExamCalculation &calculation);

    ExamLevelBox *LevelCombo = nullptr; // grouped by exam
    QSpinBox *PenaltySpin = nullptr; // shown for 自由設定 only
    QSpinBox *PassMarkSpin = nullptr; // shown for 自由設定 only
    QLabel *PenaltyLabel = nullptr; // the level's penalty, for the other levels
    QAction *Figures = nullptr; // shows or hides the three figures
    QAction *ExamModeAction = nullptr; // 試験モード
    ExamPaceLabels *Pace = nullptr; // the needed pace, the lead, the kanji share
    QLabel *ErrorsLabel = nullptr;
    QLabel *ScoreLabel = nullptr;
    QLabel *PassLabel = nullptr;

signals:
    void changed(); // a level, a 自由設定 figure, the figures shown or hidden, 試験モード
    void choiceMade(); // a level picked or a figure entered: typing goes on

private:
    void showChosenControls();
};
