#include "app/exam/ExamScoring.h"

#include "app/exam/ExamPaceLabels.h"
#include "app/exam/ExamToolBar.h"
#include "core/Errors.h"
#include "core/exam/ExamErrorList.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamResult.h"
#include "core/exam/ExamRunStore.h"
#include "core/exam/KanjiShare.h"
#include "core/text/VisibleCount.h"
#include "dialogs/exam/ExamMinuteChart.h"
#include "dialogs/exam/ExamReport.h"
#include "dialogs/exam/ExamResultWindow.h"
#include "dialogs/exam/ExamReviewPane.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>

namespace {
// An alignment that takes this long is put off until typing pauses, for twice
// its own time, so that a burst of keystrokes pays for one alignment only.
constexpr qint64 ImmediateAlignmentNs = 8'000'000;
constexpr int LongestAlignmentDelayMs = 300;
} // namespace

ExamScoring::ExamScoring(const Panes &panes, ExamSettings &settings,
    std::function<QString()> practiceName, std::function<QString()> historyPath)
    : m_panes(panes)
    , m_settings(settings)
    , m_practiceName(std::move(practiceName))
    , m_historyPath(std::move(historyPath))
    , m_bar(new ExamToolBar(panes.window))
    , m_marks(panes.practice, panes.typed)
    , m_alignTimer(new QTimer(this))
{
    connect(m_bar, &ExamToolBar::changed, this, &ExamScoring::settingsChanged);
    // A level picked or a figure entered, the next keystroke is typing again.
    connect(m_bar, &ExamToolBar::choiceMade, this, [this] {
        QPlainTextEdit *pane = m_panes.typed->isVisible() ? m_panes.typed : m_panes.practice;
        pane->setFocus(Qt::OtherFocusReason);
    });
    m_alignTimer->setSingleShot(true);
    connect(m_alignTimer, &QTimer::timeout, this, &ExamScoring::alignNow);
    connect(m_panes.typed, &QPlainTextEdit::textChanged, this, &ExamScoring::typedTextChanged);
    connect(
        m_panes.practice, &QPlainTextEdit::textChanged, this, &ExamScoring::practiceTextChanged);
    applySettings();
    scheduleAlignment();
}

ExamScoring::~ExamScoring() = default;

void ExamScoring::applySettings()
{
    m_bar->showSettings(m_settings);
    settingsChanged();
}

// The bar's controls are the choices: a level name the program does not know
// comes back as the level shown.
void ExamScoring::settingsChanged()
{
    m_bar->readSettings(m_settings);
    showFigures();
}

// An input method sends an empty event when the window is activated again, and
// the pane reports a change with its text as it was: the marks stay for that.
void ExamScoring::typedTextChanged()
{
    if (m_checkedTyped && m_panes.typed->toPlainText() != *m_checkedTyped) {
        m_checkedTyped.reset();
        m_marks.clear();
        showMarks();
        resultOutdated();
    }
    m_alignmentStale = true;
    scheduleAlignment();
}

void ExamScoring::stepErrors(int step)
{
    m_marks.step(step);
    if (m_resultWindow && m_checkedTyped)
        m_resultWindow->Review->showCurrent(m_marks.currentIndex());
}

// A new text (新規作成, or the typing pane emptied) closes the result; any other
// edit leaves it to be read, but its errors no longer match the text.
void ExamScoring::resultOutdated()
{
    if (!m_resultWindow)
        return;
    if (m_panes.typed->document()->isEmpty())
        m_resultWindow->hide();
    else
        m_resultWindow->setOutdated();
}

void ExamScoring::practiceTextChanged()
{
    m_practiceStale = true;
    m_alignmentStale = true;
    m_checkedTyped.reset();
    m_marks.clear();
    showMarks();
    if (m_resultWindow) // it told of the text before
        m_resultWindow->hide();
    scheduleAlignment();
}

void ExamScoring::scheduleAlignment()
{
    const qint64 delayMs = m_lastAlignNs < ImmediateAlignmentNs ? 0 : 2 * m_lastAlignNs / 1'000'000;
    m_alignTimer->start(int(std::min<qint64>(delayMs, LongestAlignmentDelayMs)));
}

