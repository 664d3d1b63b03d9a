#include "../support/FakeClock.h"
#include "../support/FakeDialogs.h"
#include "../support/RecordingSoundPlayer.h"
#include "DataLayout.h"
#include "Main.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The window over a portable copy and over an installed one, with the user's
// folders in temporary XDG homes.
class TestMainLayout final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void settingsAndSoundsFollowTheLayout_data();
    void settingsAndSoundsFollowTheLayout();

private:
    QTemporaryDir m_home;
};

void TestMainLayout::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
}

void TestMainLayout::settingsAndSoundsFollowTheLayout_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("prefixName");
    QTest::newRow("portable") << false << "portable";
    QTest::newRow("installed") << true << "usr";
    // Shift-JIS cannot hold é: the default sound paths must still read back whole.
    QTest::newRow("installed under a name Shift-JIS cannot hold") << true << "café";
}

// Two starts: the first writes the settings, the second reads them back.
void TestMainLayout::settingsAndSoundsFollowTheLayout()
{
    QFETCH(bool, installed);
    QFETCH(QString, prefixName);
    QTemporaryDir root;
    const QString prefix = root.filePath(prefixName);
    const QString bin = prefix + QStringLiteral("/bin/");
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QDir().mkpath(
        installed ? prefix + QStringLiteral("/share/vemitrainer") : bin + QStringLiteral("問題")));
    const DataLayout layout = DataLayout::forProgram(bin + QStringLiteral("vemitrainer"));
    layout.makeUserFolders();
    const QString sounds = installed ? prefix + QStringLiteral("/share/vemitrainer/Sound/")
                                     : bin + QStringLiteral("/Sound/");
    const QString ini = installed
        ? m_home.filePath(QStringLiteral("config/vemitrainer/vemitrainer.ini"))
        : bin + QStringLiteral("vemitrainer.ini");
    QFile::remove(ini);

    FakeClock clock;
    RecordingSoundPlayer sound;
    FakeDialogs dialogs;
    const Services services { clock, sound, dialogs, bin + QStringLiteral("vemitrainer") };
    for (int start = 0; start < 2; ++start) {
        Settings settings;
        QStringList scores;
        TMainForm window(services, settings, scores);
        window.setDataLayout(layout);
        window.show();
        QCOMPARE(window.settingsFilePath(), ini);
        QCOMPARE(settings.AlarmSoundFile, sounds + QStringLiteral("Timeup.wav"));
        QCOMPARE(settings.PreAlarmSoundFile, sounds + QStringLiteral("Hurryup.wav"));
        QVERIFY(window.close());
        QVERIFY(QFileInfo(ini).isFile());
    }
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(QFileInfo::exists(bin + QStringLiteral("vemitrainer.ini")), !installed);
}

QTEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
