#include "app/Main.h"
#include "controls/lcd/Lcd99.h"
#include "platform/Clock.h"
#include "tests/support/Trainer.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>

// The trainer's window on a real display with the real clock and the real
// window timer: what a screen reader hears from the display, half a second
// after each whole second of a run.
class TestRealClock final : public QObject
{
    Q_OBJECT
private slots:
    void displayShowsElapsedWholeSeconds_data();
    void displayShowsElapsedWholeSeconds();
};

void TestRealClock::displayShowsElapsedWholeSeconds_data()
{
    // A timer that fired early would show each second late in about half the runs.
    QTest::addColumn<int>("run");
    for (int run = 1; run <= 4; ++run)
        QTest::addRow("run %d", run) << run;
}

void TestRealClock::displayShowsElapsedWholeSeconds()
{
    RealClockTrainer trainer;
    TMainForm &window = *trainer.window;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QAccessibleInterface *display = QAccessible::queryAccessibleInterface(window.LCD99);
    QVERIFY(display);

    QElapsedTimer sinceF2;
    sinceF2.start();
    QTest::keyClick(window.RightMemo, Qt::Key_F2);
    const QStringList expected
        = { QStringLiteral("00:01"), QStringLiteral("00:02"), QStringLiteral("00:03") };
    for (int second = 1; second <= 3; ++second) {
        QTest::qWait(int(second * 1000 + 500 - sinceF2.elapsed()));
        QCOMPARE(display->text(QAccessible::Value), expected.at(second - 1));
    }
}

QTEST_MAIN(TestRealClock)
#include "tst_realclock.moc"
