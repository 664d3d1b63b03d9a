// The exam bar: the level, the live figures, and the ten-minute result.
#include "app/Main.h"

#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamResult.h"
#include "dialogs/exam/ExamResultWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {
// An alignment that takes this long is put off until typing pauses, for twice
// its own time, so that a burst of keystrokes pays for one alignment only.
constexpr qint64 ImmediateAlignmentNs = 8'000'000;
constexpr int LongestAlignmentDelayMs = 300;

QSpinBox *makeSpin(QWidget *parent, int low, int high, const QString &prefix, const QString &tip)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setPrefix(prefix);
    spin->setToolTip(tip);
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

void TMainForm::setupExamCommands()
{
    ExamBarItem = makeViewToggle("採点バー(&E)");
    ExamCheck = makeAction("採点(&R)", -1, QKeySequence(Qt::Key_F4));
    NextError = makeAction("次の誤り(&N)", -1, QKeySequence(Qt::Key_F8));
    PreviousError = makeAction("前の誤り(&P)", -1, QKeySequence(Qt::SHIFT | Qt::Key_F8));
    connect(ExamBarItem, &QAction::triggered, this, &TMainForm::ExamBarItemClick);
    connect(
        ExamCheck, &QAction::triggered, this, [this] { runCommand(&TMainForm::ExamCheckClick); });
    connect(NextError, &QAction::triggered, this, &TMainForm::nextError);
    connect(PreviousError, &QAction::triggered, this, &TMainForm::previousError);
}

void TMainForm::setupExamBar()
{
    ExamLevelCombo = new QComboBox(ExamBar);
    for (const ExamLevel &level : ExamProfile::levels(m_exam.CustomPenalty, m_exam.CustomPassMark))
        ExamLevelCombo->addItem(level.name);
    ExamLevelCombo->setToolTip(QStringLiteral("ワープロ検定の級（誤り 1 つの減点と合格点）"));
    ExamPenaltySpin = makeSpin(ExamBar, ExamSettings::MinPenalty, ExamSettings::MaxPenalty,
        QStringLiteral("減点 "), QStringLiteral("誤り 1 つで得点から引く文字数"));
    ExamPassMarkSpin = makeSpin(ExamBar, ExamSettings::MinPassMark, ExamSettings::MaxPassMark,
        QStringLiteral("合格点 "), QStringLiteral("合格に要る得点"));
    ExamFigures = new QAction(QStringLiteral("採点表示"), this);
    ExamFigures->setCheckable(true);
    ExamFigures->setToolTip(QStringLiteral("誤りと得点を表示する（外すと試験と同じく見えません）"));
    ExamErrorsLabel = new QLabel(ExamBar);
    ExamScoreLabel = new QLabel(ExamBar);
    ExamPassLabel = new QLabel(ExamBar);
    ExamBar->addWidget(ExamLevelCombo);
    ExamBar->addWidget(ExamPenaltySpin);
    ExamBar->addWidget(ExamPassMarkSpin);
    ExamBar->addAction(ExamFigures);
    for (QLabel *label : { ExamErrorsLabel, ExamScoreLabel, ExamPassLabel }) {
        label->setContentsMargins(6, 0, 6, 0);
        ExamBar->addWidget(label);
    }
    applyExamSettings();

    connect(ExamLevelCombo, &QComboBox::currentIndexChanged, this, &TMainForm::examLevelChanged);
    connect(ExamPenaltySpin, &QSpinBox::valueChanged, this, &TMainForm::examLevelChanged);
    connect(ExamPassMarkSpin, &QSpinBox::valueChanged, this, &TMainForm::examLevelChanged);
    connect(ExamFigures, &QAction::toggled, this, &TMainForm::examLevelChanged);
    // A level picked or a figure entered, the next keystroke is typing again.
    connect(ExamLevelCombo, &QComboBox::activated, this, &TMainForm::giveKeyboardToPane);
    for (QSpinBox *spin : { ExamPenaltySpin, ExamPassMarkSpin })
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this, spin] {
            if (spin->hasFocus()) // Enter, not the focus moving on elsewhere
                giveKeyboardToPane();
        });
    m_alignTimer = new QTimer(this);
    m_alignTimer->setSingleShot(true);
    connect(m_alignTimer, &QTimer::timeout, this, &TMainForm::alignNow);
    connect(RightMemo, &QPlainTextEdit::textChanged, this, &TMainForm::typedTextChanged);
    connect(LeftMemo, &QPlainTextEdit::textChanged, this, &TMainForm::practiceTextChanged);
    scheduleAlignment();
}

