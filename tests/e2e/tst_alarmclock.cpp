#include "app/AlarmFlash.h"
#include "app/Main.h"
#include "controls/lcd/Lcd99.h"
#include "platform/Clock.h"
#include "platform/LazySoundPlayer.h"
#include "platform/SoundModule.h"
#include "tests/support/FakeDialogs.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// A whole run with the default alarms, the real window timer and the real
// clock sped up twenty times (run under libfaketime), on a machine where no
// sound can be played: what the learner sees of each alarm on the display.
class TestAlarmClock final : public QObject
{
    Q_OBJECT
private slots:
    void alarmsFlashWithoutSoundAndTheRunGoesOn();
};

namespace {
struct Change
{
    bool dark;
    qint64 atMs; // since F2
    QString value; // what the display holds underneath
    bool uniform; // the rendered display is all one colour
};

bool uniform(TLCD99 *lcd)
{
    const QImage image = lcd->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}
} // namespace

void TestAlarmClock::alarmsFlashWithoutSoundAndTheRunGoesOn()
{
    QTemporaryDir folder;
    QTemporaryDir noModule;
    SteadyClock clock;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^No sound module"));
    LazySoundPlayer sound([&] { return SoundModule::load(noModule.path()); });
    FakeDialogs dialogs;
    const Services services { clock, sound, dialogs,
        folder.filePath(QStringLiteral("vemitrainer")) };
    Settings settings;
    QStringList scores;
    TMainForm window(services, settings, scores);
    window.show();
    window.activateWindow();
    // Waits are in sped-up time: fifteen real seconds for the window manager.
    QVERIFY(QTest::qWaitForWindowActive(&window, 300'000));
    auto *flash = window.LCD99->findChild<AlarmFlash *>();
    QVERIFY(flash);

    QList<Change> changes;
    QElapsedTimer sinceF2;
    connect(flash, &AlarmFlash::darkChanged, this, [&](bool dark) {
        changes.append({ dark, sinceF2.elapsed(), window.LCD99->value(), uniform(window.LCD99) });
    });
    QTest::keyClicks(window.RightMemo, QStringLiteral("abc"));
    sinceF2.start();
    QTest::keyClick(window.RightMemo, Qt::Key_F2);
    // Well past the alarm's flash; the timer going on that far is checked too.
    QTRY_VERIFY_WITH_TIMEOUT(window.LCD99->value() >= QStringLiteral("10:08"), 700'000);

    // Two flashes of five dark spells each, at 08:00 and at 10:00, each ending lit.
    QCOMPARE(changes.size(), 20);
    for (int alarm = 0; alarm < 2; ++alarm) {
        const QList<Change> one = changes.mid(alarm * 10, 10);
        const QString due = alarm == 0 ? QStringLiteral("08:00") : QStringLiteral("10:00");
        QCOMPARE(one.first().value, due);
        for (int i = 0; i < one.size(); ++i) {
            QCOMPARE(one[i].dark, i % 2 == 0);
            QCOMPARE(one[i].uniform, one[i].dark);
        }
        // About 4.5 s from the first dark spell to the light at the end; the
        // sped-up clock turns a few real milliseconds of delay into seconds.
        const qint64 spanMs = one.last().atMs - one.first().atMs;
        QVERIFY2(spanMs > 3500 && spanMs < 7500, qPrintable(QString::number(spanMs)));
        QVERIFY(one.last().value > due); // the display counted on meanwhile
    }
    // The timer went on, and the 10:00 capture happened once, as without a flash.
    QCOMPARE(scores, QStringList { QStringLiteral("3") });
    QVERIFY(!flash->isDark());
    QVERIFY2(
        window.statusPanelText(1).startsWith(QStringLiteral("音を鳴らせません: 音声モジュール")),
        qPrintable(window.statusPanelText(1)));
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(TestAlarmClock)
#include "tst_alarmclock.moc"
