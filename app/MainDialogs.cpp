#include "Main.h"

#include "Errors.h"
#include "Option.h"
#include "ProgramPath.h"
#include "Q_Open.h"

#include <QPlainTextEdit>

void TMainForm::setupDialogCommands()
{
    connect(N9, &QAction::triggered, this, [this] { runCommand(&TMainForm::N9Click); });
    connect(S1, &QAction::triggered, this, [this] { runCommand(&TMainForm::S1Click); });
}

void TMainForm::N9Click()
{
    TQ_OpenForm dialog(ProgramPath::folderOf(m_services.programFile), m_services.dialogs, this);
    connect(&dialog, &TQ_OpenForm::problemChosen, this, &TMainForm::openProblem);
    dialog.exec();
}

// The options dialog writes the settings record and recolours the display only on OK.
void TMainForm::S1Click()
{
    TOptionForm dialog(m_settings, LCD99, m_services.dialogs, this);
    connect(&dialog, &TOptionForm::marksChanged, this, &TMainForm::ShowMarks);
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
