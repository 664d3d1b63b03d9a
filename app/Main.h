#pragma once

#include "DataLayout.h"
#include "ExamAlignment.h"
#include "ExamSettings.h"
#include "FlashSettings.h"
#include "PracticeTimer.h"
#include "Services.h"
#include "Settings.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <memory>

class AlarmFlash;
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QSessionManager;
class QSpinBox;
class QTimer;
class QToolBar;
class QToolButton;
class Shell;
class TFontComboBox;
class TLCD99;
class TRxSplitter;
class ExamResultWindow;
struct ExamResult;

// The trainer's window: practice text on the left, the learner's typing on
// the right, tool bars with the timer display on top, live counts below.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int StatusPanelCount = 3;

    TMainForm(const Services &services, Settings &settings, QStringList &scores,
        QWidget *parent = nullptr);
    ~TMainForm() override;

    // Visible character counts of the panes as decimal text.
    QString LeftWordCount() const;
    QString RightWordCount() const;

    // The shell that opens the about dialog's link (the desktop's unless replaced).
    void setShell(Shell &shell) { m_shell = &shell; }
    // Where the settings file, practice texts, sounds and guide are (beside the
    // program unless replaced); set before the window is first shown.
    void setDataLayout(const DataLayout &layout) { m_layout = layout; }

    QString documentName() const { return m_documentName; }
    QString settingsFilePath() const;
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text);
    int statusPanelWidth(int panel) const;
    QRect statusPanelGeometry(int panel) const; // in the status bar's coordinates

    // Child controls, named as the rest of the program refers to them.
    QToolBar *StandardToolBar = nullptr;
    QToolBar *FontBar = nullptr;
    QToolBar *TimeBar = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QToolButton *ToolButton3 = nullptr;
    QToolButton *ToolButton4 = nullptr;
    QToolButton *Mode1Button = nullptr;
    QToolButton *Mode2Button = nullptr;
    QToolButton *StartButton = nullptr;
    QToolButton *StopButton = nullptr;
    TFontComboBox *FontCombo = nullptr;
    QComboBox *FontSizeCombo = nullptr;
    TLCD99 *LCD99 = nullptr;
    QWidget *DoublePanel = nullptr;
    QPlainTextEdit *LeftMemo = nullptr;
    TRxSplitter *Splitter = nullptr;
    QPlainTextEdit *RightMemo = nullptr;
    QWidget *StatusBar = nullptr;
    QTimer *Timer1 = nullptr; // one tick a second while a practice run is timed

    // Menu commands; a menu item and its tool button share one action.
    QAction *New1 = nullptr;
    QAction *Open1 = nullptr;
    QAction *N9 = nullptr;
    QAction *Save1 = nullptr;
    QAction *SaveAs1 = nullptr;
    QAction *Print1 = nullptr;
    QAction *PrintSetup1 = nullptr;
    QAction *Exit1 = nullptr;
    QAction *N5 = nullptr;
    QAction *F1 = nullptr;
    QAction *N4 = nullptr;
    QAction *Show1 = nullptr;
    QAction *N6 = nullptr;
    QAction *N7 = nullptr;
    QAction *N11 = nullptr;
    QAction *B1 = nullptr;
    QAction *S2 = nullptr;
    QAction *S1 = nullptr;
    QAction *About1 = nullptr;

    // The practice history window (MainDialogs.cpp).
    QAction *HistoryItem = nullptr; // 表示 → 練習履歴(&H)...
    void HistoryItemClick();
    QAction *GuideItem = nullptr; // ヘルプ → 使い方(&H)
    void GuideItemClick();

    // Exam scoring: the level and live figures, the result window, the marks.
    QToolBar *ExamBar = nullptr;
    QComboBox *ExamLevelCombo = nullptr;
    QSpinBox *ExamPenaltySpin = nullptr; // shown for 自由設定 only
    QSpinBox *ExamPassMarkSpin = nullptr; // shown for 自由設定 only
    QLabel *ExamErrorsLabel = nullptr;
    QLabel *ExamScoreLabel = nullptr;
    QLabel *ExamPassLabel = nullptr;
    QAction *ExamFigures = nullptr; // shows or hides the three figures
    QAction *ExamBarItem = nullptr; // 表示 → 採点バー(&E)
    QAction *ExamCheck = nullptr; // タイマー → 採点(&R), F4
    QAction *NextError = nullptr; // F8
    QAction *PreviousError = nullptr; // Shift+F8
    ExamResultWindow *ExamResultForm = nullptr; // made at the first result

    const ExamSettings &examSettings() const { return m_exam; }
    // The alignment the figures and the marker show, brought up to date first.
    const ExamAlignment::Result &examAlignment();
    // Scores the typed text as it stands against the practice text.
    ExamResult examResult();
    void ExamCheckClick(); // shows the result and the marks; records nothing
    void ExamBarItemClick();
    void nextError();
    void previousError();
    int currentErrorIndex() const; // -1 before the first step
    int examMarkerBlock() const; // the practice text's line marked as reached, or -1

