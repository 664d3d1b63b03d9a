#include "core/settings/SettingsFile.h"
#include "core/settings/SheetSettings.h"

#include "tests/support/FileBytes.h"

#include <QTemporaryDir>
#include <QTest>

class TestSheetSettings final : public QObject
{
    Q_OBJECT
private slots:
    void saveAndLoad_data();
    void saveAndLoad();
};

// The file before, the switch saved through the settings file's one save, the
// [Sheet] section the file has after it (empty: none), and what a reader sees
// of the file before and after.
void TestSheetSettings::saveAndLoad_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("readBefore");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QByteArray>("section");
    const QByteArray older("[General]\r\nDoubleView=1\r\n");
    QTest::newRow("older file: off, and stays without the section")
        << older << false << false << QByteArray();
    QTest::newRow("switched on: the section appears")
        << older << false << true << QByteArray("[Sheet]\r\nEnabled=1\r\n");
    QTest::newRow("switched off again: the section stays, off") << QByteArray(
        "[Sheet]\r\nEnabled=1\r\n") << true << false << QByteArray("[Sheet]\r\nEnabled=0\r\n");
    QTest::newRow("unreadable value reads as off")
        << QByteArray("[Sheet]\r\nEnabled=yes\r\n") << false << false
        << QByteArray("[Sheet]\r\nEnabled=0\r\n");
}

void TestSheetSettings::saveAndLoad()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, readBefore);
    QFETCH(bool, saved);
    QFETCH(QByteArray, section);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("vemitrainer.ini"));
    QVERIFY(writeAll(path, before));
    const auto load = [&path] {
        Settings settings;
        QStringList scores;
        ExamSettings exam;
        FlashSettings flash;
        SheetSettings sheet { !SheetSettings().Enabled };
        SettingsFile(path).load(settings, scores, exam, flash, sheet);
        return sheet.Enabled;
    };
    QCOMPARE(load(), readBefore);

    Settings settings;
    settings.applyDefaults(folder.path());
    QStringList scores;
    SettingsFile(path).save(settings, { QStringLiteral("MS ゴシック"), QStringLiteral("12") },
        ExamSettings(), SheetSettings { saved }, scores);
    const QByteArray after = readAll(path);
    if (section.isEmpty())
        QVERIFY2(!after.contains("[Sheet]"), after.constData());
    else
        QVERIFY2(after.contains(section), after.constData());
    QCOMPARE(load(), saved);
}

QTEST_APPLESS_MAIN(TestSheetSettings)
#include "tst_sheetsettings.moc"
