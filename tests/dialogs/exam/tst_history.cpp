#include "controls/grid/AdvGrid.h"
#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/exam/ExamHistory.h"
#include "dialogs/exam/History.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/Trainer.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr QRgb Red = 0xFFFF0000;
const ExamLevel Level2 { QStringLiteral("2級"), 3, 500 };

ExamResult run(const char *name, const char *when, int net)
{
    return { QDateTime::fromString(QString::fromLatin1(when), Qt::ISODate).toLocalTime(),
        QString::fromUtf8(name), QStringLiteral("2級"), net + 30, 4, 3, 3, net, 500, net >= 500 };
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
        runs.last().when = runs.last().when.addDays(i);
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
    QVERIFY(form.MarkLabel->text().contains(QStringLiteral("2級")));

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
    const int passMark = trainer.window->examSettings().level().passMark;
    QCOMPARE(scores, QList<QPointF> { QPointF(1, 250) });
    QCOMPARE(mark, QList<QPointF>({ QPointF(1, passMark), QPointF(2, passMark) }));
    QCOMPARE(m_shell.opened, QList<QUrl>(2, QUrl::fromLocalFile(trainer.folder.path())));
    QCOMPARE(trainer.dialogs.messages.size(), 1); // the failure told, the success not
    QVERIFY(trainer.dialogs.messages.first().text.contains(
        QDir::toNativeSeparators(trainer.folder.path())));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
