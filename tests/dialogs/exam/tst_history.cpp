#include "controls/grid/AdvGrid.h"
#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "core/exam/HistoryFilter.h"
#include "dialogs/exam/ExamReviewPane.h"
#include "dialogs/exam/ExamRunReview.h"
#include "dialogs/exam/History.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FullDisk.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/Trainer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr QRgb Red = 0xFFFF0000;
const ExamLevel Level2 { QStringLiteral("2級"), 3, 500 };

ExamResult run(const char *name, const char *when, int net)
{
    return { QDateTime::fromString(QString::fromLatin1(when), Qt::ISODate).toLocalTime(),
        QString::fromUtf8(name), QStringLiteral("2級"), net + 30, 4, 3, 3, net, 500, net >= 500,
        {} };
}

ExamResult levelled(const char *name, const char *level, int day, int net, int mark)
{
    ExamResult r = run(name, "2026-12-01T10:00:00+09:00", net);
    r.when = r.when.addDays(day);
    r.level = QString::fromUtf8(level);
    r.passMark = mark;
    r.passed = net >= mark;
    return r;
}

QStringList column(const TAdvStringGrid &grid, int col)
{
    QStringList cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells << grid.Cells(col, row);
    return cells;
}

QList<QPointF> points(const Tsp_XYLine &line)
{
    QList<QPointF> list;
    for (int i = 0; i < line.Count(); ++i)
        list << QPointF(line.X(i), line.Y(i));
    return list;
}

} // namespace

class TestHistory final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void listsTheRunsSortedByHeaderClicks_data();
    void listsTheRunsSortedByHeaderClicks();
    void chartsNetScoresAndThePassMark_data();
    void chartsNetScoresAndThePassMark();
    void unreadableFileOpensEmpty();
    void filtersChooseTheRunsShown_data();
    void filtersChooseTheRunsShown();
    void pointsByVerdictStepsByRunAndDates();
    void opensAKeptRun_data();
    void opensAKeptRun();
    void deletesARunOnlyWhenConfirmed_data();
    void deletesARunOnlyWhenConfirmed();
    void viewMenuOpensTheHistoryBesideTheSettings();

private:
    QString path() const { return m_dir->filePath(QString::fromLatin1(ExamHistory::FileName)); }
    void record(const QList<ExamResult> &runs) const
    {
        for (const ExamResult &r : runs)
            ExamHistory(path()).append(r);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    FakeDialogs m_dialogs;
    RecordingShell m_shell;
};

void TestHistory::initTestCase()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
        { QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic") });
}

void TestHistory::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dialogs.messages.clear();
    m_dialogs.answers.clear();
    m_shell.opened.clear();
    m_shell.opens = true;
}

void TestHistory::listsTheRunsSortedByHeaderClicks_data()
{
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("time order, whatever the file order")
        << QList<int>() << QStringList { "b", "a", "c" };
    QTest::newRow("net score ascending")
        << QList<int> { THistoryForm::NetColumn } << QStringList { "a", "c", "b" };
    QTest::newRow("net score descending") << QList<int> { THistoryForm::NetColumn,
        THistoryForm::NetColumn } << QStringList { "b", "c", "a" };
    QTest::newRow("by name, then back to time order") << QList<int> { THistoryForm::NameColumn,
        THistoryForm::RunColumn } << QStringList { "b", "a", "c" };
}

void TestHistory::listsTheRunsSortedByHeaderClicks()
{
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, names);
    // The second run was recorded with a clock set back: it sorts first.
    record({ run("a", "2026-12-02T10:00:00+09:00", 90), run("b", "2026-12-01T10:00:00+09:00", 1000),
        run("c", "2026-12-03T10:00:00+09:00", 480) });
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TAdvStringGrid &grid = *form.Grid;
    for (int col : clicks)
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(col, 0).center());
    QCOMPARE(column(grid, THistoryForm::NameColumn), names);
    // Wherever it moved, run "a" keeps its own cells, its time shown in local time.
    const int rowA = int(column(grid, THistoryForm::NameColumn).indexOf("a")) + 1;
    QStringList cellsA;
    for (int col = 0; col < grid.ColCount(); ++col)
        cellsA << grid.Cells(col, rowA);
    const QString localTime = QDateTime::fromString("2026-12-02T10:00:00+09:00", Qt::ISODate)
                                  .toLocalTime()
                                  .toString("yyyy-MM-dd HH:mm");
    QCOMPARE(cellsA,
        QStringList({ "2", localTime, "a", "2級", "120", "4", "3", "3", "90", "500", "不合格" }));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestHistory::chartsNetScoresAndThePassMark_data()
{
    QTest::addColumn<QList<int>>("scores");
    QTest::addColumn<double>("lastX"); // the bottom axis's end, where the mark line ends
    QTest::addColumn<QString>("lastLabel"); // of the bottom axis
    QTest::newRow("no runs") << QList<int>() << 2.0 << QString();
    QTest::newRow("one run") << QList<int> { 300 } << 2.0 << "1";
    QTest::newRow("below and above the mark") << QList<int> { 200, 650, 420, 100 } << 4.0 << "4";
    QList<int> many;
    for (int i = 0; i < 30; ++i)
        many << 100 + 20 * i;
    QTest::newRow("thirty runs, labelled to the end") << many << 30.0 << "29";
}

