#include "core/exam/HistoryFilter.h"

#include <QTest>

namespace {

ExamResult run(const char *level, const char *practice, int passMark = 500)
{
    ExamResult r;
    r.level = QString::fromUtf8(level);
    r.practiceName = QString::fromUtf8(practice);
    r.passMark = passMark;
    return r;
}

// Older rows hold the bare name, newer ones the title; the custom level and a
// name this program never wrote sit beside them.
const QList<ExamResult> Runs { run("3級", "a.txt"), run("ワープロ 3級", "b.txt"),
    run("ビジネス 2級", "a.txt"), run("自由設定", "c.txt"), run("ワープロ 1級", "b.txt"),
    run("9級", "a.txt") };

} // namespace

class TestHistoryFilter final : public QObject
{
    Q_OBJECT
private slots:
    void choosesRuns_data();
    void choosesRuns();
    void offersWhatTheRunsHold();
    void stepsToEachRunsMark_data();
    void stepsToEachRunsMark();
};

void TestHistoryFilter::choosesRuns_data()
{
    QTest::addColumn<QString>("exam");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QList<int>>("chosen");
    QTest::newRow("everything") << ""
                                << ""
                                << "" << QList<int> { 0, 1, 2, 3, 4, 5 };
    QTest::newRow("first exam, bare names included") << "日本語ワープロ検定"
                                                     << ""
                                                     << "" << QList<int> { 0, 1, 4 };
    QTest::newRow("second exam") << "ビジネス文書実務検定"
                                 << ""
                                 << "" << QList<int> { 2 };
    QTest::newRow("custom") << "自由設定"
                            << ""
                            << "" << QList<int> { 3 };
    QTest::newRow("a level by its title, old rows too") << ""
                                                        << "ワープロ 3級"
                                                        << "" << QList<int> { 0, 1 };
    QTest::newRow("an unknown name by itself") << ""
                                               << "9級"
                                               << "" << QList<int> { 5 };
    QTest::newRow("practice text") << ""
                                   << ""
                                   << "a.txt" << QList<int> { 0, 2, 5 };
    QTest::newRow("all three") << "日本語ワープロ検定"
                               << "ワープロ 3級"
                               << "a.txt" << QList<int> { 0 };
    QTest::newRow("nothing matches") << "ビジネス文書実務検定"
                                     << ""
                                     << "c.txt" << QList<int> {};
}

void TestHistoryFilter::choosesRuns()
{
    QFETCH(QString, exam);
    QFETCH(QString, level);
    QFETCH(QString, practice);
    QFETCH(QList<int>, chosen);
    QCOMPARE(HistoryFilter::select(Runs, { exam, level, practice }), chosen);
}

void TestHistoryFilter::offersWhatTheRunsHold()
{
    QCOMPARE(HistoryFilter::exams(Runs),
        QStringList({ "日本語ワープロ検定", "ビジネス文書実務検定", "自由設定" }));
    QCOMPARE(HistoryFilter::levels(Runs, {}),
        QStringList({ "ワープロ 3級", "ワープロ 1級", "ビジネス 2級", "自由設定", "9級" }));
    QCOMPARE(HistoryFilter::levels(Runs, "日本語ワープロ検定"),
        QStringList({ "ワープロ 3級", "ワープロ 1級" }));
    QCOMPARE(HistoryFilter::practices(Runs), QStringList({ "a.txt", "b.txt", "c.txt" }));
    QCOMPARE(HistoryFilter::exams({}), QStringList());
}

void TestHistoryFilter::stepsToEachRunsMark_data()
{
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<double>("lastX");
    QTest::addColumn<QList<QPointF>>("points");
    QTest::newRow("none") << QList<int>() << 2.0 << QList<QPointF>();
    QTest::newRow("one run, held to the axis's end")
        << QList<int> { 500 } << 2.0 << QList<QPointF> { { 1, 500 }, { 2, 500 } };
    QTest::newRow("one level: a straight line")
        << QList<int> { 500, 500, 500 } << 3.0 << QList<QPointF> { { 1, 500 }, { 3, 500 } };
    QTest::newRow("up a level and back") << QList<int> { 350, 500, 500, 350 } << 4.0
                                         << QList<QPointF> { { 1, 350 }, { 1.5, 350 }, { 1.5, 500 },
                                                { 3.5, 500 }, { 3.5, 350 }, { 4, 350 } };
}

void TestHistoryFilter::stepsToEachRunsMark()
{
    QFETCH(QList<int>, marks);
    QFETCH(double, lastX);
    QFETCH(QList<QPointF>, points);
    QCOMPARE(HistoryFilter::passSteps(marks, lastX), points);
}

QTEST_GUILESS_MAIN(TestHistoryFilter)
#include "tst_historyfilter.moc"
