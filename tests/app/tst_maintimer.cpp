#include "tests/support/Trainer.h"

#include "controls/lcd/Lcd99.h"
#include <QDialog>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// Moves the clock on and delivers the tick the window timer would.
void tickAt(Trainer &t, quint32 elapsedMs, quint32 startMs = 1000)
{
    t.clock.now = startMs + elapsedMs;
    t.window->Timer1Timer();
}

QString display(const Trainer &t)
{
    return t.window->LCD99->value();
}

} // namespace

class TestMainTimer final : public QObject
{
    Q_OBJECT
private slots:
    void startAndStopByKeys();
    void tenMinuteRunRecordsOneScoreAndSounds();
    void emptyPaneRecordsZero();
    void preAlarmAfterOneMinute();
    void newResetsOnlyTheDisplay();
    void ticksGoOnWhileADialogIsOpen();
    void alarmsAreSeenAndSilenceIsTold_data();
    void alarmsAreSeenAndSilenceIsTold();
};

void TestMainTimer::startAndStopByKeys()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(display(t), QStringLiteral("00:00"));
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(w.Timer1->interval(), 1000);

    t.clock.now = 1000;
    QTest::keyClick(w.RightMemo, Qt::Key_F2);
    QVERIFY(w.Timer1->isActive());
    QVERIFY(!w.StartButton->isEnabled());
    QVERIFY(w.B1->isEnabled()); // F2 can restart a run that goes on
    QCOMPARE(display(t), QStringLiteral("00:00")); // untouched until the first tick
    tickAt(t, 1000);
    QCOMPARE(display(t), QStringLiteral("00:01"));

    tickAt(t, 300000);
    t.clock.now = 1000 + 300000;
    QTest::keyClick(w.RightMemo, Qt::Key_F2);
    tickAt(t, 1000, 301000);
    QCOMPARE(display(t), QStringLiteral("00:01"));

    QTest::keyClick(w.RightMemo, Qt::Key_F3);
    QVERIFY(!w.Timer1->isActive());
    QVERIFY(w.StartButton->isEnabled());
    QCOMPARE(display(t), QStringLiteral("00:01")); // the last value stays
}

void TestMainTimer::tenMinuteRunRecordsOneScoreAndSounds()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.RightMemo->setPlainText(QStringLiteral("文字を\nabc"));
    t.clock.now = 1000;
    w.StartButtonClick();
    for (quint32 s = 1; s <= 610; ++s)
        tickAt(t, s * 1000 + (s == 600 ? 1500 : 0)); // one late tick jumps over 10:00
    QCOMPARE(t.scores, QStringList { QStringLiteral("7") });
    QCOMPARE(
        t.sound.played, QStringList({ t.settings.PreAlarmSoundFile, t.settings.AlarmSoundFile }));
    QVERIFY(t.settings.PreAlarmSoundFile.endsWith(QStringLiteral("//Sound/Hurryup.wav")));
    QCOMPARE(display(t), QStringLiteral("10:10"));

    // The score is saved with the settings at exit.
    QVERIFY(w.close());
    QVERIFY(t.iniBytes().contains("[Score]\r\nScoreCount=1\r\nScore0=7\r\n"));
}

void TestMainTimer::emptyPaneRecordsZero()
{
    Trainer t;
    t.window->StartButtonClick();
    tickAt(t, 600000, 0);
    QCOMPARE(t.scores, QStringList { QStringLiteral("0") });
}

void TestMainTimer::preAlarmAfterOneMinute()
{
    Trainer t("[Font]\r\nFontSize=12\r\n[Timer]\r\nPreAlarmTime=1\r\nAlarm=0\r\n"
              "[General]\r\nPreAlarmSoundFile=/sounds/pre.wav\r\n");
    t.clock.now = 1000;
    t.window->StartButtonClick();
    tickAt(t, 59999);
    QVERIFY(t.sound.played.isEmpty());
    tickAt(t, 60000);
    QCOMPARE(t.sound.played, QStringList { QStringLiteral("/sounds/pre.wav") });
    tickAt(t, 600000);
    QCOMPARE(t.sound.played.size(), 1); // the alarm is switched off
    QCOMPARE(t.scores.size(), 1);
}

