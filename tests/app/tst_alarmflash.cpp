#include "app/AlarmFlash.h"
#include "controls/lcd/Lcd99.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

// A display set up as the time bar's: white background, black segments.
std::unique_ptr<TLCD99> timeDisplay()
{
    auto lcd = std::make_unique<TLCD99>();
    lcd->setFixedSize(73, 22);
    lcd->setDigitNum(5);
    lcd->setDigitSpacing(3);
    lcd->setGapX(1);
    lcd->setGapY(1);
    lcd->setColor(Qt::white);
    lcd->setOffColor(Qt::white);
    lcd->setOnColor(Qt::black);
    lcd->setValue(QStringLiteral("08:00"));
    return lcd;
}

int litPixels(TLCD99 &lcd)
{
    const QImage image = lcd.grab().toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += image.pixelColor(x, y) != lcd.color();
    return lit;
}

struct Phase
{
    bool dark;
    qint64 atMs;
    int litPixels;
};

} // namespace

class TestAlarmFlash final : public QObject
{
    Q_OBJECT
private slots:
    void flashesDarkAndLitAndEndsLit_data();
    void flashesDarkAndLitAndEndsLit();
    void timerKeepsSettingTheValueUnderneath();
};

void TestAlarmFlash::flashesDarkAndLitAndEndsLit_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("darkSpells");
    QTest::newRow("one second") << 1 << 1;
    QTest::newRow("three seconds") << 3 << 3;
}

// What the learner sees, on the rendered display at each change.
void TestAlarmFlash::flashesDarkAndLitAndEndsLit()
{
    QFETCH(int, seconds);
    QFETCH(int, darkSpells);
    const auto lcd = timeDisplay();
    lcd->show();
    QVERIFY(QTest::qWaitForWindowExposed(lcd.get()));
    const int digits = litPixels(*lcd);
    QVERIFY(digits > 50);

    AlarmFlash flash(lcd.get());
    QList<Phase> phases;
    QElapsedTimer clock;
    connect(&flash, &AlarmFlash::darkChanged, this, [&](bool dark) {
        phases.append({ dark, clock.elapsed(), litPixels(*lcd) });
    });
    clock.start();
    flash.start(seconds);
    QTRY_VERIFY_WITH_TIMEOUT(!flash.isFlashing(), seconds * 1000 + 2000);

    QCOMPARE(phases.size(), 2 * darkSpells);
    for (int i = 0; i < phases.size(); ++i) {
        const Phase &p = phases.at(i);
        QCOMPARE(p.dark, i % 2 == 0); // dark first, then by turns, lit last
        QCOMPARE(p.litPixels, p.dark ? 0 : digits);
        // Each spell lasts its half second, give or take a busy machine.
        QVERIFY2(p.atMs >= i * AlarmFlash::PhaseMs - 50 && p.atMs <= i * AlarmFlash::PhaseMs + 400,
            qPrintable(QStringLiteral("change %1 at %2 ms").arg(i).arg(p.atMs)));
    }
    QVERIFY(!flash.isDark());
    QCOMPARE(litPixels(*lcd), digits);
}

// The timer writes the display each second during a flash: the flash must not
// keep an old value, nor the new value show through a dark spell.
void TestAlarmFlash::timerKeepsSettingTheValueUnderneath()
{
    const auto lcd = timeDisplay();
    lcd->show();
    QVERIFY(QTest::qWaitForWindowExposed(lcd.get()));
    const int before = litPixels(*lcd);
    AlarmFlash flash(lcd.get());
    flash.start(5);
    QVERIFY(flash.isDark());
    lcd->setValue(QStringLiteral("08:01"));
    QCOMPARE(litPixels(*lcd), 0);
    QCOMPARE(lcd->value(), QStringLiteral("08:01"));

    // The options dialog may recolour the display while it flashes.
    lcd->setColor(Qt::yellow);
    lcd->setOffColor(Qt::yellow);
    flash.start(5); // a new alarm starts the flash over, dark
    QCOMPARE(litPixels(*lcd), 0);
    flash.stop();
    QVERIFY(!flash.isDark());
    const int after = litPixels(*lcd);
    QVERIFY(after > 0);
    QVERIFY(after != before); // 08:01 lights other segments than 08:00
}

QTEST_MAIN(TestAlarmFlash)
#include "tst_alarmflash.moc"
