#include "app/Main.h"

#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "controls/edit/DigitInput.h"
#include "controls/edit/RxCombos.h"
#include "controls/lcd/Lcd99.h"
#include "resources/ToolImageList.h"

#include <QActionGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {
constexpr int StandardBandWidth = 167;
constexpr int FontBandWidth = 218;
constexpr int TimeBandWidth = 312;
constexpr int ExamBandWidth = 300;
constexpr int BandHeight = 22;
const char *const FontSizes[]
    = { "8", "9", "10", "11", "12", "14", "16", "18", "24", "36", "48", "60", "72" };
} // namespace

QAction *TMainForm::makeAction(const char *caption, int image, const QKeySequence &shortcut)
{
    auto *action = new QAction(QString::fromUtf8(caption), this);
    if (image >= 0)
        action->setIcon(ToolImageList::icon(image));
    action->setShortcut(shortcut);
    return action;
}

QAction *TMainForm::makeViewToggle(const char *caption)
{
    QAction *toggle = makeAction(caption);
    toggle->setCheckable(true);
    toggle->setChecked(true); // every start shows every bar
    return toggle;
}

void TMainForm::setupActions()
{
    New1 = makeAction("新規作成(&N)", ToolImageList::New, QKeySequence(Qt::CTRL | Qt::Key_N));
    Open1 = makeAction("開く(&O)...", ToolImageList::Open, QKeySequence(Qt::CTRL | Qt::Key_O));
    N9 = makeAction("問題を開く(&Q)...");
    Save1 = makeAction("上書き保存(&S)", ToolImageList::Save, QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = makeAction("名前をつけて保存(&A)...");
    Print1 = makeAction("印刷(&P)...", ToolImageList::Print, QKeySequence(Qt::CTRL | Qt::Key_P));
    PrintSetup1 = makeAction("ページ設定(&R)...");
    Exit1 = makeAction("終了(&X)");
    N5 = makeViewToggle("ツールバー(&B)");
    F1 = makeViewToggle("フォントバー(&F)");
    N4 = makeViewToggle("タイムバー(&T)");
    Show1 = makeViewToggle("ステータスバー(&S)");
    N6 = makeAction("１画面モード", ToolImageList::OnePane, QKeySequence(Qt::CTRL | Qt::Key_1));
    N7 = makeAction("２画面モード", ToolImageList::TwoPanes, QKeySequence(Qt::CTRL | Qt::Key_2));
    N11 = makeAction("成績...");
    HistoryItem = makeAction("練習履歴(&H)...");
    WeakPointsItem = makeAction("弱点一覧(&W)...");
    B1 = makeAction("開始(&B)", ToolImageList::TimerStart, QKeySequence(Qt::Key_F2));
    S2 = makeAction("停止(&S)", ToolImageList::TimerStop, QKeySequence(Qt::Key_F3));
    S1 = makeAction("環境設定(&S)...");
    GuideItem = makeAction("使い方(&H)", -1, QKeySequence(Qt::Key_F1));
    About1 = makeAction("バージョン情報(&A)...");

    // The tool buttons carry the short hints; the menus show the captions.
    New1->setToolTip(QStringLiteral("新規作成"));
    Open1->setToolTip(QStringLiteral("開く"));
    Save1->setToolTip(QStringLiteral("上書き保存"));
    Print1->setToolTip(QStringLiteral("印刷"));
    B1->setToolTip(QStringLiteral("タイマースタート（F2を押してもいいよ)"));
    S2->setToolTip(QStringLiteral("タイマーストップ(F3でもいいのだ)"));

    // The two mode items are radio items; their tool buttons show the same state pressed.
    auto *modes = new QActionGroup(this);
    for (QAction *mode : { N6, N7 }) {
        mode->setCheckable(true);
        mode->setIconVisibleInMenu(false);
        modes->addAction(mode);
    }
    N7->setChecked(true);

    connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    connect(N5, &QAction::triggered, this, &TMainForm::N5Click);
    connect(F1, &QAction::triggered, this, &TMainForm::F1Click);
    connect(N4, &QAction::triggered, this, &TMainForm::N4Click);
    connect(Show1, &QAction::triggered, this, &TMainForm::Show1Click);
    connect(N6, &QAction::triggered, this, &TMainForm::N6Click);
    connect(N7, &QAction::triggered, this, &TMainForm::N7Click);
    setupExamCommands();
    setupSheetCommands();
}

void TMainForm::setupMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *fileMenu = bar->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->addActions({ New1, Open1, N9, Save1, SaveAs1 });
    fileMenu->addSeparator();
    fileMenu->addActions({ Print1, PrintSetup1, ExamPrint });
    fileMenu->addSeparator();
    fileMenu->addAction(Exit1);

    QMenu *viewMenu = bar->addMenu(QStringLiteral("表示(&V)"));
    viewMenu->addActions({ N5, F1, N4, ExamBarItem, Show1 });
    viewMenu->addSeparator();
    viewMenu->addActions({ N6, N7 });
    viewMenu->addAction(SheetItem);
    viewMenu->addSeparator();
    viewMenu->addAction(N11);
    viewMenu->addAction(HistoryItem);
    viewMenu->addAction(WeakPointsItem);

    QMenu *timerMenu = bar->addMenu(QStringLiteral("タイマー(&T)"));
    timerMenu->addActions({ B1, S2 });
    timerMenu->addSeparator();
    timerMenu->addActions({ ExamCheck, NextError, PreviousError });
    bar->addMenu(QStringLiteral("設定(&S)"))->addAction(S1);
    bar->addMenu(QStringLiteral("ヘルプ(&H)"))->addActions({ GuideItem, About1 });
}

