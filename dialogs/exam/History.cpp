#include "dialogs/exam/History.h"

#include "controls/grid/AdvGrid.h"
#include "controls/layout/FormFont.h"
#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "core/settings/ColorNames.h"
#include "dialogs/exam/ExamRunReview.h"
#include "dialogs/score/ScoreChart.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/Shell.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QUrl>

#include <algorithm>
#include <iterator>

namespace {
// Beyond 21 runs, 11 requested ticks keep whole steps that label the axis to its end.
constexpr int ManyRunsTicks = 11;
constexpr int DateTicks = 8; // dates are wider than run numbers
constexpr int ButtonBand = 40; // below the chart: the legend and the buttons
constexpr int NearestPixels = 12; // how far from a point its tooltip still shows
constexpr int ColumnWidths[] = { 32, 116, 190, 52, 66, 36, 36, 36, 48, 48, 48 };
constexpr ColorValue PassedColor = 0x00C000; // a brighter green than the scores' line
constexpr ColorValue FailedColor = ColorNames::clRed;
const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");

// The run's number first, so the list leads to the chart's points and a click
// on its header brings the time order back; then the file's own columns.
QStringList cellsOf(int run, const ExamResult &r)
{
    return { QString::number(run), r.when.toString(TimeFormat), r.practiceName, r.level,
        QString::number(r.typedCount), QString::number(r.substitutions),
        QString::number(r.omissions), QString::number(r.insertions), QString::number(r.netScore),
        QString::number(r.passMark), r.passed ? QStringLiteral("合格") : QStringLiteral("不合格") };
}

// Where the shown runs span more than one day, the bottom axis tells each
// tick's run by its date rather than by its number.
class HistoryPlot final : public Tsp_XYPlot
{
public:
    HistoryPlot(const QList<ExamResult> &runs, QWidget *parent)
        : Tsp_XYPlot(parent)
        , m_runs(runs)
    { }
    bool byDate = false;

