#include "core/settings/FlashSettings.h"
#include "core/settings/SettingsFile.h"

#include "tests/support/FileBytes.h"

#include <QTemporaryDir>
#include <QTest>

class TestFlashSettings final : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();
};

void TestFlashSettings::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("seconds");
    QTest::newRow("older file without the section: on, 5 s")
        << QByteArray("[Timer]\r\nAlarmTime=10\r\n") << true << 5;
    QTest::newRow("switched off") << QByteArray("[Flash]\r\nEnabled=0\r\nSeconds=3\r\n") << false
                                  << 3;
    QTest::newRow("full-width digits")
        << QByteArray("[Flash]\r\nSeconds=\x82\x50\x82\x4f\r\n") << true << 10;
    QTest::newRow("held to 1..60") << QByteArray("[Flash]\r\nSeconds=600\r\n") << true << 60;
    QTest::newRow("none is at least one") << QByteArray("[Flash]\r\nSeconds=0\r\n") << true << 1;
    QTest::newRow("bad text reads as the defaults")
        << QByteArray("[Flash]\r\nEnabled=yes\r\nSeconds=five\r\n") << true << 5;
}

void TestFlashSettings::load()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, enabled);
    QFETCH(int, seconds);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    writeAll(path, file);
    // Read as the window reads it: one load of the whole file.
    Settings settings;
    QStringList scores;
    ExamSettings exam;
    FlashSettings flash;
    SettingsFile(path).load(settings, scores, exam, flash);
    QCOMPARE(flash.Enabled, enabled);
    QCOMPARE(flash.Seconds, seconds);
}

QTEST_APPLESS_MAIN(TestFlashSettings)
#include "tst_flashsettings.moc"