void TMainForm::setupToolBars()
{
    const auto placeBar = [this](QToolBar *toolBar, const QString &name, int bandWidth) {
        toolBar->setObjectName(name);
        toolBar->setFloatable(false);
        toolBar->setIconSize(QSize(16, 16));
        toolBar->setMinimumSize(bandWidth, BandHeight);
        addToolBar(Qt::TopToolBarArea, toolBar);
        return toolBar;
    };
    const auto makeBar = [this, placeBar](const QString &name, int bandWidth) {
        return placeBar(new QToolBar(name, this), name, bandWidth);
    };
    StandardToolBar = makeBar(QStringLiteral("StandardToolBar"), StandardBandWidth);
    StandardToolBar->addActions({ New1, Open1, Save1, Print1 });
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({ N6, N7 });
    ToolButton1 = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(New1));
    ToolButton2 = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(Open1));
    ToolButton3 = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(Save1));
    ToolButton4 = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(Print1));
    Mode1Button = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(N6));
    Mode2Button = qobject_cast<QToolButton *>(StandardToolBar->widgetForAction(N7));

    FontBar = makeBar(QStringLiteral("FontBar"), FontBandWidth);
    setupFontBar();
    TimeBar = makeBar(QStringLiteral("TimeBar"), TimeBandWidth);
    setupTimeBar();
    // A row of its own: the first row keeps the narrow window the three bands allow.
    addToolBarBreak(Qt::TopToolBarArea);
    setupExamScoring(); // made here, its bar comes after the other three among the children
    placeBar(m_examScoring->bar(), QStringLiteral("ExamBar"), ExamBandWidth);
}

void TMainForm::setupFontBar()
{
    FontCombo = new TFontComboBox(FontBar);
    FontCombo->setStyle(TFontComboBox::csDropDown);
    FontCombo->setUseFonts(true);
    FontCombo->setFixedSize(145, 19);
    FontCombo->setToolTip(QStringLiteral("フォントの種類"));
    FontSizeCombo = new QComboBox(FontBar);
    FontSizeCombo->setEditable(true);
    FontSizeCombo->setInsertPolicy(QComboBox::NoInsert);
    acceptFullWidthDigits(FontSizeCombo);
    for (const char *size : FontSizes)
        FontSizeCombo->addItem(QString::fromLatin1(size));
    FontSizeCombo->setFixedSize(56, 20);
    FontSizeCombo->setToolTip(QStringLiteral("フォントの大きさ"));
    FontBar->addWidget(FontCombo);
    FontBar->addWidget(FontSizeCombo);
    connect(FontCombo, &TFontComboBox::changed, this, &TMainForm::FontComboChange);
    connect(FontSizeCombo, &QComboBox::currentTextChanged, this, &TMainForm::FontSizeComboChange);
}

void TMainForm::setupTimeBar()
{
    LCD99 = new TLCD99(TimeBar);
    LCD99->setFixedSize(73, 22);
    LCD99->setDigitNum(5);
    LCD99->setDigitSpacing(3);
    LCD99->setGapX(1);
    LCD99->setGapY(1);
    LCD99->setAnimation(TLCD99::anDown);
    LCD99->setColor(Qt::white);
    LCD99->setOffColor(Qt::white);
    LCD99->setOnColor(Qt::black);
    LCD99->setValue(QStringLiteral("00:00"));
    TimeBar->addWidget(LCD99);
    TimeBar->addActions({ B1, S2 });
    StartButton = qobject_cast<QToolButton *>(TimeBar->widgetForAction(B1));
    StopButton = qobject_cast<QToolButton *>(TimeBar->widgetForAction(S2));
    auto *spacer = new QLabel(TimeBar);
    spacer->setFixedWidth(4);
    TimeBar->addWidget(spacer);
}

void TMainForm::N5Click()
{
    StandardToolBar->setVisible(N5->isChecked());
}

void TMainForm::F1Click()
{
    FontBar->setVisible(F1->isChecked());
}

void TMainForm::N4Click()
{
    TimeBar->setVisible(N4->isChecked());
}

void TMainForm::Show1Click()
{
    StatusBar->setVisible(Show1->isChecked());
}