// Puts the settings into the bar's controls without taking them back as changes.
void TMainForm::applyExamSettings()
{
    {
        const QSignalBlocker level(ExamLevelCombo), penalty(ExamPenaltySpin),
            mark(ExamPassMarkSpin), figures(ExamFigures);
        ExamLevelCombo->setCurrentIndex(m_exam.levelIndex());
        ExamPenaltySpin->setValue(m_exam.CustomPenalty);
        ExamPassMarkSpin->setValue(m_exam.CustomPassMark);
        ExamFigures->setChecked(m_exam.ShowFigures);
    }
    examLevelChanged();
}

void TMainForm::examLevelChanged()
{
    m_exam.Level = ExamLevelCombo->currentText();
    m_exam.CustomPenalty = ExamPenaltySpin->value();
    m_exam.CustomPassMark = ExamPassMarkSpin->value();
    m_exam.ShowFigures = ExamFigures->isChecked();
    const bool custom = ExamLevelCombo->currentIndex() == ExamProfile::CustomIndex;
    setBarWidgetVisible(ExamBar, ExamPenaltySpin, custom);
    setBarWidgetVisible(ExamBar, ExamPassMarkSpin, custom);
    for (QLabel *label : { ExamErrorsLabel, ExamScoreLabel, ExamPassLabel })
        setBarWidgetVisible(ExamBar, label, m_exam.ShowFigures);
    showExamFigures();
}

void TMainForm::giveKeyboardToPane()
{
    (RightMemo->isVisible() ? RightMemo : LeftMemo)->setFocus(Qt::OtherFocusReason);
}

void TMainForm::ExamBarItemClick()
{
    ExamBar->setVisible(ExamBarItem->isChecked());
}

void TMainForm::typedTextChanged()
{
    if (!m_markedErrors.isEmpty())
        clearErrorMarks();
    m_alignmentStale = true;
    scheduleAlignment();
}

// Loading a practice text forgets the name of the one before; the command that
// opened it (Open1Click, openProblem) names the new one once it is in the pane.
void TMainForm::practiceTextChanged()
{
    m_practiceName.clear();
    m_practiceStale = true;
    m_alignmentStale = true;
    clearErrorMarks();
    if (ExamResultForm) // it told of the text before
        ExamResultForm->hide();
    scheduleAlignment();
}

void TMainForm::scheduleAlignment()
{
    const qint64 delayMs = m_lastAlignNs < ImmediateAlignmentNs ? 0 : 2 * m_lastAlignNs / 1'000'000;
    m_alignTimer->start(int(std::min<qint64>(delayMs, LongestAlignmentDelayMs)));
}

void TMainForm::alignNow()
{
    m_alignTimer->stop();
    if (m_practiceStale) {
        m_alignment.setPracticeText(LeftMemo->toPlainText());
        m_practiceStale = false;
    }
    if (m_alignmentStale) {
        QElapsedTimer spent;
        spent.start();
        m_aligned = m_alignment.align(RightMemo->toPlainText());
        m_typedCount = RightWordCount().toInt();
        m_lastAlignNs = spent.nsecsElapsed();
        m_alignmentStale = false;
    }
    showExamFigures();
    showMarkerAndMarks();
}

const ExamAlignment::Result &TMainForm::examAlignment()
{
    if (m_practiceStale || m_alignmentStale)
        alignNow();
    return m_aligned;
}

void TMainForm::showExamFigures()
{
    if (!m_exam.ShowFigures)
        return;
    const ExamLevel level = m_exam.level();
    ExamPassLabel->setText(QStringLiteral("合格点 %1").arg(level.passMark));
    if (m_alignment.practiceText().isEmpty()) {
        ExamErrorsLabel->setText(QStringLiteral("練習文なし"));
        ExamScoreLabel->setText(QStringLiteral("得点 -"));
        ExamPassLabel->setStyleSheet(QString());
        return;
    }
    const ExamAlignment::Result &a = m_aligned;
    const int net = ExamProfile::netScore(m_typedCount, a.errorCount(), level.penalty);
    const bool reached = ExamProfile::passes(net, level.passMark);
    ExamErrorsLabel->setText(QStringLiteral("誤字 %1  脱字 %2  余字 %3")
                                 .arg(a.substitutions)
                                 .arg(a.omissions)
                                 .arg(a.insertions));
    ExamScoreLabel->setText(QStringLiteral("得点 %1").arg(net));
    ExamPassLabel->setText(QStringLiteral("合格点 %1 %2")
                               .arg(level.passMark)
                               .arg(reached ? QStringLiteral("到達") : QStringLiteral("未達")));
    ExamPassLabel->setStyleSheet(
        reached ? QStringLiteral("color: darkgreen") : QStringLiteral("color: darkred"));
}

