// The window's side of exam scoring: it makes the scoring over its panes, gives
// it the exam settings, and runs it from the menus and the ten-minute capture.
#include "app/Main.h"

#include "app/exam/ExamMode.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "core/exam/ExamHistory.h"
#include "dialogs/exam/ExamResultWindow.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextDocument>

void TMainForm::setupExamCommands()
{
    ExamBarItem = makeViewToggle("採点バー(&E)");
    ExamCheck = makeAction("採点(&R)", -1, QKeySequence(Qt::Key_F4));
    NextError = makeAction(ExamResultWindow::NextErrorCaption, -1, QKeySequence(Qt::Key_F8));
    PreviousError = makeAction(
        ExamResultWindow::PreviousErrorCaption, -1, QKeySequence(Qt::SHIFT | Qt::Key_F8));
    ExamPrint = makeAction("採点結果を印刷(&E)...");
    connect(ExamBarItem, &QAction::triggered, this, &TMainForm::ExamBarItemClick);
}

void TMainForm::setupExamScoring()
{
    // Loading a practice text forgets the name of the one before; the command
    // that opened it (Open1Click, openProblem) names the new one once it is in the pane.
    connect(LeftMemo, &QPlainTextEdit::textChanged, this, [this] { m_practiceName.clear(); });
    m_examScoring = std::make_unique<ExamScoring>(
        ExamScoring::Panes { this, LeftMemo, RightMemo }, m_exam, [this] { return m_practiceName; },
        [this] { return ExamHistory::pathBeside(settingsFilePath()); });
    ExamScoring *scoring = m_examScoring.get();
    connect(this, &TMainForm::scoreCaptured, scoring, &ExamScoring::recordResult);
    connect(ExamCheck, &QAction::triggered, this,
        [this, scoring] { runCommand([scoring] { scoring->check(); }); });
    connect(
        ExamPrint, &QAction::triggered, this, [this] { runCommand(&TMainForm::ExamPrintClick); });
    connect(NextError, &QAction::triggered, scoring, &ExamScoring::nextError);
    connect(PreviousError, &QAction::triggered, scoring, &ExamScoring::previousError);
    connect(this, &TMainForm::practiceStarted, scoring, &ExamScoring::practiceStarted);
    connect(this, &TMainForm::practiceTicked, scoring, &ExamScoring::practiceTicked);
    connect(this, &TMainForm::practiceStopped, scoring, &ExamScoring::practiceStopped);

    m_examMode = new ExamMode(RightMemo, m_exam, m_services.dialogs, this);
    connect(this, &TMainForm::scoreCaptured, m_examMode, &ExamMode::timeUp);
    for (auto released :
        { &TMainForm::practiceStarted, &TMainForm::practiceStopped, &TMainForm::documentRenewed })
        connect(this, released, m_examMode, &ExamMode::release);
    connect(scoring->bar()->ExamModeAction, &QAction::toggled, m_examMode, [this](bool on) {
        if (!on)
            m_examMode->release();
    });
}

void TMainForm::ExamBarItemClick()
{
    m_examScoring->bar()->setVisible(ExamBarItem->isChecked());
}

// The check's result on paper, or in a PDF file through the print dialog; made
// before the dialog, so a missing practice text is told without asking for a printer.
void TMainForm::ExamPrintClick()
{
    const std::unique_ptr<QTextDocument> report = m_examScoring->report();
    if (!m_services.dialogs.print(this, printer()))
        return;
    report->print(&printer());
}
