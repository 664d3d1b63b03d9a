#include "app/Main.h"

#include "app/AnswerSheet.h"
#include "app/exam/ExamScoring.h"
#include "controls/edit/SheetPane.h"
#include "controls/layout/AlignLayout.h"
#include "controls/layout/FormFont.h"
#include "controls/layout/RXSplit.h"
#include "core/Rounding.h"
#include "core/settings/SettingsFile.h"
#include "core/text/VisibleCount.h"
#include "platform/ErrorReport.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "resources/ProgramIcon.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>

namespace {
constexpr int SplitterWidth = 4;
constexpr int StatusBarHeight = 19;
// Panel 1 has no width of its own: it stretches over what panels 0 and 2 leave.
constexpr int StatusPanelWidths[TMainForm::StatusPanelCount] = { 100, 0, 100 };
const QString CharactersSuffix = QStringLiteral("文字");
const QString Untitled = QStringLiteral("Untitled");
} // namespace

TMainForm::TMainForm(
    const Services &services, Settings &settings, QStringList &scores, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_shell(&Shell::desktop())
    , m_settings(settings)
    , m_scores(scores)
{
    setWindowTitle(QStringLiteral("VemiTapiro"));
    setGeometry(456, 366, 709, 545);
    setWindowIcon(ProgramIcon::icon());
    setFont(FormFont::font());
    // The window's own menu of tool bars would hide bars behind the View menu's check marks.
    setContextMenuPolicy(Qt::NoContextMenu);

    setupPanes();
    setupStatusBar();
    setupCentralArea();
    setupActions();
    setupMenus();
    setupToolBars();
    setupTimer();
    setupDocumentCommands();
    setupDialogCommands();
}

TMainForm::~TMainForm()
{
    // The player outlives the window; a failure it reports later has nobody to tell.
    m_services.sound.setFailureHandler({});
}

void TMainForm::setupPanes()
{
    DoublePanel = new QWidget(this);
    auto *layout = new AlignLayout(DoublePanel);

    const auto makePane = [this, layout](bool readOnly, TAlign align) {
        auto *pane = new SheetPane(DoublePanel);
        pane->setReadOnly(readOnly);
        pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        pane->setAttribute(Qt::WA_InputMethodEnabled);
        setAlignOf(pane, align);
        layout->addWidget(pane);
        return pane;
    };
    LeftMemo = makePane(true, TAlign::alLeft);
    LeftMemo->resize(m_leftMemoWidth, LeftMemo->height());
    Splitter = new TRxSplitter(DoublePanel);
    Splitter->setControlFirst(LeftMemo);
    Splitter->setAlign(TAlign::alLeft);
    Splitter->resize(SplitterWidth, Splitter->height());
    layout->addWidget(Splitter);
    RightMemo = makePane(false, TAlign::alClient);
    connect(RightMemo, &QPlainTextEdit::textChanged, this, &TMainForm::RightMemoChange);
    connect(Splitter, &TRxSplitter::OnPosChanged, this,
        [this] { m_leftMemoWidth = LeftMemo->width(); });
}

// The status bar is a strip of three sunken panels with no gaps, so that
// panel 1 takes exactly what panels 0 and 2 leave and panel 2 ends at the
// window's right edge.
void TMainForm::setupStatusBar()
{
    StatusBar = new QWidget(this);
    StatusBar->setFixedHeight(StatusBarHeight);
    auto *layout = new QHBoxLayout(StatusBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < StatusPanelCount; ++i) {
        auto *panel = new QLabel(StatusBar);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(0);
        if (i != 1)
            panel->setFixedWidth(StatusPanelWidths[i]);
        layout->addWidget(panel, i == 1 ? 1 : 0);
        m_statusPanels[i] = panel;
    }
}

void TMainForm::setupCentralArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(DoublePanel, 1);
    layout->addWidget(StatusBar);
    setCentralWidget(central);
}

QString TMainForm::statusPanelText(int panel) const
{
    return m_statusPanels[panel]->text();
}

void TMainForm::setStatusPanelText(int panel, const QString &text)
{
    m_statusPanels[panel]->setText(text);
}

int TMainForm::statusPanelWidth(int panel) const
{
    return m_statusPanels[panel]->width();
}

QRect TMainForm::statusPanelGeometry(int panel) const
{
    return m_statusPanels[panel]->geometry();
}

QString TMainForm::settingsFilePath() const
{
    return m_layout.settingsFile();
}

QString TMainForm::LeftWordCount() const
{
    return visibleCountText(LeftMemo->toPlainText());
}

QString TMainForm::RightWordCount() const
{
    return visibleCountText(RightMemo->toPlainText());
}

void TMainForm::RightMemoChange()
{
    setStatusPanelText(2, RightWordCount() + CharactersSuffix);
}

// Panel 0 follows the practice text only when a command loads the left pane.
void TMainForm::showLeftWordCount()
{
    setStatusPanelText(0, LeftWordCount() + CharactersSuffix);
}

void TMainForm::setUntitled()
{
    m_documentName = Untitled;
    setWindowTitle(QStringLiteral("VemiTapiro--[Untitled]"));
}

bool TMainForm::isUntitled() const
{
    return m_documentName == Untitled;
}

void TMainForm::setDocumentName(const QString &name)
{
    m_documentName = name;
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

// Each resize splits the panel in half again, undoing any width dragged with the splitter.
void TMainForm::FormResize()
{
    m_leftMemoWidth = roundHalfEven((DoublePanel->width() - SplitterWidth) / 2.0);
    applyLeftMemoWidth();
    LineLengthChange();
    // Status panel 1 follows by itself: its layout gives it what panels 0 and 2 leave.
}

// The pane keeps its width while hidden; the panel's layout places it when shown.
void TMainForm::applyLeftMemoWidth()
{
    LeftMemo->resize(m_leftMemoWidth, LeftMemo->height());
    DoublePanel->layout()->invalidate();
    DoublePanel->layout()->activate();
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMainForm::FormActivate()
{
    RightMemo->setFocus();
}

void TMainForm::reportError(const QString &message)
{
    showErrorBox(m_services.dialogs, this, message);
}
