#include "app/exam/ExamToolBar.h"

#include "app/exam/ExamLevelBox.h"
#include "app/exam/ExamPaceLabels.h"
#include "controls/edit/DigitInput.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {
QSpinBox *makeSpin(QWidget *parent, int low, int high, const QString &prefix, const QString &tip)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setPrefix(prefix);
    spin->setToolTip(tip);
    acceptFullWidthDigits(spin);
    return spin;
}

// A widget in a tool bar shows and hides through the action that holds it.
void setBarWidgetVisible(QToolBar *bar, QWidget *widget, bool visible)
{
    for (QAction *action : bar->actions())
        if (bar->widgetForAction(action) == widget)
            action->setVisible(visible);
}
} // namespace

ExamToolBar::ExamToolBar(QWidget *parent)
    : QToolBar(QStringLiteral("ExamBar"), parent)
{
    const ExamSettings defaults;
    LevelCombo = new ExamLevelBox(this);
    LevelCombo->setToolTip(QStringLiteral("検定と級（誤り 1 つの減点と合格点）"));
    PenaltySpin = makeSpin(this, ExamSettings::MinPenalty, ExamSettings::MaxPenalty,
        QStringLiteral("減点 "), QStringLiteral("誤り 1 つで得点から引く文字数"));
    PassMarkSpin = makeSpin(this, ExamSettings::MinPassMark, ExamSettings::MaxPassMark,
        QStringLiteral("合格点 "), QStringLiteral("合格に要る得点"));
    PenaltyLabel = new QLabel(this);
    PenaltyLabel->setContentsMargins(6, 0, 6, 0);
    PenaltyLabel->setToolTip(QStringLiteral("誤り 1 つで得点から引く文字数"));
    Figures = new QAction(QStringLiteral("採点表示"), this);
    Figures->setCheckable(true);
    Figures->setToolTip(QStringLiteral("誤りと得点を表示する（外すと試験と同じく見えません）"));
    ExamModeAction = new QAction(QStringLiteral("試験モード"), this);
    ExamModeAction->setCheckable(true);
    ExamModeAction->setToolTip(
        QStringLiteral("開始時に入力欄を消すか尋ね、10:00 からは入力できなくする"));
    Pace = new ExamPaceLabels(this);
    ErrorsLabel = new QLabel(this);
    ScoreLabel = new QLabel(this);
    PassLabel = new QLabel(this);
    addWidget(LevelCombo);
    addWidget(PenaltySpin);
    addWidget(PassMarkSpin);
    addWidget(PenaltyLabel);
    addAction(Figures);
    addAction(ExamModeAction);
    addWidget(Pace);
    for (QLabel *label : { ErrorsLabel, ScoreLabel, PassLabel }) {
        label->setContentsMargins(6, 0, 6, 0);
        addWidget(label);
    }
    showSettings(defaults);

    const auto change = [this] {
        showChosenControls();
        emit changed();
    };
    connect(LevelCombo, &QComboBox::currentIndexChanged, this, change);
    connect(PenaltySpin, &QSpinBox::valueChanged, this, change);
    connect(PassMarkSpin, &QSpinBox::valueChanged, this, change);
    connect(Figures, &QAction::toggled, this, change);
    connect(ExamModeAction, &QAction::toggled, this, change);
    connect(LevelCombo, &QComboBox::activated, this, &ExamToolBar::choiceMade);
    for (QSpinBox *spin : { PenaltySpin, PassMarkSpin })
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this, spin] {
            if (spin->hasFocus()) // Enter, not the focus moving on elsewhere
                emit choiceMade();
        });
}

void ExamToolBar::showSettings(const ExamSettings &settings)
{
    {
        const QSignalBlocker level(LevelCombo), penalty(PenaltySpin), mark(PassMarkSpin),
            figures(Figures), examMode(ExamModeAction);
        LevelCombo->setCurrentKey(settings.level().key);
        PenaltySpin->setValue(settings.CustomPenalty);
        PassMarkSpin->setValue(settings.CustomPassMark);
        Figures->setChecked(settings.ShowFigures);
        ExamModeAction->setChecked(settings.ExamMode);
    }
    showChosenControls();
}

void ExamToolBar::readSettings(ExamSettings &settings) const
{
    settings.Level = LevelCombo->currentKey();
    settings.CustomPenalty = PenaltySpin->value();
    settings.CustomPassMark = PassMarkSpin->value();
    settings.ShowFigures = Figures->isChecked();
    settings.ExamMode = ExamModeAction->isChecked();
}

void ExamToolBar::showChosenControls()
{
    const bool custom = LevelCombo->isCustom();
    setBarWidgetVisible(this, PenaltySpin, custom);
    setBarWidgetVisible(this, PassMarkSpin, custom);
    setBarWidgetVisible(this, PenaltyLabel, !custom);
    const ExamLevel shown = ExamProfile::levels(PenaltySpin->value(), PassMarkSpin->value())
                                .value(LevelCombo->currentLevel());
    PenaltyLabel->setText(QStringLiteral("減点 %1").arg(shown.penalty));
    for (QLabel *label : { ErrorsLabel, ScoreLabel, PassLabel })
        setBarWidgetVisible(this, label, Figures->isChecked());
}

void ExamToolBar::showNoPracticeText(int passMark)
{
    ErrorsLabel->setText(QStringLiteral("練習文なし"));
    ScoreLabel->setText(QStringLiteral("得点 -"));
    PassLabel->setText(QStringLiteral("合格点 %1").arg(passMark));
    PassLabel->setStyleSheet(QString());
}

void ExamToolBar::showFigures(
    const ExamAlignment::Result &aligned, const ExamCalculation &calculation)
{
    const bool reached = calculation.passed();
    ErrorsLabel->setText(QStringLiteral("誤字 %1  脱字 %2  余字 %3")
                             .arg(aligned.substitutions)
                             .arg(aligned.omissions)
                             .arg(aligned.insertions));
    ScoreLabel->setText(QStringLiteral("得点 %1").arg(calculation.formula()));
    PassLabel->setText(QStringLiteral("合格点 %1 %2")
                           .arg(calculation.passMark)
                           .arg(reached ? QStringLiteral("到達") : QStringLiteral("未達")));
    PassLabel->setStyleSheet(
        reached ? QStringLiteral("color: darkgreen") : QStringLiteral("color: darkred"));
}
