#include "Main.h"

#include "Errors.h"
#include "ProgramPath.h"
#include "Q_Open.h"
#include "Score.h"

#include <QPlainTextEdit>

void TMainForm::setupDialogCommands()
{
    connect(N9, &QAction::triggered, this, [this] { runCommand(&TMainForm::N9Click); });
    connect(N11, &QAction::triggered, this, [this] { runCommand(&TMainForm::N11Click); });
}

void TMainForm::N9Click()
{
    TQ_OpenForm dialog(ProgramPath::folderOf(m_services.programFile), m_services.dialogs, this);
    connect(&dialog, &TQ_OpenForm::problemChosen, this, &TMainForm::openProblem);
    dialog.exec();
}

// A fresh chart of the scores as they are now; it reads the list and changes nothing.
void TMainForm::N11Click()
{
    TScoreForm dialog(&m_scores, m_services.dialogs, this);
    dialog.exec();
}

// A practice text chosen in the problem-open dialog goes into the left pane, in two-pane mode.
void TMainForm::openProblem(const QString &path)
{
    Mode2ButtonClick();
    try {
        loadFileIntoPane(LeftMemo, path);
    } catch (const VemiError &error) {
        reportError(error.message());
        return;
    }
    showLeftWordCount();
}
