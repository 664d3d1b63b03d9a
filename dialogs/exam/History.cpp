#include "dialogs/exam/History.h"

#include "controls/grid/AdvGrid.h"
#include "controls/layout/FormFont.h"
#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/settings/ColorNames.h"
#include "dialogs/score/ScoreChart.h"
#include "platform/ErrorReport.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {
// Beyond 21 runs, 11 requested ticks keep whole steps that label the axis to its end.
constexpr int ManyRunsTicks = 11;
constexpr int ButtonBand = 40; // below the chart: the mark's legend and the buttons
constexpr int ColumnWidths[] = { 32, 116, 190, 52, 66, 36, 36, 36, 48, 48, 48 };

// The run's number first, so the list leads to the chart's points and a click
// on its header brings the time order back; then the file's own columns.
QStringList cellsOf(int run, const ExamResult &r)
{
    return { QString::number(run), r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
        r.practiceName, r.level, QString::number(r.typedCount), QString::number(r.substitutions),
        QString::number(r.omissions), QString::number(r.insertions), QString::number(r.netScore),
        QString::number(r.passMark), r.passed ? QStringLiteral("合格") : QStringLiteral("不合格") };
}

} // namespace

THistoryForm::THistoryForm(const QString &historyPath, const ExamLevel &level, Dialogs &dialogs,
    Shell &shell, QWidget *parent)
    : QDialog(parent)
    , m_path(historyPath)
    , m_level(level)
    , m_dialogs(dialogs)
    , m_shell(shell)
{
    setupControls();
    setupGrid();
    setupChart();
    setupSeries();
    loadRuns();
}

void THistoryForm::setupControls()
{
    setWindowTitle(QStringLiteral("練習履歴"));
    setFont(FormFont::font());

    Grid = new TAdvStringGrid(this);
    XYPlot = new Tsp_XYPlot(this);
    MarkLabel = new QLabel(this);
    MarkLabel->setText(
        QStringLiteral("赤い線: %1の合格点 %2").arg(m_level.title()).arg(m_level.passMark));
    FolderButton = new QPushButton(QStringLiteral("フォルダーを開く(&F)"), this);
    FolderButton->setToolTip(QDir::toNativeSeparators(m_path));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    connect(FolderButton, &QPushButton::clicked, this, &THistoryForm::FolderButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(CloseButton, FolderButton);
    setTabOrder(FolderButton, Grid);
    CloseButton->setFocus();

    setMinimumSize(ClientSize.width() / 2, GridHeight + MinPlotHeight + ButtonBand);
    resize(ClientSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The list keeps its height, the chart takes what the window gives beyond it.
void THistoryForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int plotHeight = std::max(height() - GridHeight - ButtonBand, MinPlotHeight);
    Grid->setGeometry(0, 0, width(), GridHeight);
    XYPlot->setGeometry(0, GridHeight, width(), plotHeight);
    const int top = GridHeight + plotHeight + (ButtonBand - 25) / 2;
    MarkLabel->setGeometry(8, top, width() - 300, 25);
    FolderButton->setGeometry(width() - 260, top, 150, 25);
    CloseButton->setGeometry(width() - 100, top, 75, 25);
}

void THistoryForm::setupGrid()
{
    Grid->setColCount(int(std::size(ColumnWidths)));
    for (int col = 0; col < int(std::size(ColumnWidths)); ++col)
        Grid->setColWidths(col, ColumnWidths[col]);
    Grid->setColumnHeaders({ QStringLiteral("回"), QStringLiteral("日時"), QStringLiteral("練習文"),
        QStringLiteral("級"), QStringLiteral("入力文字数"), QStringLiteral("誤字"),
        QStringLiteral("脱字"), QStringLiteral("余字"), QStringLiteral("純得点"),
        QStringLiteral("合格点"), QStringLiteral("合否") });
    Grid->setFixedFont(font());
    Grid->setSortColumn(RunColumn);
    Grid->setSortDirection(TAdvStringGrid::sdAscending);
    Grid->setAccessibleName(QStringLiteral("練習の記録"));
    Grid->setRowCount(1);
}

void THistoryForm::setupChart()
{
    ScoreChart::style(*XYPlot, 2);
    XYPlot->setAccessibleName(QStringLiteral("純得点の推移"));
}

// The mark first, so the scores' line and markers are drawn over it.
void THistoryForm::setupSeries()
{
    PassMarkLine = new Tsp_XYLine(this);
    PassMarkLine->setLegend(QStringLiteral("合格点"));
    PassMarkLine->LineAttr().setColor(ColorNames::clRed);
    PassMarkLine->LineAttr().setWidth(2);
    PassMarkLine->LineAttr().setVisible(true);
    PassMarkLine->PointAttr().setVisible(false);
    PassMarkLine->setPlot(XYPlot);
    XYLine = ScoreChart::addScoreLine(*XYPlot, this, QStringLiteral("純得点"));
}

void THistoryForm::loadRuns()
{
    try {
        m_runs = ExamHistory(m_path).read();
    } catch (const VemiError &error) {
        showErrorBox(m_dialogs, this, error.message());
    }
    // Runs in time order even where the clock was set back between them.
    std::stable_sort(m_runs.begin(), m_runs.end(),
        [](const ExamResult &a, const ExamResult &b) { return a.when < b.when; });
    fillGrid();
    fillChart();
}

void THistoryForm::fillGrid()
{
    Grid->BeginUpdate();
    for (int i = 0; i < m_runs.size(); ++i)
        Grid->appendRow(cellsOf(i + 1, m_runs[i]));
    Grid->EndUpdate();
    Grid->setRow(1);
}

// x runs from 1 to the number of runs (at least to 2, so one run still has a
// line to stand on); the mark spans the same width.
void THistoryForm::fillChart()
{
    const auto count = int(m_runs.size());
    Tsp_Axis &bottom = *XYPlot->BottomAxis();
    bottom.setTicksCount(count <= ScoreChart::MaxBottomTicks ? count : ManyRunsTicks);
    bottom.SetMinMax(1, std::max(count, 2));
    PassMarkLine->AddXY(bottom.min(), m_level.passMark);
    PassMarkLine->AddXY(bottom.max(), m_level.passMark);
    for (int i = 0; i < count; ++i)
        XYLine->AddXY(i + 1, m_runs[i].netScore);
}

void THistoryForm::FolderButtonClick()
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_shell.open(QUrl::fromLocalFile(folder)))
        showErrorBox(m_dialogs, this,
            QStringLiteral("フォルダー %1 を開けません。ファイルマネージャーから開いてください。")
                .arg(QDir::toNativeSeparators(folder)));
}