    QString AxisTickLabel(const Tsp_Axis &axis, int index, const QString &text) const override
    {
        if (!byDate || &axis != BottomAxis() || m_runs.isEmpty())
            return text;
        const auto run = std::clamp(qsizetype(std::lround(axis.tickLabelValue(index))) - 1,
            qsizetype(0), m_runs.size() - 1);
        return m_runs[run].when.date().toString(QStringLiteral("M/d"));
    }

private:
    const QList<ExamResult> &m_runs;
};

Tsp_XYLine *addMarkers(Tsp_XYPlot &plot, QObject *owner, const QString &legend, ColorValue color)
{
    auto *points = new Tsp_XYLine(owner);
    points->setLegend(legend);
    points->LineAttr().setVisible(false);
    Tsp_PointAttr &markers = points->PointAttr();
    markers.setKind(Tsp_PointAttr::ptEllipse);
    markers.setHSize(9);
    markers.setVSize(9);
    markers.setColor(color);
    markers.setVisible(true);
    points->setPlot(&plot);
    return points;
}

void fillBox(QComboBox &box, const QStringList &items, const QString &chosen)
{
    const QSignalBlocker quiet(&box);
    box.clear();
    box.addItem(QString::fromUtf8(THistoryForm::All));
    box.addItems(items);
    box.setCurrentIndex(std::max(0, box.findText(chosen)));
}

QString chosenIn(const QComboBox &box)
{
    return box.currentIndex() <= 0 ? QString() : box.currentText();
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
    setupFilters();
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
    XYPlot = new HistoryPlot(m_shown, this);
    MarkLabel = new QLabel(this);
    MarkLabel->setText(
        QStringLiteral("赤い線: 各回の合格点　<span style=\"color:#00c000\">●</span> "
                       "合格　<span style=\"color:#ff0000\">●</span> 不合格"));
    MarkLabel->setToolTip(
        QStringLiteral("いまの級 %1 の合格点は %2").arg(m_level.title()).arg(m_level.passMark));
    OpenButton = new QPushButton(QStringLiteral("記録を開く(&O)"), this);
    DeleteButton = new QPushButton(QStringLiteral("削除(&D)"), this);
    FolderButton = new QPushButton(QStringLiteral("フォルダーを開く(&F)"), this);
    FolderButton->setToolTip(QDir::toNativeSeparators(m_path));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    connect(OpenButton, &QPushButton::clicked, this, &THistoryForm::OpenButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &THistoryForm::DeleteButtonClick);
    connect(FolderButton, &QPushButton::clicked, this, &THistoryForm::FolderButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    setTabOrder(CloseButton, FolderButton);
    setTabOrder(FolderButton, Grid);
    CloseButton->setFocus();

    setMinimumSize(ClientSize.width() / 2, FilterBand + GridHeight + MinPlotHeight + ButtonBand);
    resize(ClientSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void THistoryForm::setupFilters()
{
    ExamBox = new QComboBox(this);
    LevelBox = new QComboBox(this);
    PracticeBox = new QComboBox(this);
    ExamBox->setAccessibleName(QStringLiteral("検定"));
    LevelBox->setAccessibleName(QStringLiteral("級"));
    PracticeBox->setAccessibleName(QStringLiteral("練習文"));
    for (QComboBox *box : { ExamBox, LevelBox, PracticeBox }) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        connect(box, &QComboBox::currentIndexChanged, this, &THistoryForm::applyFilter);
    }
}

// The filters in a band on top, the list keeps its height, the chart takes
// what the window gives beyond them.
void THistoryForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int boxWidth = (width() - 32) / 3;
    ExamBox->setGeometry(8, 4, boxWidth, FilterBand - 8);
    LevelBox->setGeometry(16 + boxWidth, 4, boxWidth, FilterBand - 8);
    PracticeBox->setGeometry(24 + 2 * boxWidth, 4, boxWidth, FilterBand - 8);
    const int plotHeight = std::max(height() - FilterBand - GridHeight - ButtonBand, MinPlotHeight);
    Grid->setGeometry(0, FilterBand, width(), GridHeight);
    XYPlot->setGeometry(0, FilterBand + GridHeight, width(), plotHeight);
    const int top = FilterBand + GridHeight + plotHeight + (ButtonBand - 25) / 2;
    MarkLabel->setGeometry(8, top, width() - 478, 25);
    OpenButton->setGeometry(width() - 460, top, 110, 25);
    DeleteButton->setGeometry(width() - 345, top, 80, 25);
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
    connect(Grid, &TAdvStringGrid::rowChanged, this, &THistoryForm::updateButtons);
    connect(Grid, &TAdvStringGrid::cellDoubleClicked, this, [this](int, int row) {
        if (row > 0 && OpenButton->isEnabled())
            OpenButtonClick();
    });
}

void THistoryForm::setupChart()
{
    ScoreChart::style(*XYPlot, 2);
    XYPlot->setAccessibleName(QStringLiteral("純得点の推移"));
    XYPlot->installEventFilter(this);
}

// The mark first, so the scores' line and markers are drawn over it; the
// markers of the line itself give way to the pass and fail ones.
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
    XYLine->PointAttr().setVisible(false);
    PassedPoints = addMarkers(*XYPlot, this, QStringLiteral("合格"), PassedColor);
    FailedPoints = addMarkers(*XYPlot, this, QStringLiteral("不合格"), FailedColor);
}

void THistoryForm::loadRuns()
{
    m_all.clear();
    try {
        m_all = ExamHistory(m_path).read();
    } catch (const VemiError &error) {
        showErrorBox(m_dialogs, this, error.message());
    }
    // Runs in time order even where the clock was set back between them.
    std::stable_sort(m_all.begin(), m_all.end(),
        [](const ExamResult &a, const ExamResult &b) { return a.when < b.when; });
    fillFilters();
    applyFilter();
}

// Each box offers only what the runs hold; a choice that no run has any more
// (its last run deleted) falls back to すべて.
void THistoryForm::fillFilters()
{
    fillBox(*ExamBox, HistoryFilter::exams(m_all), m_choice.exam);
    m_choice.exam = chosenIn(*ExamBox);
    fillBox(*LevelBox, HistoryFilter::levels(m_all, m_choice.exam), m_choice.level);
    fillBox(*PracticeBox, HistoryFilter::practices(m_all), m_choice.practice);
}

void THistoryForm::applyFilter()
{
    if (chosenIn(*ExamBox) != m_choice.exam) {
        m_choice.exam = chosenIn(*ExamBox);
        fillBox(*LevelBox, HistoryFilter::levels(m_all, m_choice.exam), chosenIn(*LevelBox));
    }
    m_choice.level = chosenIn(*LevelBox);
    m_choice.practice = chosenIn(*PracticeBox);
    m_shown.clear();
    for (int i : HistoryFilter::select(m_all, m_choice))
        m_shown.append(m_all[i]);
    fillGrid();
    fillChart();
    updateButtons();
}

void THistoryForm::fillGrid()
{
    Grid->BeginUpdate();
    Grid->setRowCount(1);
    for (int i = 0; i < m_shown.size(); ++i)
        Grid->appendRow(cellsOf(i + 1, m_shown[i]));
    Grid->EndUpdate();
    Grid->setRow(1);
}

// x runs from 1 to the number of runs (at least to 2, so one run still has a
// line to stand on); the marks span the same width, today's level's when no
// run is shown.
void THistoryForm::fillChart()
{
    for (Tsp_XYLine **series : { &PassMarkLine, &XYLine, &PassedPoints, &FailedPoints })
        (*series)->setPlot(nullptr);
    delete PassMarkLine;
    delete XYLine;
    delete PassedPoints;
    delete FailedPoints;
    setupSeries();

    const auto count = int(m_shown.size());
    const bool byDate = count > 1 && m_shown.first().when.date() != m_shown.last().when.date();
    static_cast<HistoryPlot *>(XYPlot)->byDate = byDate;
    Tsp_Axis &bottom = *XYPlot->BottomAxis();
    const int ticks = count <= ScoreChart::MaxBottomTicks ? count : ManyRunsTicks;
    bottom.setTicksCount(byDate ? std::min(ticks, DateTicks) : ticks);
    bottom.SetMinMax(1, std::max(count, 2));
    QList<int> marks;
    marks.reserve(count);
    for (const ExamResult &run : std::as_const(m_shown))
        marks.append(run.passMark);
    if (marks.isEmpty())
        marks.append(m_level.passMark);
    // A plot on the screen repaints itself for each point added: with
    // thousands of runs the points go in while it is hidden.
    const bool onScreen = XYPlot->isVisible();
    if (onScreen)
        XYPlot->hide();
    for (const QPointF &point : HistoryFilter::passSteps(marks, bottom.max()))
        PassMarkLine->AddXY(point.x(), point.y());
    for (int i = 0; i < count; ++i) {
        XYLine->AddXY(i + 1, m_shown[i].netScore);
        (m_shown[i].passed ? PassedPoints : FailedPoints)->AddXY(i + 1, m_shown[i].netScore);
    }
    if (onScreen)
        XYPlot->show();
}

int THistoryForm::currentRun() const
{
    if (Grid->Row() < 1 || Grid->Row() >= Grid->RowCount())
        return -1;
    bool ok = false;
    const int run = Grid->Cells(RunColumn, Grid->Row()).toInt(&ok) - 1;
    return ok && run >= 0 && run < m_shown.size() ? run : -1;
}

// Only the chosen run's file is looked for: opening the window reads no kept run.
void THistoryForm::updateButtons()
{
    const int run = currentRun();
    DeleteButton->setEnabled(run >= 0);
    const QString file = run >= 0 ? m_shown[run].detailFile : QString();
    const bool kept
        = !file.isEmpty() && QFileInfo::exists(QDir(ExamRunStore(m_path).folder()).filePath(file));
    OpenButton->setEnabled(kept);
    OpenButton->setToolTip(kept || run < 0
            ? QStringLiteral(
                "選んだ回の誤りの一覧と入力した文を見ます (行をダブルクリックしても開きます)")
            : QStringLiteral("この回は誤りの詳細が残っていません "
                             "(記録を残す前の回か、記録のフォルダー %1 が消されています)")
                  .arg(QString::fromUtf8(ExamRunStore::FolderName)));
}

QString THistoryForm::pointTip(const QPoint &pos) const
{
    if (m_shown.isEmpty())
        return {};
    const Tsp_Axis &bottom = *XYPlot->BottomAxis();
    const auto run = std::clamp(
        qsizetype(std::lround(bottom.PixelToValue(pos.x()))) - 1, qsizetype(0), m_shown.size() - 1);
    if (std::abs(bottom.ValueToPixel(double(run + 1)) - pos.x()) > NearestPixels)
        return {};
    const ExamResult &r = m_shown[run];
    return QStringLiteral("%1回目 %2\n%3 %4\n純得点 %5 (合格点 %6: %7)")
        .arg(run + 1)
        .arg(r.when.toString(TimeFormat), r.practiceName, r.level)
        .arg(r.netScore)
        .arg(r.passMark)
        .arg(r.passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
}

bool THistoryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == XYPlot && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = pointTip(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, XYPlot);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void THistoryForm::OpenButtonClick()
{
    const int run = currentRun();
    if (run < 0 || m_shown[run].detailFile.isEmpty())
        return;
    ExamRunDetail detail;
    try {
        detail = ExamRunStore(m_path).read(m_shown[run].detailFile);
    } catch (const VemiError &error) {
        showErrorBox(m_dialogs, this, error.message());
        updateButtons();
        return;
    }
    ExamRunReview review(detail, this);
    review.exec();
}

void THistoryForm::DeleteButtonClick()
{
    const int run = currentRun();
    if (run < 0)
        return;
    const ExamResult victim = m_shown[run];
    const QString question = QStringLiteral(
        "%1 の記録 (%2, 純得点 %3) を削除しますか?\n削除した記録は元に戻せません。")
                                 .arg(victim.when.toString(TimeFormat), victim.practiceName)
                                 .arg(victim.netScore);
    if (m_dialogs.message(this, QMessageBox::Question, QStringLiteral("練習履歴"), question,
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    // The row goes first; a kept file that stays behind is told after the refresh.
    QString leftOver;
    try {
        leftOver = ExamHistory(m_path).remove(victim);
    } catch (const VemiError &error) {
        showErrorBox(m_dialogs, this, error.message());
        return;
    }
    loadRuns();
    if (!leftOver.isEmpty())
        showErrorBox(m_dialogs, this, leftOver);
}

void THistoryForm::FolderButtonClick()
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_shell.open(QUrl::fromLocalFile(folder)))
        showErrorBox(m_dialogs, this,
            QStringLiteral("フォルダー %1 を開けません。ファイルマネージャーから開いてください。")
                .arg(QDir::toNativeSeparators(folder)));
}
