#pragma once

#include "app/exam/ExamMarks.h"
#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamCalculation.h"
#include "core/exam/ExamPace.h"
#include "core/settings/ExamSettings.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QPlainTextEdit;
class QTextDocument;
class QTimer;
class ExamResultWindow;
class ExamToolBar;
struct ExamResult;

// Exam scoring beside the practice: it follows both panes, keeps the alignment
// of the typed text up to date while typing pauses, shows the live figures in
// its bar and the marks in the panes, and at the ten-minute capture shows the
// result and adds it to the practice history. It creates its bar and its
// result window as children of the main window; the panes stay the window's.
class ExamScoring : public QObject
{
    Q_OBJECT
public:
    struct Panes
    {
        QWidget *window; // the main window: owner of the bar and the result window
        QPlainTextEdit *practice; // read only here; its changes mean a new practice text
        QPlainTextEdit *typed;
    };
    // `settings` is the window's record of the learner's choices, which the
    // bar keeps up to date; practiceName gives the loaded practice text's file
    // name, historyPath the practice history's file.
    ExamScoring(const Panes &panes, ExamSettings &settings, std::function<QString()> practiceName,
        std::function<QString()> historyPath);
    ~ExamScoring() override;

    ExamToolBar *bar() const { return m_bar; }
    ExamResultWindow *resultWindow() const { return m_resultWindow; } // made at the first result

    // Shows the settings, just loaded, in the bar.
    void applySettings();
    // The alignment the figures and the marker show, brought up to date first.
    const ExamAlignment::Result &alignment();
    int currentErrorIndex() const { return m_marks.currentIndex(); } // -1 before the first step
    int markerBlock() const { return m_marks.markerBlock(); } // the line marked as reached, or -1
    // The result as the check shows it, with the typed text marked and the
    // errors listed, ready to print. Throws VemiError when there is no practice text.
    std::unique_ptr<QTextDocument> report();

public slots:
    // Scores the typed text as it stands and shows the result and the marks;
    // records nothing. Throws VemiError when there is no practice text.
    void check();
    // The ten-minute capture: the result of typedCount characters goes into the history too.
    void recordResult(int typedCount);
    void nextError() { stepErrors(1); }
    void previousError() { stepErrors(-1); }
    // The practice timer's run: the lead on the needed pace follows its ticks,
    // and the typed count at each minute mark goes to the result's chart.
    void practiceStarted();
    void practiceTicked(quint32 elapsedSeconds);
    void practiceStopped();

private:
    void settingsChanged();
    void typedTextChanged();
    void practiceTextChanged();
    void scheduleAlignment();
    void alignNow();
    void showFigures();
    void showMarks();
    void resultOutdated();
    void stepErrors(int step);
    ExamCalculation calculationFor(int typedCount);
    void showLead();
    ExamResult resultFor(int typedCount);
    void showResult(
        const ExamResult &result, const ExamCalculation &calculation, const QString &notice = {});
    QPoint clearPlaceForResult() const;
    QString historyFailureNotice(const QString &message);
    QString runFailureNotice(const QString &message);

    Panes m_panes;
    ExamSettings &m_settings;
    std::function<QString()> m_practiceName;
    std::function<QString()> m_historyPath;
    ExamToolBar *m_bar;
    ExamResultWindow *m_resultWindow = nullptr;
    ExamMarks m_marks;
    ExamAlignment m_alignment;
    ExamAlignment::Result m_aligned;
    QString m_alignedTyped; // the typed text m_aligned was made of
    std::optional<QString> m_checkedTyped; // the typed text the result shown was made of
    int m_typedCount = 0; // the count the alignment was made with
    QTimer *m_alignTimer; // the alignment waits until typing pauses
    qint64 m_lastAlignNs = 0;
    bool m_alignmentStale = true;
    bool m_practiceStale = true;
    bool m_toldHistoryFailure = false;
    bool m_toldRunFailure = false;
    ExamPace::MinuteMarks m_minutes; // of the run going on or the last one
    quint32 m_elapsedSeconds = 0;
    bool m_running = false;
};
