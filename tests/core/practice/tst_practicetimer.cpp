#include "core/practice/PracticeTimer.h"

#include <QTest>

namespace {

Settings defaults()
{
    Settings settings;
    settings.applyDefaults(QStringLiteral("/opt/vemi/"));
    return settings;
}

struct Events
{
    QStringList preAlarms; // displays of the ticks that sounded
    QStringList alarms;
    QStringList scores;
};

// Ticks at the given elapsed milliseconds of one run started at startMs.
Events run(const Settings &settings, const QList<quint32> &elapsed, quint32 startMs = 5000)
{
    PracticeTimer timer;
    timer.start(startMs);
    Events events;
    for (quint32 ms : elapsed) {
        const PracticeTimer::Tick tick = timer.tick(startMs + ms, settings);
        if (tick.playPreAlarm)
            events.preAlarms << tick.display;
        if (tick.playAlarm)
            events.alarms << tick.display;
        if (tick.recordScore)
            events.scores << tick.display;
    }
    return events;
}

QList<quint32> everySecond(quint32 lastSecond)
{
    QList<quint32> ticks;
    for (quint32 s = 1; s <= lastSecond; ++s)
        ticks << s * 1000 + 3; // a little after each second, as a window timer fires
    return ticks;
}

} // namespace

class TestPracticeTimer final : public QObject
{
    Q_OBJECT
private slots:
    void displayText_data();
    void displayText();
    void eventsOfARun_data();
    void eventsOfARun();
    void minutesChangedMidRun_data();
    void minutesChangedMidRun();
    void restartBeginsANewRun();
    void clockWrapAround();
};

void TestPracticeTimer::displayText_data()
{
    QTest::addColumn<quint32>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << 0u << "00:00";
    QTest::newRow("first tick") << 1u << "00:01";
    QTest::newRow("minute") << 61u << "01:01";
    QTest::newRow("before capture") << 599u << "09:59";
    QTest::newRow("capture") << 600u << "10:00";
    QTest::newRow("last two-digit") << 5999u << "99:59";
    QTest::newRow("hundred minutes") << 6000u << "100:00";
    QTest::newRow("longest run") << 4294967u << "71582:47";
}

void TestPracticeTimer::displayText()
{
    QFETCH(quint32, seconds);
    QFETCH(QString, text);
    QCOMPARE(PracticeTimer::displayText(seconds), text);
}

void TestPracticeTimer::eventsOfARun_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QList<quint32>>("ticks");
    QTest::addColumn<QStringList>("preAlarms");
    QTest::addColumn<QStringList>("alarms");
    QTest::addColumn<QStringList>("scores");

    const Settings standard = defaults();
    QTest::newRow("defaults, one tick a second")
        << standard << everySecond(700) << QStringList { "08:00" } << QStringList { "10:00" }
        << QStringList { "10:00" };
    QTest::newRow("stopped at 09:59") << standard << everySecond(599) << QStringList { "08:00" }
                                      << QStringList() << QStringList();
    QTest::newRow("late tick jumps over 10:00")
        << standard << QList<quint32> { 479900, 481200, 599900, 601500, 602400 }
        << QStringList { "08:01" } << QStringList { "10:01" } << QStringList { "10:01" };
    QTest::newRow("two ticks in one second")
        << standard << QList<quint32> { 480100, 480900, 600050, 600950, 601000 }
        << QStringList { "08:00" } << QStringList { "10:00" } << QStringList { "10:00" };

    Settings silent = standard;
    silent.Alarm = false;
    QTest::newRow("alarm off still records")
        << silent << everySecond(601) << QStringList { "08:00" } << QStringList()
        << QStringList { "10:00" };
    Settings late = standard;
    late.AlarmTime = 15;
    QTest::newRow("alarm at 15 minutes") << late << everySecond(901) << QStringList { "08:00" }
                                         << QStringList { "15:00" } << QStringList { "10:00" };
    Settings early = standard;
    early.PreAlarmTime = 1;
    early.AlarmTime = 1;
    QTest::newRow("both due together") << early << everySecond(61) << QStringList { "01:00" }
                                       << QStringList { "01:00" } << QStringList();
    Settings never = standard;
    never.PreAlarmTime = 0;
    never.AlarmTime = -2;
    QTest::newRow("zero and negative minutes never sound")
        << never << (QList<quint32> { 0, 100 } + everySecond(600)) << QStringList() << QStringList()
        << QStringList { "10:00" };
}