void TestHistory::chartsNetScoresAndThePassMark()
{
    QFETCH(QList<int>, scores);
    QFETCH(double, lastX);
    QFETCH(QString, lastLabel);
    QList<ExamResult> runs;
    QList<QPointF> expected;
    for (int i = 0; i < scores.size(); ++i) {
        runs << run("x", "2026-12-01T10:00:00+09:00", scores[i]);
        runs.last().when = runs.last().when.addSecs(600 * i); // one day: numbered
        expected << QPointF(i + 1, scores[i]);
    }
    record(runs);
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    QCOMPARE(points(*form.XYLine), expected);
    QCOMPARE(points(*form.PassMarkLine), QList<QPointF>({ { 1, 500 }, { lastX, 500 } }));
    const Tsp_Axis &bottom = *form.XYPlot->BottomAxis();
    const Tsp_Axis &left = *form.XYPlot->LeftAxis();
    QCOMPARE(std::pair(bottom.min(), bottom.max()), std::pair(1.0, lastX));
    QCOMPARE(
        bottom.ticksCount() ? bottom.GetTickLabel(bottom.ticksCount() - 1) : QString(), lastLabel);
    QVERIFY2(left.max() > 500, "the mark is inside the chart");
    QVERIFY(form.MarkLabel->toolTip().contains(QStringLiteral("2級")));

    // The mark is drawn right across the field, under the scores' line.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage image = form.XYPlot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Tsp_XYPlot::Field f = form.XYPlot->field();
    const int y = left.ValueToPixel(500);
    int red = 0;
    for (int x = f.left; x < f.right; ++x)
        red += image.pixel(x, y) == Red;
    QVERIFY2(red > (f.right - f.left) * 9 / 10, qPrintable(QString::number(red)));
    QVERIFY(image.pixel((f.left + f.right) / 2, y - 10) != Red);
}

void TestHistory::unreadableFileOpensEmpty()
{
    QVERIFY(QDir(m_dir->path()).mkdir(ExamHistory::FileName));
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY2(m_dialogs.messages[0].text.contains(path()), qPrintable(m_dialogs.messages[0].text));
    QCOMPARE(form.Grid->RowCount(), 1);
    QCOMPARE(form.XYLine->Count(), 0);
    QCOMPARE(form.PassMarkLine->Count(), 2);
}

void TestHistory::filtersChooseTheRunsShown_data()
{
    QTest::addColumn<QString>("exam");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("levelsOffered");
    const QString all = QString::fromUtf8(THistoryForm::All);
    const QStringList everyLevel { all, "ワープロ 3級", "ワープロ 2級", "ビジネス 3級" };
    QTest::newRow("everything") << all << all << all << QStringList { "a", "b", "c", "d" }
                                << everyLevel;
    QTest::newRow("the first exam, old rows with it")
        << "日本語ワープロ検定" << all << all << QStringList { "a", "b", "c" }
        << QStringList { all, "ワープロ 3級", "ワープロ 2級" };
    QTest::newRow("a level") << all << "ワープロ 3級" << all << QStringList { "a", "c" }
                             << everyLevel;
    QTest::newRow("a practice text") << all << all << "d" << QStringList { "d" } << everyLevel;
}

