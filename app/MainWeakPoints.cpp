// The window's side of the weak-points list: it builds the list from the kept
// runs beside the history, opens a run at a mistake, and puts a drill text made
// in the list into the left pane.
#include "app/Main.h"

#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "core/exam/WeakPointCache.h"
#include "dialogs/exam/ExamRunReview.h"
#include "dialogs/exam/WeakPointsWindow.h"

void TMainForm::WeakPointsItemClick()
{
    const ExamRunStore store(ExamHistory::pathBeside(settingsFilePath()));
    WeakPointCache cache(
        store.folder(), [&store](const QString &name) { return store.read(name); });
    const QList<WeakPoints::Row> rows = cache.rows();
    WeakPointsWindow window(rows, cache.unreadable(), this);
    connect(&window, &WeakPointsWindow::runChosen, this, [this](const QString &name, int index) {
        runCommand([this, name, index] { showKeptRun(name, index); });
    });
    connect(&window, &WeakPointsWindow::drillMade, this, &TMainForm::openDrill);
    window.exec();
}

// Like openProblem: two-pane mode, the text in the left pane (which clears the
// marks and brings the exam bar's kanji share up to date), the count shown.
void TMainForm::openDrill(const QString &text)
{
    Mode2ButtonClick();
    showInPane(LeftMemo, text);
    showLeftWordCount();
    m_practiceName = QString::fromUtf8(DrillName);
}

// The kept run as the history opens it, at the mistake's block.
void TMainForm::showKeptRun(const QString &fileName, int errorIndex)
{
    ExamRunReview review(
        ExamRunStore(ExamHistory::pathBeside(settingsFilePath())).read(fileName), this);
    review.showError(errorIndex);
    review.exec();
}
