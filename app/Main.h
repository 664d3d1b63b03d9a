#pragma once

#include "core/exam/ExamAlignment.h"
#include "core/practice/PracticeTimer.h"
#include "core/settings/ExamSettings.h"
#include "core/settings/FlashSettings.h"
#include "core/settings/Settings.h"
#include "core/settings/SheetSettings.h"
#include "platform/DataLayout.h"
#include "platform/Services.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStringList>

#include <functional>
#include <memory>

class AlarmFlash;
class AnswerSheet;
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
class SettingsFile;
class Shell;
class TFontComboBox;
class TLCD99;
class TRxSplitter;
class ExamMode;
class ExamScoring;

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
    QToolButton *ToolButton1 = nullptr; // 新規作成 (New1)
    QToolButton *ToolButton2 = nullptr; // 開く (Open1)
    QToolButton *ToolButton3 = nullptr; // 上書き保存 (Save1)
    QToolButton *ToolButton4 = nullptr; // 印刷, a button that does nothing
    QToolButton *Mode1Button = nullptr; // １画面モード: the typing pane alone
    QToolButton *Mode2Button = nullptr; // ２画面モード: practice text and typing
    QToolButton *StartButton = nullptr;
    QToolButton *StopButton = nullptr;
    TFontComboBox *FontCombo = nullptr;
    QComboBox *FontSizeCombo = nullptr;
    TLCD99 *LCD99 = nullptr; // the timer's seven-segment display, MM:SS
    QWidget *DoublePanel = nullptr; // holds the two panes and the splitter
    QPlainTextEdit *LeftMemo = nullptr; // the practice text, read only
    TRxSplitter *Splitter = nullptr;
    QPlainTextEdit *RightMemo = nullptr; // the learner's typing
    QWidget *StatusBar = nullptr; // panel 0 the practice count, panel 2 the typed count
    QTimer *Timer1 = nullptr; // one tick a second while a practice run is timed

    // Menu commands; a menu item and its tool button share one action.
    QAction *New1 = nullptr; // ファイル → 新規作成(&N), Ctrl+N
    QAction *Open1 = nullptr; // ファイル → 開く(&O)..., Ctrl+O
    QAction *N9 = nullptr; // ファイル → 問題を開く(&Q)...: the problem-open dialog
    QAction *Save1 = nullptr; // ファイル → 上書き保存(&S), Ctrl+S
    QAction *SaveAs1 = nullptr; // ファイル → 名前をつけて保存(&A)...
    QAction *Print1 = nullptr; // ファイル → 印刷(&P)..., Ctrl+P
    QAction *PrintSetup1 = nullptr; // ファイル → ページ設定(&R)...
    QAction *Exit1 = nullptr; // ファイル → 終了(&X)
    QAction *N5 = nullptr; // 表示 → ツールバー(&B): shows StandardToolBar
    QAction *F1 = nullptr; // 表示 → フォントバー(&F): shows FontBar
    QAction *N4 = nullptr; // 表示 → タイムバー(&T): shows TimeBar
    QAction *Show1 = nullptr; // 表示 → ステータスバー(&S): shows StatusBar
    QAction *N6 = nullptr; // 表示 → １画面モード, Ctrl+1 (Mode1Button)
    QAction *N7 = nullptr; // 表示 → ２画面モード, Ctrl+2 (Mode2Button)
    QAction *N11 = nullptr; // 表示 → 成績...: the score chart
    QAction *B1 = nullptr; // タイマー → 開始(&B), F2 (StartButton)
    QAction *S2 = nullptr; // タイマー → 停止(&S), F3 (StopButton)
    QAction *S1 = nullptr; // 設定 → 環境設定(&S)...: the options dialog
    QAction *About1 = nullptr; // ヘルプ → バージョン情報(&A)...: the about dialog

    // The practice history window (MainDialogs.cpp).
    QAction *HistoryItem = nullptr; // 表示 → 練習履歴(&H)...
    void HistoryItemClick();
    // The weak points across the kept runs (MainWeakPoints.cpp).
    QAction *WeakPointsItem = nullptr; // 表示 → 弱点一覧(&W)...
    void WeakPointsItemClick();
    // A practice text made in the list goes into the left pane as 問題を開く puts
    // one there; nothing is written to a file.
    void openDrill(const QString &text);
    // One kept run's errors, the error block at errorIndex chosen.
    void showKeptRun(const QString &fileName, int errorIndex);
    static constexpr const char *DrillName = "弱点練習";
    QAction *GuideItem = nullptr; // ヘルプ → 使い方(&H)
    void GuideItemClick();

    // Exam scoring (app/exam/): the window's menu commands for it; the scoring
    // itself makes its bar and result window and marks the panes.
    QAction *ExamBarItem = nullptr; // 表示 → 採点バー(&E)
    QAction *ExamCheck = nullptr; // タイマー → 採点(&R), F4
    QAction *ExamPrint = nullptr; // ファイル → 採点結果を印刷(&E)...
    void ExamPrintClick();
    ExamScoring &exam() { return *m_examScoring; }
    const ExamSettings &examSettings() const { return m_exam; }
    void ExamBarItemClick();

    // 表示 → 答案用紙レイアウト(&L): both panes as on the exam's answer sheet (MainSheet.cpp).
    QAction *SheetItem = nullptr;
    void SheetItemClick();
    AnswerSheet &answerSheet() { return *m_answerSheet; }

signals:
    // The ten-minute capture has appended typedCount, the visible count of the
    // typed text, to the score list.
    void scoreCaptured(int typedCount);
    // A timed run: started (F2), a tick with its elapsed whole seconds (before
    // the capture it may bring), stopped (F3).
    void practiceStarted();
    void practiceTicked(quint32 elapsedSeconds);
    void practiceStopped();
    void documentRenewed(); // 新規作成 has emptied the typing pane

public slots:
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Print1Click();
    void PrintSetup1Click();
    void N9Click(); // the problem-open dialog
    void S1Click(); // the options dialog
    void N11Click(); // the score chart
    void Mode1ButtonClick();
    void Mode2ButtonClick();
    void N6Click() { Mode1ButtonClick(); }
    void N7Click() { Mode2ButtonClick(); }
    void N5Click(); // shows or hides StandardToolBar
    void F1Click(); // shows or hides FontBar
    void N4Click(); // shows or hides TimeBar
    void Show1Click(); // shows or hides StatusBar
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
    void runCommand(const std::function<void()> &command);
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
    SettingsFile &settingsFile();
    void writeSettings();
    void writeScoresAtCapture();
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
    std::unique_ptr<SettingsFile> m_settingsFile; // made at the first read or write
    QStringList m_replacedSettings; // "key: value" of each setting saved with "?"
    bool m_toldReplacedSettings = false;

    // Exam scoring (MainExam.cpp).
    void setupExamScoring();
    void setupExamCommands();
    QAction *NextError = nullptr; // タイマー → 次の誤り(&N), F8
    QAction *PreviousError = nullptr; // タイマー → 前の誤り(&P), Shift+F8
    ExamSettings m_exam;
    // Goes with the window's members, so before the panes whose signals it follows.
    std::unique_ptr<ExamScoring> m_examScoring;
    ExamMode *m_examMode = nullptr; // asks at F2, closes the pane at 10:00
    QString m_practiceName; // file name of the loaded practice text

    DataLayout m_layout = DataLayout::portable(m_services.programFile);

    // The answer sheet layout (MainSheet.cpp).
    void setupSheetCommands();
    void applySheetSettings();
    SheetSettings m_sheet;
    std::unique_ptr<AnswerSheet> m_answerSheet;
};