void TestHistory::filtersChooseTheRunsShown()
{
    QFETCH(QString, exam);
    QFETCH(QString, level);
    QFETCH(QString, practice);
    QFETCH(QStringList, names);
    QFETCH(QStringList, levelsOffered);
    record({ levelled("a", "3級", 0, 300, 350), levelled("b", "ワープロ 2級", 1, 520, 500),
        levelled("c", "ワープロ 3級", 2, 400, 350), levelled("d", "ビジネス 3級", 3, 420, 420) });
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    form.ExamBox->setCurrentText(exam);
    form.LevelBox->setCurrentText(level);
    form.PracticeBox->setCurrentText(practice);
    QCOMPARE(column(*form.Grid, THistoryForm::NameColumn), names);
    QStringList offered;
    for (int i = 0; i < form.LevelBox->count(); ++i)
        offered << form.LevelBox->itemText(i);
    QCOMPARE(offered, levelsOffered);
    QCOMPARE(form.XYLine->Count(), names.size());
    QCOMPARE(form.PassedPoints->Count() + form.FailedPoints->Count(), names.size());
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(form.Grid->Cells(THistoryForm::RunColumn, i + 1), QString::number(i + 1));
}

// Green for a pass, red for a fail, on the rendered chart; the mark steps with
// each run's own level; across days the axis and the tooltips tell the date.
void TestHistory::pointsByVerdictStepsByRunAndDates()
{
    const QList<ExamResult> runs { levelled("a", "ワープロ 2級", 0, 560, 500),
        levelled("b", "ワープロ 3級", 1, 300, 350), levelled("c", "ワープロ 3級", 2, 420, 350) };
    record(runs);
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    QCOMPARE(points(*form.PassedPoints), QList<QPointF>({ { 1, 560 }, { 3, 420 } }));
    QCOMPARE(points(*form.FailedPoints), QList<QPointF>({ { 2, 300 } }));
    QCOMPARE(points(*form.PassMarkLine), HistoryFilter::passSteps({ 500, 350, 350 }, 3));
    QCOMPARE(points(*form.PassMarkLine).at(1), QPointF(1.5, 500));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage image = form.XYPlot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Tsp_Axis &bottom = *form.XYPlot->BottomAxis();
    const Tsp_Axis &left = *form.XYPlot->LeftAxis();
    const QRgb expected[] = { 0xFF00C000, Red, 0xFF00C000 };
    for (int i = 0; i < runs.size(); ++i) {
        const QPoint centre(bottom.ValueToPixel(i + 1), left.ValueToPixel(runs[i].netScore));
        QCOMPARE(QColor(image.pixel(centre)), QColor(expected[i]));
        QVERIFY2(form.pointTip(centre).contains(runs[i].when.toString("yyyy-MM-dd HH:mm")),
            qPrintable(form.pointTip(centre)));
    }
    QCOMPARE(bottom.GetTickLabel(0), runs[0].when.date().toString("M/d"));
    QCOMPARE(bottom.GetTickLabel(bottom.ticksCount() - 1), runs[2].when.date().toString("M/d"));
}

void TestHistory::opensAKeptRun_data()
{
    QTest::addColumn<bool>("kept");
    QTest::addColumn<bool>("folderRemoved");
    QTest::newRow("kept") << true << false;
    QTest::newRow("an older row, without a file") << false << false;
    QTest::newRow("the runs' folder removed") << true << true;
}

void TestHistory::opensAKeptRun()
{
    QFETCH(bool, kept);
    QFETCH(bool, folderRemoved);
    ExamRunDetail detail;
    detail.result = run("a", "2026-12-01T10:00:00+09:00", 250);
    detail.practiceReached = QStringLiteral("荷物を発送します");
    detail.typed = QStringLiteral("荷物を発想します");
    ExamRunDetail::Error error;
    error.expected = QStringLiteral("送");
    error.typed = QStringLiteral("想");
    error.practicePos = error.typedPos = 4;
    error.column = 5;
    detail.errors = { error };
    const ExamRunStore store(path());
    ExamResult row = detail.result;
    if (kept)
        row.detailFile = store.write(detail);
    if (folderRemoved)
        QVERIFY(QDir(store.folder()).removeRecursively());
    record({ row });
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    const bool opens = kept && !folderRemoved;
    QCOMPARE(form.OpenButton->isEnabled(), opens);
    QCOMPARE(form.OpenButton->toolTip().contains(QStringLiteral("残っていません")), !opens);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList listed;
    QString practice, typed;
    QTimer::singleShot(0, &form, [&] {
        auto *review = qobject_cast<ExamRunReview *>(QApplication::activeModalWidget());
        if (!review)
            return; // nothing opened
        for (int i = 0; i < review->Review->List->topLevelItemCount(); ++i)
            listed << review->Review->List->topLevelItem(i)->text(0);
        practice = review->PracticeText->toPlainText();
        typed = review->TypedText->toPlainText();
        review->CloseButton->click();
    });
    QTest::mouseDClick(
        form.Grid->viewport(), Qt::LeftButton, {}, form.Grid->cellRect(1, 1).center());
    QCOMPARE(listed, opens ? QStringList { QStringLiteral("誤字 1字: 想") } : QStringList());
    QCOMPARE(practice, opens ? detail.practiceReached : QString());
    QCOMPARE(typed, opens ? detail.typed : QString());
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestHistory::deletesARunOnlyWhenConfirmed_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("confirmed") << QMessageBox::Yes << false << QStringList { "a", "c" };
    QTest::newRow("declined") << QMessageBox::No << false << QStringList { "a", "b", "c" };
    QTest::newRow("confirmed, the disk full")
        << QMessageBox::Yes << true << QStringList { "a", "b", "c" };
}

