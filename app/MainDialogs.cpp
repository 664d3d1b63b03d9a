#include "app/Main.h"

#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/text/PracticeText.h"
#include "dialogs/Option.h"
#include "dialogs/Q_Open.h"
#include "dialogs/about/AboutBox.h"
#include "dialogs/about/UserGuide.h"
#include "dialogs/exam/History.h"
#include "dialogs/score/Score.h"

#include <QFileInfo>
#include <QPlainTextEdit>

void TMainForm::setupDialogCommands()
{
    connect(N9, &QAction::triggered, this, [this] { runCommand(&TMainForm::N9Click); });
    connect(S1, &QAction::triggered, this, [this] { runCommand(&TMainForm::S1Click); });
    connect(About1, &QAction::triggered, this, [this] { runCommand(&TMainForm::About1Click); });
    connect(
        GuideItem, &QAction::triggered, this, [this] { runCommand(&TMainForm::GuideItemClick); });
    connect(N11, &QAction::triggered, this, [this] { runCommand(&TMainForm::N11Click); });
    connect(HistoryItem, &QAction::triggered, this,
        [this] { runCommand(&TMainForm::HistoryItemClick); });
    connect(WeakPointsItem, &QAction::triggered, this,
        [this] { runCommand(&TMainForm::WeakPointsItemClick); });
}

void TMainForm::N9Click()
{
    TQ_OpenForm dialog(m_layout.problemFolders(), m_services.dialogs, this);
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

// A fresh chart of the scores as they are now; it reads the list and changes nothing.
void TMainForm::N11Click()
{
    TScoreForm dialog(&m_scores, m_services.dialogs, this);
    dialog.exec();
}

// The history as the file holds it now, with the pass mark of the level chosen here.
void TMainForm::HistoryItemClick()
{
    THistoryForm dialog(ExamHistory::pathBeside(settingsFilePath()), examSettings().level(),
        m_services.dialogs, *m_shell, this);
    dialog.exec();
}

// A practice text chosen in the problem-open dialog goes into the left pane, in two-pane mode.
// It is read exactly as the list measured it (RTF as its visible text, a UTF-8
// text as UTF-8, up to a zero byte), by the bytes of its name where need be.
void TMainForm::openProblem(const QString &path, const QByteArray &nativePath)
{
    Mode2ButtonClick();
    try {
        showInPane(LeftMemo, PracticeText::load(path, nativePath));
    } catch (const VemiError &error) {
        reportError(error.message());
        return;
    }
    showLeftWordCount();
    m_practiceName = QFileInfo(path).fileName();
}

void TMainForm::About1Click()
{
    TAboutBoxForm dialog(m_services.programFile, m_services.dialogs, *m_shell, this);
    dialog.setUserGuide(m_layout.userGuide());
    dialog.exec();
}

void TMainForm::GuideItemClick()
{
    UserGuide::open(*m_shell, m_services.dialogs, this, m_layout.userGuide());
}