void ExamScoring::alignNow()
{
    m_alignTimer->stop();
    if (m_practiceStale) {
        m_alignment.setPracticeText(m_panes.practice->toPlainText());
        m_practiceStale = false;
        // Once a text: the practice pane changes only when a text is loaded.
        const QString text = m_alignment.practiceText();
        m_bar->Pace->showKanji(text.isEmpty() ? QString() : KanjiShare::caption(text));
    }
    if (m_alignmentStale) {
        QElapsedTimer spent;
        spent.start();
        m_alignedTyped = m_panes.typed->toPlainText();
        m_aligned = m_alignment.align(m_alignedTyped);
        m_typedCount = visiblePaneCount(m_alignedTyped);
        m_lastAlignNs = spent.nsecsElapsed();
        m_alignmentStale = false;
    }
    showFigures();
    showMarks();
}

const ExamAlignment::Result &ExamScoring::alignment()
{
    if (m_practiceStale || m_alignmentStale)
        alignNow();
    return m_aligned;
}

void ExamScoring::showMarks()
{
    m_marks.show(m_aligned, !m_practiceStale);
}

void ExamScoring::showFigures()
{
    const ExamLevel level = m_settings.level();
    m_bar->Pace->showPace(level.passMark);
    showLead();
    if (!m_settings.ShowFigures)
        return;
    if (m_alignment.practiceText().isEmpty()) {
        m_bar->showNoPracticeText(level.passMark);
        return;
    }
    m_bar->showFigures(m_aligned,
        ExamCalculation { m_typedCount, m_aligned.errorCount(), level.penalty, level.passMark });
}

ExamCalculation ExamScoring::calculationFor(int typedCount)
{
    const ExamLevel level = m_settings.level();
    return { typedCount, alignment().errorCount(), level.penalty, level.passMark };
}

ExamResult ExamScoring::resultFor(int typedCount)
{
    const ExamAlignment::Result &a = alignment();
    const ExamLevel level = m_settings.level();
    const ExamCalculation calculation = calculationFor(typedCount);
    ExamResult result;
    result.when = QDateTime::currentDateTime();
    result.practiceName = m_practiceName();
    result.level = level.title();
    result.typedCount = typedCount;
    result.substitutions = a.substitutions;
    result.omissions = a.omissions;
    result.insertions = a.insertions;
    result.netScore = calculation.netScore();
    result.passMark = calculation.passMark;
    result.passed = calculation.passed();
    return result;
}

// On demand: the same result as at ten minutes, but the history is for timed runs only.
void ExamScoring::check()
{
    if (m_panes.practice->toPlainText().isEmpty())
        throw VemiError(QStringLiteral("練習文を読み込んでから採点してください"));
    alignment();
    showResult(resultFor(m_typedCount), calculationFor(m_typedCount));
}

// Without a practice text there is nothing to score against. The run is kept
// first, so that its row can name it; a run that cannot be kept still gets its
// row, and a kept run whose row cannot be written goes again, as nothing names it.
void ExamScoring::recordResult(int typedCount)
{
    if (m_panes.practice->toPlainText().isEmpty())
        return;
    ExamResult result = resultFor(typedCount);
    const QString historyPath = m_historyPath();
    const ExamRunStore store(historyPath);
    QString runFailure;
    try {
        result.detailFile = store.write(ExamRunStore::make(
            result, m_settings.level(), m_aligned, m_alignment.practiceText(), m_alignedTyped));
    } catch (const VemiError &error) {
        runFailure = error.message();
    }
    QString notice;
    try {
        ExamHistory(historyPath).append(result);
        if (!runFailure.isEmpty())
            notice = runFailureNotice(runFailure);
    } catch (const VemiError &error) {
        // The history's notice tells the whole loss.
        notice = historyFailureNotice(error.message());
        if (!result.detailFile.isEmpty()) {
            try {
                store.remove(result.detailFile);
            } catch (const VemiError &) { // only space is lost
            }
        }
    }
    showResult(result, calculationFor(typedCount), notice);
}