void TestHistory::deletesARunOnlyWhenConfirmed()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, diskFull);
    QFETCH(QStringList, names);
    const ExamRunStore store(path());
    QList<ExamResult> runs { run("a", "2026-12-01T10:00:00+09:00", 250),
        run("b", "2026-12-02T10:00:00+09:00", 520), run("c", "2026-12-03T10:00:00+09:00", 300) };
    ExamRunDetail detail;
    detail.result = runs[1];
    runs[1].detailFile = store.write(detail);
    record(runs);
    const QByteArray before = readAll(path());
    const QString detailPath = QDir(store.folder()).filePath(runs[1].detailFile);
    THistoryForm form(path(), Level2, m_dialogs, m_shell);
    form.Grid->setRow(2);
    m_dialogs.answers.enqueue(answer);
    // On a full disk the window is checked in the child that could not write.
    const auto deleteAndCheck = [&] {
        form.DeleteButton->click();
        const bool told = diskFull ? m_dialogs.messages.size() == 2
                && m_dialogs.messages.last().text.contains(QFileInfo(path()).fileName())
                                   : m_dialogs.messages.size() == 1;
        return told && column(*form.Grid, THistoryForm::NameColumn) == names
            && form.XYLine->Count() == names.size();
    };
    QVERIFY(diskFull ? onFullDisk(16, [&] { return deleteAndCheck() ? 0 : 1; }) == 0
                     : deleteAndCheck());
    QCOMPARE(m_dialogs.messages.isEmpty(), diskFull);
    if (!diskFull) {
        QCOMPARE(m_dialogs.messages[0].defaultButton, QMessageBox::No);
        QVERIFY(m_dialogs.messages[0].text.contains(runs[1].when.toString("yyyy-MM-dd HH:mm")));
    }
    QStringList stored;
    for (const ExamResult &r : ExamHistory(path()).read())
        stored << r.practiceName;
    QCOMPARE(stored, names);
    if (answer != QMessageBox::Yes || diskFull)
        QCOMPARE(readAll(path()), before);
    QCOMPARE(QFileInfo::exists(detailPath), answer != QMessageBox::Yes || diskFull);
}

// The window reads the file beside the settings file, with the level chosen in
// the main window, and its folder button goes through the main window's shell.
void TestHistory::viewMenuOpensTheHistoryBesideTheSettings()
{
    Trainer trainer;
    trainer.window->setShell(m_shell);
    ExamHistory(ExamHistory::pathBeside(trainer.iniPath()))
        .append(run("a", "2026-12-01T10:00:00+09:00", 250));
    QMenu *view = nullptr;
    for (QAction *menu : trainer.window->menuBar()->actions())
        if (menu->text() == QStringLiteral("表示(&V)"))
            view = menu->menu();
    QVERIFY(view);
    QVERIFY(view->actions().contains(trainer.window->HistoryItem));
    QCOMPARE(trainer.window->HistoryItem->text(), QStringLiteral("練習履歴(&H)..."));

    QList<QPointF> scores, mark;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<THistoryForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        scores = points(*form->XYLine);
        mark = points(*form->PassMarkLine);
        form->FolderButton->click();
        m_shell.opens = false; // a desktop without a file manager
        form->FolderButton->click();
        form->CloseButton->click();
    });
    trainer.window->HistoryItem->trigger();
    QCOMPARE(scores, QList<QPointF> { QPointF(1, 250) });
    // The run's own mark, whatever level the main window has now.
    QCOMPARE(mark, QList<QPointF>({ QPointF(1, 500), QPointF(2, 500) }));
    QCOMPARE(m_shell.opened, QList<QUrl>(2, QUrl::fromLocalFile(trainer.folder.path())));
    QCOMPARE(trainer.dialogs.messages.size(), 1); // the failure told, the success not
    QVERIFY(trainer.dialogs.messages.first().text.contains(
        QDir::toNativeSeparators(trainer.folder.path())));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