public slots:
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Print1Click();
    void PrintSetup1Click();
    void N9Click();
    void S1Click();
    void N11Click();
    void Mode1ButtonClick();
    void Mode2ButtonClick();
    void N6Click() { Mode1ButtonClick(); }
    void N7Click() { Mode2ButtonClick(); }
    void N5Click();
    void F1Click();
    void N4Click();
    void Show1Click();
    void Exit1Click();
    void FontComboChange();
    void FontSizeComboChange();
    void RightMemoChange();
    void StartButtonClick();
    void StopButtonClick();
    void B1Click() { StartButtonClick(); }
    void S2Click() { StopButtonClick(); }
    void Timer1Timer();
    void About1Click();
    // New shows 00:00 again; a running timer goes on and overwrites it at its next tick.
    void resetTimerDisplay();
    void LineLengthChange() { }
    void ShowMarks() { }
    // The desktop session is ending without interaction: keep the scores, as a
    // normal close would; a failure is told on standard error, never in a box.
    void saveSettingsForSessionEnd();
    // The session manager asks before logging off: the close question may refuse.
    void commitSession(QSessionManager &manager);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupPanes();
    void setupStatusBar();
    void setupCentralArea();
    void setupActions();
    void setupMenus();
    void setupToolBars();
    void setupFontBar();
    void setupTimeBar();
    void setupTimer();
    void setupDocumentCommands();
    void setupDialogCommands();
    void openProblem(const QString &path, const QByteArray &nativePath = QByteArray());
    void runCommand(void (TMainForm::*command)());
    QMessageBox::StandardButton askToSave();
    void Ask();
    void showInPane(QPlainTextEdit *pane, const QString &text);
    bool save();
    bool saveAs();
    bool writeTypedText(const QString &path);
    void setDocumentName(const QString &name);
    void setUntitled();
    bool isUntitled() const;
    void showLeftWordCount();
    QPrinter &printer();
    void setTimeDisplay(const QString &text);
    void flashAlarm();
    void tellSoundFailure(const QString &reason);
    QAction *makeAction(
        const char *caption, int image = -1, const QKeySequence &shortcut = QKeySequence());
    QAction *makeViewToggle(const char *caption);

    void FormShow();
    void FormActivate();
    void FormResize();
    void applyLeftMemoWidth();
    bool FormCloseQuery();
    bool FormClose();
    void loadSettings();
    void LoadDefaultSetting();
    void applyLcdColors();
    void applyFonts();
    void setPaneFontSize(int points);
    void writeSettings();
    void tellReplacedSettings();
    void reportError(const QString &message);

    const Services &m_services;
    Shell *m_shell;
    Settings &m_settings;
    QStringList &m_scores;
    PracticeTimer m_practice;
    FlashSettings m_flash;
    AlarmFlash *m_alarmFlash = nullptr;
    bool m_toldSoundFailure = false;
    std::unique_ptr<QPrinter> m_printer; // the printer and page chosen so far
    QLabel *m_statusPanels[StatusPanelCount] = {};
    QString m_documentName;
    int m_leftMemoWidth = 185; // the design width, until the first resize halves the panel
    bool m_shown = false;
    QStringList m_replacedSettings; // "key: value" of each setting saved with "?"
    bool m_toldReplacedSettings = false;

    // Exam scoring (MainExam*.cpp).
    void setupExamBar();
    void setupExamCommands();
    void loadExamSettings();
    void applyExamSettings();
    void examLevelChanged();
    void giveKeyboardToPane();
    void typedTextChanged();
    void practiceTextChanged();
    void scheduleAlignment();
    void alignNow();
    void showExamFigures();
    void recordExamResult();
    void showExamResult(const ExamResult &result, const QString &notice = {});
    QPoint clearPlaceForResult() const;
    QString historyFailureNotice(const QString &message);
    void markErrors();
    void clearErrorMarks();
    void showMarkerAndMarks();
    void stepError(int step);
    ExamSettings m_exam;
    ExamAlignment m_alignment;
    ExamAlignment::Result m_aligned;
    int m_typedCount = 0; // the count the alignment was made with
    QTimer *m_alignTimer = nullptr; // the alignment waits until typing pauses
    qint64 m_lastAlignNs = 0;
    bool m_alignmentStale = true;
    bool m_practiceStale = true;
    QString m_practiceName; // file name of the loaded practice text
    QList<ExamAlignment::Error> m_markedErrors; // the answer check shown, until the next edit
    int m_currentError = -1;
    int m_markerBlock = -1;
    int m_markerLine = -1; // where the screen line with the band starts
    bool m_toldHistoryFailure = false;

    DataLayout m_layout = DataLayout::portable(m_services.programFile);
};