void TestMainTimer::newResetsOnlyTheDisplay()
{
    Trainer t;
    t.clock.now = 1000;
    t.window->StartButtonClick();
    tickAt(t, 5000);
    t.window->resetTimerDisplay();
    QCOMPARE(display(t), QStringLiteral("00:00"));
    QVERIFY(t.window->Timer1->isActive());
    tickAt(t, 6000);
    QCOMPARE(display(t), QStringLiteral("00:06"));
}

void TestMainTimer::ticksGoOnWhileADialogIsOpen()
{
    Trainer t;
    t.clock.now = 1000;
    t.window->StartButtonClick();
    t.clock.now = 1000 + 42000;
    QDialog dialog(t.window.get());
    QTimer::singleShot(1300, &dialog, &QDialog::accept); // just past the first real tick
    dialog.exec();
    QCOMPARE(display(t), QStringLiteral("00:42"));
}

void TestMainTimer::alarmsAreSeenAndSilenceIsTold_data()
{
    QTest::addColumn<QByteArray>("flashSection");
    QTest::addColumn<bool>("soundFails");
    QTest::addColumn<bool>("flashes");
    QTest::newRow("older file: flashes") << QByteArray() << false << true;
    QTest::newRow("no sound: told once, flashes") << QByteArray() << true << true;
    QTest::newRow("flash switched off") << QByteArray("[Flash]\r\nEnabled=0\r\n") << true << false;
}

// At the pre-alarm and the alarm, on the rendered time display; a sound that
// cannot be heard is told in the status bar, once, and the run goes on.
void TestMainTimer::alarmsAreSeenAndSilenceIsTold()
{
    QFETCH(QByteArray, flashSection);
    QFETCH(bool, soundFails);
    QFETCH(bool, flashes);
    Trainer t(
        "[Font]\r\nFontSize=12\r\n[Timer]\r\nPreAlarmTime=1\r\nAlarmTime=2\r\n" + flashSection);
    QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
    // Lit segments differ from the background; a dark display is all one colour.
    const auto shows = [&] {
        const QImage image = t.window->LCD99->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != image.pixel(0, 0))
                    return true;
        return false;
    };
    t.clock.now = 1000;
    t.window->StartButtonClick();
    const QString quiet = t.window->statusPanelText(1);

    for (const quint32 second : { 60u, 120u }) {
        if (soundFails) // a later failure, for another reason, is not told again
            t.sound.failure = QStringLiteral("reason at %1 s").arg(second);
        tickAt(t, second * 1000);
        QCOMPARE(display(t), PracticeTimer::displayText(second)); // the timer is not held up
        QCOMPARE(!shows(), flashes);
        tickAt(t, second * 1000 + 1000);
        QCOMPARE(!shows(), flashes); // a tick during the flash does not light it
        QCOMPARE(display(t), PracticeTimer::displayText(second + 1));
    }
    QCOMPARE(t.sound.played.size(), 2);
    const QString told = t.window->statusPanelText(1);
    if (soundFails) {
        QCOMPARE(told,
            QStringLiteral("音を鳴らせません: reason at 60 s。")
                + (flashes ? QStringLiteral("アラームは時間表示の点滅でお知らせします。")
                           : QString()));
    } else {
        QCOMPARE(told, quiet);
    }
    QVERIFY2(t.dialogs.messages.isEmpty(), qPrintable(t.dialogs.messages.value(0).text));
    QVERIFY(t.window->Timer1->isActive());
}

QTEST_MAIN(TestMainTimer)
#include "tst_maintimer.moc"