// The notice goes in before the window is placed, which it makes taller.
void ExamScoring::showResult(
    const ExamResult &result, const ExamCalculation &calculation, const QString &notice)
{
    if (!m_resultWindow) {
        m_resultWindow = new ExamResultWindow(m_panes.window);
        connect(m_resultWindow, &ExamResultWindow::nextError, this, &ExamScoring::nextError);
        connect(
            m_resultWindow, &ExamResultWindow::previousError, this, &ExamScoring::previousError);
        connect(m_resultWindow->Review, &ExamReviewPane::rowChosen, this,
            [this](int row) { m_marks.select(row); });
    }
    m_marks.mark(m_aligned.errors);
    m_checkedTyped = m_alignedTyped;
    showMarks();
    m_resultWindow->MinuteChart->setCounts(
        m_minutes.perMinute(), ExamPace::perMinute(result.passMark));
    m_resultWindow->setResult(result);
    m_resultWindow->showCalculation(calculation.text());
    m_resultWindow->Review->showRows(
        ExamErrorList::rows(m_aligned, m_alignment.practiceText(), m_alignedTyped));
    m_resultWindow->adjustSize(); // the list's columns as wide as their rows
    if (!notice.isEmpty())
        m_resultWindow->showNotice(notice);
    if (!m_resultWindow->isVisible())
        m_resultWindow->move(clearPlaceForResult());
    m_resultWindow->present();
}

std::unique_ptr<QTextDocument> ExamScoring::report()
{
    if (m_panes.practice->toPlainText().isEmpty())
        throw VemiError(QStringLiteral("練習文を読み込んでから採点してください"));
    alignment();
    return ExamReport::build({ resultFor(m_typedCount), calculationFor(m_typedCount).text(),
        ExamErrorList::rows(m_aligned, m_alignment.practiceText(), m_alignedTyped), m_alignedTyped,
        m_panes.typed->font() });
}

// Clear of the typing: beside the main window if the screen has room, else
// over the practice pane's bottom, or the half of the typing pane without the caret.
QPoint ExamScoring::clearPlaceForResult() const
{
    const QPlainTextEdit *left = m_panes.practice;
    const QPlainTextEdit *right = m_panes.typed;
    QRect spare(left->mapToGlobal(QPoint(0, 0)), left->size());
    if (!left->isVisible() || left->width() < m_resultWindow->width() / 2) {
        const QRect pane(right->mapToGlobal(QPoint(0, 0)), right->size());
        const bool caretLow = right->cursorRect().center().y() > right->height() / 2;
        spare = caretLow ? pane.adjusted(0, 0, 0, -pane.height() / 2)
                         : pane.adjusted(0, pane.height() / 2, 0, 0);
    }
    // Before it is first shown, the window's frame is not known: allow for a usual one.
    QSize frame = m_resultWindow->frameGeometry().size();
    if (frame == m_resultWindow->size())
        frame += QSize(8, 32);
    return ExamResultWindow::clearPlace(m_panes.window->frameGeometry(), frame,
        m_panes.window->screen()->availableGeometry(), spare);
}

// Once a session: the run goes on, and later runs would only repeat the news.
// It is told in the result window, which appears without taking the keyboard:
// a message box at that moment would take the keystrokes of a learner still typing.
QString ExamScoring::historyFailureNotice(const QString &message)
{
    if (m_toldHistoryFailure)
        return {};
    m_toldHistoryFailure = true;
    return message
        + QStringLiteral("\nこの結果は練習履歴に残りません。練習はこのまま続けられます。");
}

// As the history's failure, once a session; the row is written all the same.
QString ExamScoring::runFailureNotice(const QString &message)
{
    if (m_toldRunFailure)
        return {};
    m_toldRunFailure = true;
    return message + QStringLiteral("\nこの回の入力内容は残りませんが、結果は練習履歴に残ります。");
}

void ExamScoring::practiceStarted()
{
    m_minutes.start(visiblePaneCount(m_panes.typed->toPlainText()));
    m_elapsedSeconds = 0;
    m_running = true;
    showLead();
}

// The count is taken at the minute marks only: counting the pane every second
// would cost a long text's typing time.
void ExamScoring::practiceTicked(quint32 elapsedSeconds)
{
    m_elapsedSeconds = elapsedSeconds;
    if (m_minutes.due(elapsedSeconds))
        m_minutes.take(elapsedSeconds, visiblePaneCount(m_panes.typed->toPlainText()));
    showLead();
}

void ExamScoring::practiceStopped()
{
    m_running = false;
    showLead();
}

// The lead is one of the live figures: hidden with them, and without a text or a run.
void ExamScoring::showLead()
{
    if (!m_running || !m_settings.ShowFigures || m_alignment.practiceText().isEmpty()) {
        m_bar->Pace->clearLead();
        return;
    }
    const ExamLevel level = m_settings.level();
    const int net = ExamProfile::netScore(m_typedCount, m_aligned.errorCount(), level.penalty);
    m_bar->Pace->showLead(ExamPace::lead(net, level.passMark, m_elapsedSeconds));
}
