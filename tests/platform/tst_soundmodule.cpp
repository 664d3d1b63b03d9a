#include "SoundModule.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool soundSystemLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}
} // namespace

class TestSoundModule final : public QObject
{
    Q_OBJECT
private slots:
    void soundSystemComesWithTheModuleOnly();
};

void TestSoundModule::soundSystemComesWithTheModuleOnly()
{
    QVERIFY(!soundSystemLoaded()); // the program itself does not bring it
    QCOMPARE(SoundModule::folders(QStringLiteral("/opt/vemi/bin")),
        QStringList({ "/opt/vemi/bin", "/opt/vemi/lib/vemitrainer" }));

    QTemporaryDir noModule;
    const auto beeper = SoundModule::load(noModule.path());
    QVERIFY(beeper);
    beeper->play(QStringLiteral("/no/such/sound.wav"));
    QVERIFY(!soundSystemLoaded());

    const auto player = SoundModule::load(QStringLiteral(VEMI_RUNTIME_DIR));
    QVERIFY(player);
    QVERIFY(soundSystemLoaded());
}

QTEST_MAIN(TestSoundModule)
#include "tst_soundmodule.moc"
