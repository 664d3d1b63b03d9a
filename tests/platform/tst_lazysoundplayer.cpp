#include "platform/LazySoundPlayer.h"

#include "tests/support/RecordingSoundPlayer.h"

#include <QTest>

class TestLazySoundPlayer final : public QObject
{
    Q_OBJECT
private slots:
    void madeOnceOnFirstSound_data();
    void madeOnceOnFirstSound();
};

void TestLazySoundPlayer::madeOnceOnFirstSound_data()
{
    QTest::addColumn<QStringList>("sounds");
    QTest::newRow("none: nothing made") << QStringList();
    QTest::newRow("one") << QStringList { "/a/Hurryup.wav" };
    QTest::newRow("several, in order, to one player")
        << QStringList { "/a/Hurryup.wav", "/a/Timeup.wav", "" };
}

void TestLazySoundPlayer::madeOnceOnFirstSound()
{
    QFETCH(QStringList, sounds);
    int made = 0;
    RecordingSoundPlayer *player = nullptr;
    LazySoundPlayer lazy([&] {
        ++made;
        auto recording = std::make_unique<RecordingSoundPlayer>();
        player = recording.get();
        return std::unique_ptr<SoundPlayer>(std::move(recording));
    });
    QVERIFY(!lazy.isMade());
    for (const QString &sound : sounds)
        lazy.play(sound);
    QCOMPARE(made, sounds.isEmpty() ? 0 : 1);
    QCOMPARE(lazy.isMade(), !sounds.isEmpty());
    QCOMPARE(player ? player->played : QStringList(), sounds);
}

QTEST_APPLESS_MAIN(TestLazySoundPlayer)
#include "tst_lazysoundplayer.moc"
