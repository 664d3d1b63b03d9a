// The window's side of the weak-points list: it builds the list from the kept
// runs beside the history, opens a run at a mistake, and puts a drill text made
// in the list into the left pane.
#include "app/Main.h"

#include "core/exam/ExamErrorList.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "core/exam/WeakPointCache.h"
#include "dialogs/exam/ExamReviewPane.h"
#include "dialogs/exam/WeakPointsWindow.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QVBoxLayout>

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

// The run's errors as the result window lists them: the same texts align to the
// same blocks, so the kept block's index is the list's row.
void TMainForm::showKeptRun(const QString &fileName, int errorIndex)
{
    const ExamRunDetail run
        = ExamRunStore(ExamHistory::pathBeside(settingsFilePath())).read(fileName);
    ExamAlignment alignment;
    alignment.setPracticeText(run.practiceReached);
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("練習の記録 %1 %2")
                              .arg(run.result.when.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
                                  run.result.practiceName));
    auto *review = new ExamReviewPane(&dialog);
    review->showRows(
        ExamErrorList::rows(alignment.align(run.typed), run.practiceReached, run.typed));
    review->showCurrent(errorIndex);
    (new QVBoxLayout(&dialog))->addWidget(review);
    dialog.resize(560, 400);
    dialog.exec();
}