void TestPracticeTimer::eventsOfARun()
{
    QFETCH(Settings, settings);
    QFETCH(QList<quint32>, ticks);
    const Events events = run(settings, ticks);
    QTEST(events.preAlarms, "preAlarms");
    QTEST(events.alarms, "alarms");
    QTEST(events.scores, "scores");
}

// The options dialog may change the minutes while a run goes on: an event sounds
// only when a tick carries the elapsed time up to or past its second.
void TestPracticeTimer::minutesChangedMidRun_data()
{
    QTest::addColumn<quint32>("changeAtSecond"); // after the tick of this second
    QTest::addColumn<int>("preAlarmTime");
    QTest::addColumn<int>("alarmTime");
    QTest::addColumn<QStringList>("preAlarms");
    QTest::addColumn<QStringList>("alarms");

    QTest::newRow("lowered below elapsed") << 300u << 2 << 3 << QStringList() << QStringList();
    QTest::newRow("lowered to the current second")
        << 300u << 5 << 5 << QStringList() << QStringList();
    QTest::newRow("lowered, still ahead")
        << 300u << 6 << 7 << QStringList { "06:00" } << QStringList { "07:00" };
    QTest::newRow("raised past an event that sounded")
        << 500u << 9 << 10 << QStringList { "08:00", "09:00" } << QStringList { "10:00" };
}

void TestPracticeTimer::minutesChangedMidRun()
{
    QFETCH(quint32, changeAtSecond);
    QFETCH(int, preAlarmTime);
    QFETCH(int, alarmTime);
    Settings settings = defaults();
    PracticeTimer timer;
    timer.start(0);
    QStringList preAlarms;
    QStringList alarms;
    for (quint32 s = 1; s <= 660; ++s) {
        const PracticeTimer::Tick tick = timer.tick(s * 1000 + 2, settings);
        if (tick.playPreAlarm)
            preAlarms << tick.display;
        if (tick.playAlarm)
            alarms << tick.display;
        if (s == changeAtSecond) {
            settings.PreAlarmTime = preAlarmTime;
            settings.AlarmTime = alarmTime;
        }
    }
    QTEST(preAlarms, "preAlarms");
    QTEST(alarms, "alarms");
}

void TestPracticeTimer::restartBeginsANewRun()
{
    const Settings settings = defaults();
    PracticeTimer timer;
    timer.start(0);
    QVERIFY(timer.tick(600000, settings).recordScore);
    QCOMPARE(timer.tick(300000 + 600000, settings).display, QStringLiteral("15:00"));
    timer.start(900000); // F2 while running: the count starts again from zero
    QCOMPARE(timer.tick(901000, settings).display, QStringLiteral("00:01"));
    QVERIFY(!timer.tick(1499000, settings).recordScore);
    const PracticeTimer::Tick capture = timer.tick(1500000, settings);
    QVERIFY(capture.recordScore && capture.playAlarm);
}

void TestPracticeTimer::clockWrapAround()
{
    const Settings settings = defaults();
    PracticeTimer timer;
    const quint32 start = 0xFFFFFFFFu - 250000; // the clock wraps four minutes into the run
    timer.start(start);
    const PracticeTimer::Tick tick = timer.tick(start + 600000u, settings);
    QCOMPARE(tick.display, QStringLiteral("10:00"));
    QVERIFY(tick.recordScore);
}

QTEST_APPLESS_MAIN(TestPracticeTimer)
#include "tst_practicetimer.moc"