ExamResult TMainForm::examResult()
{
    const ExamAlignment::Result &a = examAlignment();
    const ExamLevel level = m_exam.level();
    ExamResult result;
    result.when = QDateTime::currentDateTime();
    result.practiceName = m_practiceName;
    result.level = level.name;
    result.typedCount = m_typedCount;
    result.substitutions = a.substitutions;
    result.omissions = a.omissions;
    result.insertions = a.insertions;
    result.netScore = ExamProfile::netScore(m_typedCount, a.errorCount(), level.penalty);
    result.passMark = level.passMark;
    result.passed = ExamProfile::passes(result.netScore, result.passMark);
    return result;
}

// On demand: the same result as at ten minutes, but the history is for timed runs only.
void TMainForm::ExamCheckClick()
{
    if (LeftMemo->toPlainText().isEmpty())
        throw VemiError(QStringLiteral("練習文を読み込んでから採点してください"));
    showExamResult(examResult());
}

// The ten-minute capture: without a practice text there is nothing to score against.
void TMainForm::recordExamResult()
{
    if (LeftMemo->toPlainText().isEmpty())
        return;
    const ExamResult result = examResult();
    QString notice;
    try {
        ExamHistory(ExamHistory::pathBeside(settingsFilePath())).append(result);
    } catch (const VemiError &error) {
        notice = historyFailureNotice(error.message());
    }
    showExamResult(result, notice);
}

// The notice goes in before the window is placed, which it makes taller.
void TMainForm::showExamResult(const ExamResult &result, const QString &notice)
{
    if (!ExamResultForm) {
        ExamResultForm = new ExamResultWindow(this);
        connect(ExamResultForm, &ExamResultWindow::nextError, this, &TMainForm::nextError);
        connect(ExamResultForm, &ExamResultWindow::previousError, this, &TMainForm::previousError);
    }
    markErrors();
    ExamResultForm->setResult(result);
    if (!notice.isEmpty())
        ExamResultForm->showNotice(notice);
    if (!ExamResultForm->isVisible())
        ExamResultForm->move(clearPlaceForResult());
    ExamResultForm->present();
}

// Clear of the typing: beside the main window if the screen has room, else
// over the practice pane's bottom, or the half of the typing pane without the caret.
QPoint TMainForm::clearPlaceForResult() const
{
    QRect spare(LeftMemo->mapToGlobal(QPoint(0, 0)), LeftMemo->size());
    if (!LeftMemo->isVisible() || LeftMemo->width() < ExamResultForm->width() / 2) {
        const QRect pane(RightMemo->mapToGlobal(QPoint(0, 0)), RightMemo->size());
        const bool caretLow = RightMemo->cursorRect().center().y() > RightMemo->height() / 2;
        spare = caretLow ? pane.adjusted(0, 0, 0, -pane.height() / 2)
                         : pane.adjusted(0, pane.height() / 2, 0, 0);
    }
    // Before it is first shown, the window's frame is not known: allow for a usual one.
    QSize frame = ExamResultForm->frameGeometry().size();
    if (frame == ExamResultForm->size())
        frame += QSize(8, 32);
    return ExamResultWindow::clearPlace(
        frameGeometry(), frame, screen()->availableGeometry(), spare);
}

// Once a session: the run goes on, and later runs would only repeat the news.
// It is told in the result window, which appears without taking the keyboard:
// a message box at that moment would take the keystrokes of a learner still typing.
QString TMainForm::historyFailureNotice(const QString &message)
{
    if (m_toldHistoryFailure)
        return {};
    m_toldHistoryFailure = true;
    return message
        + QStringLiteral("\nこの結果は練習履歴に残りません。練習はこのまま続けられます。");
}
