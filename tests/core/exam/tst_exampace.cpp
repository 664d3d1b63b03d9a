#include "core/exam/ExamPace.h"

#include <QTest>

// The pace a level asks for, and the minute-by-minute counts of a run.
class TestExamPace final : public QObject
{
    Q_OBJECT
private slots:
    void atTheMinuteMarks_data();
    void atTheMinuteMarks();
    void minuteMarks_data();
    void minuteMarks();
};

void TestExamPace::atTheMinuteMarks_data()
{
    QTest::addColumn<int>("passMark");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("netScore");
    QTest::addColumn<QString>("needed");
    QTest::addColumn<QString>("lead");
    QTest::newRow("3級 at 1:00, ahead") << 300 << 60 << 42 << "30字/分"
                                        << "+12";
    QTest::newRow("3級 at 5:00, behind") << 300 << 300 << 142 << "30字/分"
                                         << "\u22128";
    QTest::newRow("ビジネス 2級 at 2:00, on pace") << 450 << 120 << 90 << "45字/分"
                                                   << "±0";
    QTest::newRow("1級 at 10:00") << 700 << 600 << 650 << "70字/分"
                                  << "\u221250";
    QTest::newRow("past 10:00 the mark stays") << 200 << 660 << 230 << "20字/分"
                                               << "+30";
    QTest::newRow("at the start") << 500 << 0 << 0 << "50字/分"
                                  << "±0";
    QTest::newRow("a mark not in tens, to the nearest character")
        << 333 << 180 << 100 << "33.3字/分"
        << "±0"; // 99.9 due
    QTest::newRow("half a character rounds up") << 10 << 30 << 0 << "1字/分"
                                                << "\u22121";
}

void TestExamPace::atTheMinuteMarks()
{
    QFETCH(int, passMark);
    QFETCH(int, seconds);
    QFETCH(int, netScore);
    QFETCH(QString, needed);
    QFETCH(QString, lead);
    QCOMPARE(ExamPace::neededText(passMark), needed);
    QCOMPARE(ExamPace::leadText(ExamPace::lead(netScore, passMark, seconds)), lead);
}

void TestExamPace::minuteMarks_data()
{
    // The count at the start, then ticks as pairs of elapsed seconds and the count at that tick.
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<QList<int>>("perMinute");
    QTest::newRow("every second's tick counts at the marks only")
        << QList<int> { 0, 59, 40, 60, 41, 61, 45, 119, 80, 120, 90 } << QList<int> { 41, 49 };
    QTest::newRow("text kept from before the start is not typed in the run")
        << QList<int> { 25, 60, 30, 120, 90 } << QList<int> { 5, 60 };
    QTest::newRow("a late tick fills the marks it passed")
        << QList<int> { 0, 60, 30, 185, 100 } << QList<int> { 30, 70, 0 };
    QTest::newRow("text deleted counts as nothing typed")
        << QList<int> { 0, 60, 50, 120, 20, 180, 60 } << QList<int> { 50, 0, 40 };
    QTest::newRow("ten minutes, no more") << QList<int> { 0, 599, 10, 600, 10, 1200, 99 }
                                          << QList<int> { 10, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
}

void TestExamPace::minuteMarks()
{
    QFETCH(QList<int>, ticks);
    QFETCH(QList<int>, perMinute);
    ExamPace::MinuteMarks marks;
    marks.start(999); // a run before, forgotten at the start
    marks.take(600, 999);
    marks.start(ticks[0]);
    for (int i = 1; i < ticks.size(); i += 2) {
        marks.take(ticks[i], ticks[i + 1]);
        QVERIFY(!marks.due(ticks[i]));
    }
    QCOMPARE(marks.perMinute(), perMinute);
}

QTEST_APPLESS_MAIN(TestExamPace)
#include "tst_exampace.moc"
