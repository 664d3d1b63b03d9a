#include "platform/SoundModule.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool soundSystemLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libpulse-simple");
}
} // namespace

class TestSoundModule final : public QObject
{
    Q_OBJECT
private slots:
    void moduleComesFromTheProgramsOwnFolders_data();
    void moduleComesFromTheProgramsOwnFolders();
    void soundSystemComesWithTheModuleOnly();
};

void TestSoundModule::moduleComesFromTheProgramsOwnFolders_data()
{
    QTest::addColumn<bool>("portable");
    QTest::addColumn<QString>("folder");
    QTest::newRow("portable: beside the program, never above") << true << "/tmp/vemi";
    QTest::newRow("installed: under the prefix") << false << "/tmp/lib/vemitrainer";
}

void TestSoundModule::moduleComesFromTheProgramsOwnFolders()
{
    QFETCH(bool, portable);
    QFETCH(QString, folder);
    QCOMPARE(SoundModule::folder(QStringLiteral("/tmp/vemi/"), portable), folder);
}

// Without a module, or with one that cannot be loaded, the program still
// sounds: it beeps, and says why.
void TestSoundModule::soundSystemComesWithTheModuleOnly()
{
    QVERIFY(!soundSystemLoaded()); // the program itself does not bring it
    QTemporaryDir folder;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^No sound module .*vemisound.so"));
    const auto beeper = SoundModule::load(folder.path());
    QVERIFY(beeper);
    QStringList told;
    beeper->setFailureHandler([&](const QString &reason) { told << reason; });
    beeper->play(QStringLiteral("/no/such/sound.wav"));
    // The learner is told why every sound is a beep, naming the module.
    QCOMPARE(told.size(), 1);
    QVERIFY2(
        told[0].startsWith(QStringLiteral("音声モジュール")) && told[0].contains(folder.path()),
        qPrintable(told[0]));

    QFile broken(folder.filePath(QStringLiteral("vemisound.so")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a module") > 0);
    broken.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^The sound module cannot be loaded"));
    QVERIFY(SoundModule::load(folder.path()));
    QVERIFY(!soundSystemLoaded());

    const auto player = SoundModule::load(QStringLiteral(VEMI_RUNTIME_DIR));
    QVERIFY(player);
    QVERIFY(soundSystemLoaded());
}

QTEST_MAIN(TestSoundModule)
#include "tst_soundmodule.moc"
