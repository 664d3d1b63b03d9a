#include "app/Main.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "controls/lcd/Lcd99.h"
#include "platform/Clock.h"
#include "tests/support/Trainer.h"

#include <QPlainTextEdit>
#include <QTest>

// 試験モード through a whole run with the real window timer and the real clock
// sped up sixty times (run under libfaketime): typing counts up to 10:00 and
// not after, until the timer is stopped.
class TestExamModeClock final : public QObject
{
    Q_OBJECT
private slots:
    void paneClosesAtTenMinutesUntilStopped();
};

void TestExamModeClock::paneClosesAtTenMinutesUntilStopped()
{
    RealClockTrainer trainer;
    TMainForm &window = *trainer.window;
    window.activateWindow();
    // Waits are in sped-up time: ten real seconds for the window manager.
    QVERIFY(QTest::qWaitForWindowActive(&window, 600'000));
    window.exam().bar()->ExamModeAction->trigger();
    QVERIFY(window.examSettings().ExamMode);

    QTest::keyClicks(window.RightMemo, QStringLiteral("abc"));
    trainer.dialogs.answers << QMessageBox::No; // keep the text
    QTest::keyClick(window.RightMemo, Qt::Key_F2);
    QCOMPARE(trainer.dialogs.messages.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(window.LCD99->value() >= QStringLiteral("09:30"), 900'000);
    QVERIFY(!window.RightMemo->isReadOnly());
    QTest::keyClicks(window.RightMemo, QStringLiteral("d")); // half a minute before time

    QTRY_VERIFY_WITH_TIMEOUT(window.RightMemo->isReadOnly(), 120'000);
    const QString closedAt = window.LCD99->value();
    QVERIFY2(closedAt >= QStringLiteral("10:00") && closedAt <= QStringLiteral("10:05"),
        qPrintable(closedAt));
    QTest::keyClicks(window.RightMemo, QStringLiteral("xyz"));
    QCOMPARE(window.RightMemo->toPlainText(), QStringLiteral("abcd"));
    QCOMPARE(trainer.scores, QStringList { QStringLiteral("4") });
    QTest::qWait(30'000); // half a minute on, the pane is still closed
    QVERIFY(window.RightMemo->isReadOnly());
    QVERIFY(window.LCD99->value() > closedAt);

    QTest::keyClick(window.RightMemo, Qt::Key_F3);
    QVERIFY(!window.RightMemo->isReadOnly());
    QTest::keyClicks(window.RightMemo, QStringLiteral("e"));
    QCOMPARE(window.RightMemo->toPlainText(), QStringLiteral("abcde"));
    QCOMPARE(trainer.dialogs.messages.size(), 1);
}

QTEST_MAIN(TestExamModeClock)
#include "tst_exammodeclock.moc"
