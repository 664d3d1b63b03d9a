#include "platform/IniProfile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes are given as flat (section, key, value) triples so they fit in a data table.
void applyWrites(IniProfile &profile, const QByteArrayList &writes)
{
    for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
        profile.writeString(writes.at(i), writes.at(i + 1), writes.at(i + 2));
}

} // namespace

class TestIniProfile final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(filePath());
    }

    void writesProduceFileLayout_data();
    void writesProduceFileLayout();
    void readString_data();
    void readString();
    void longValueIsCut_data();
    void longValueIsCut();
    void keysInFileOrder();
    void readOnlyFileIsRefused();
    void unwritableFolderIsRefused_data();
    void unwritableFolderIsRefused();
    void manyKeysInOneSection();

private:
    QString filePath(const QString &name = QStringLiteral("test.ini")) const
    {
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
};

void TestIniProfile::writesProduceFileLayout_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray()
                              << QByteArrayList { "General", "A", "1", "Font", "B", "2", "General",
                                     "C", "3" }
                              << QByteArray("[General]\r\nA=1\r\nC=3\r\n\r\n[Font]\r\nB=2\r\n");
    QTest::newRow("overwrite ignores case")
        << QByteArray() << QByteArrayList { "General", "Key", "1", "GENERAL", "kEY", "2" }
        << QByteArray("[General]\r\nkEY=2\r\n");
    QTest::newRow("line breaks in value")
        << QByteArray() << QByteArrayList { "S", "A", "x\r\ny\rz\n" }
        << QByteArray("[S]\r\nA=\"x  y z \"\r\n");
    QTest::newRow("insert keeps blank lines before next section")
        << QByteArray("[S]\r\nA=1\r\n\r\n\r\n[T]\r\nB=2\r\n") << QByteArrayList { "S", "C", "3" }
        << QByteArray("[S]\r\nA=1\r\nC=3\r\n\r\n\r\n[T]\r\nB=2\r\n");
    QTest::newRow("section without keys")
        << QByteArray("[S]\r\n; note\r\n[T]\r\n") << QByteArrayList { "S", "A", "1" }
        << QByteArray("[S]\r\nA=1\r\n; note\r\n[T]\r\n");
    QTest::newRow("lone CR, lone LF, no final break")
        << QByteArray("[S]\rA=1\n\n\r\rB=2") << QByteArrayList { "S", "A", "9" }
        << QByteArray("[S]\r\nA=9\r\n\r\n\r\n\r\nB=2\r\n");
    QTest::newRow("value in single quotes of its own")
        << QByteArray() << QByteArrayList { "Font", "FontName", "'x'" }
        << QByteArray("[Font]\r\nFontName=\"'x'\"\r\n");
    QTest::newRow("value in double quotes of its own, blanks around")
        << QByteArray() << QByteArrayList { "S", "A", " \"x\" " }
        << QByteArray("[S]\r\nA=\" \"x\" \"\r\n");
    QTest::newRow("blanks around a value")
        << QByteArray() << QByteArrayList { "S", "A", "\tx ", "S", "B", " " }
        << QByteArray("[S]\r\nA=\"\tx \"\r\nB=\" \"\r\n");
    QTest::newRow("unmatched quotes written as they are")
        << QByteArray() << QByteArrayList { "S", "A", "'x\"", "S", "B", "\"" }
        << QByteArray("[S]\r\nA='x\"\r\nB=\"\r\n");
    QTest::newRow("no final break before new section")
        << QByteArray("[S]\r\nA=1") << QByteArrayList { "T", "B", "2" }
        << QByteArray("[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n");
    QTest::newRow("no second blank line")
        << QByteArray("[S]\r\nA=1\r\n \t\r\n") << QByteArrayList { "T", "B", "2" }
        << QByteArray("[S]\r\nA=1\r\n \t\r\n[T]\r\nB=2\r\n");
    QTest::newRow("garbage, duplicates and stale keys kept")
        << bytes("\0\xff\x80junk\r\n[S]\r\n\x81\r\nA=1\r\nOld=\x82\r\nA=dup\r\n")
        << QByteArrayList { "S", "A", "2", "S", "New", "3" }
        << bytes("\0\xff\x80junk\r\n[S]\r\n\x81\r\nA=2\r\nOld=\x82\r\nA=dup\r\nNew=3\r\n");
    QTest::newRow("keys before any section are not matched")
        << QByteArray("A=0\r\n[S]\r\n") << QByteArrayList { "S", "A", "1" }
        << QByteArray("A=0\r\n[S]\r\nA=1\r\n");
    QTest::newRow("comment is not a key")
        << QByteArray("[S]\r\n;A=0\r\n") << QByteArrayList { "S", "A", "1" }
        << QByteArray("[S]\r\nA=1\r\n;A=0\r\n");
    QTest::newRow("first of duplicate sections")
        << QByteArray("[S]\r\nA=1\r\n[T]\r\n[s]\r\nB=2\r\n") << QByteArrayList { "s", "B", "3" }
        << QByteArray("[S]\r\nA=1\r\nB=3\r\n[T]\r\n[s]\r\nB=2\r\n");
}

void TestIniProfile::writesProduceFileLayout()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArrayList, writes);
    QFETCH(QByteArray, after);

    if (!before.isNull())
        QVERIFY(writeAll(filePath(), before));
    IniProfile profile(filePath());
    applyWrites(profile, writes);
    QVERIFY(profile.save());
    QCOMPARE(readAll(filePath()), after);

    // Every written key reads the same from memory and from disk, and the last write wins.
    const IniProfile reloaded(filePath());
    for (qsizetype i = 0; i + 2 < writes.size(); i += 3) {
        QCOMPARE(reloaded.readString(writes.at(i), writes.at(i + 1), "?"),
            profile.readString(writes.at(i), writes.at(i + 1), "?"));
    }
    const qsizetype last = writes.size() - 3;
    const QByteArray lastValue
        = QByteArray(writes.at(last + 2)).replace('\r', ' ').replace('\n', ' ');
    QCOMPARE(reloaded.readString(writes.at(last), writes.at(last + 1), "?"), lastValue);
}

void TestIniProfile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray basic("[General]\r\nName=Value\r\nname=second\r\n");
    QTest::newRow("exact") << basic << QByteArray("General") << QByteArray("Name")
                           << QByteArray("Value");
    QTest::newRow("ASCII case ignored")
        << basic << QByteArray("gENERAL") << QByteArray("NAME") << QByteArray("Value");
    QTest::newRow("missing key") << basic << QByteArray("General") << QByteArray("Other")
                                 << QByteArray("default");
    QTest::newRow("missing section")
        << basic << QByteArray("Font") << QByteArray("Name") << QByteArray("default");
    QTest::newRow("trimmed") << QByteArray(" \t[ S \t] tail\r\n \tK \t= \t v w \t\r\n")
                             << QByteArray("S") << QByteArray("K") << QByteArray("v w");
    QTest::newRow("double quotes") << QByteArray("[S]\r\nK= \" v \" \r\n") << QByteArray("S")
                                   << QByteArray("K") << QByteArray(" v ");
    QTest::newRow("single quotes")
        << QByteArray("[S]\r\nK='v'\r\n") << QByteArray("S") << QByteArray("K") << QByteArray("v");
    QTest::newRow("mixed quotes kept") << QByteArray("[S]\r\nK='v\"\r\n") << QByteArray("S")
                                       << QByteArray("K") << QByteArray("'v\"");
    QTest::newRow("lone quote kept")
        << QByteArray("[S]\r\nK=\"\r\n") << QByteArray("S") << QByteArray("K") << QByteArray("\"");
    QTest::newRow("equals in value") << QByteArray("[S]\r\nK=a=b\r\n") << QByteArray("S")
                                     << QByteArray("K") << QByteArray("a=b");
    QTest::newRow("empty value") << QByteArray("[S]\r\nK=\r\n") << QByteArray("S")
                                 << QByteArray("K") << QByteArray("");
    QTest::newRow("lone CR") << QByteArray("[A]\rK=1\r[B]\rK=2") << QByteArray("B")
                             << QByteArray("K") << QByteArray("2");
    QTest::newRow("lone LF") << QByteArray("[A]\nK=1\n[B]\nK=2\n") << QByteArray("A")
                             << QByteArray("K") << QByteArray("1");
    QTest::newRow("NUL and invalid CP932") << bytes("[S]\r\nK=a\0\xfd\x81\r\n") << QByteArray("S")
                                           << QByteArray("K") << bytes("a\0\xfd\x81");
    QTest::newRow("later duplicate section ignored")
        << QByteArray("[S]\r\n[T]\r\n[S]\r\nK=1\r\n") << QByteArray("S") << QByteArray("K")
        << QByteArray("default");
    // 0x83 0x41 and 0x83 0x61 are two katakana whose trail bytes are 'A' and 'a'.
    const QByteArray katakana("[\x83\x41]\r\n\x83\x61=lower\r\n\x83\x41=upper\r\n\x83\x83Z=x\r\n");
    QTest::newRow("trail byte not folded")
        << katakana << QByteArray("\x83\x41") << QByteArray("\x83\x41") << QByteArray("upper");
    QTest::newRow("section trail byte not folded")
        << katakana << QByteArray("\x83\x61") << QByteArray("\x83\x41") << QByteArray("default");
    QTest::newRow("letter after double-byte folded")
        << katakana << QByteArray("\x83\x41") << QByteArray("\x83\x83z") << QByteArray("x");
}

void TestIniProfile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);

    QVERIFY(writeAll(filePath(), content));
    QCOMPARE(IniProfile(filePath()).readString(section, key, "default"), expected);
}

void TestIniProfile::longValueIsCut_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("head"); // what the file starts with

    const QByteArray x2045(2045, 'x');
    // In a UTF-8 file あ (E3 81 82) would pass for a CP932 pair and its third byte.
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("UTF-8: character across the limit") << x2045 + "\xE3\x81\x82" << x2045 << bom;
    QTest::newRow("UTF-8: character ends at the limit")
        << x2045.chopped(1) + "\xE3\x81\x82y" << x2045.chopped(1) + "\xE3\x81\x82" << bom;
    QTest::newRow("UTF-8: four-byte character") << x2045 + "\xF0\x9F\x98\x80" << x2045 << bom;

    QTest::newRow("fits") << x2045 + "yy" << x2045 + "yy" << QByteArray();
    QTest::newRow("single bytes") << QByteArray(3000, 'x') << QByteArray(2047, 'x') << QByteArray();
    QTest::newRow("whole character fits")
        << x2045 + "\x82\xa0y" << x2045 + "\x82\xa0" << QByteArray();
    QTest::newRow("lead byte dropped") << x2045 + "x\x82\xa0" << x2045 + "x" << QByteArray();
    QTest::newRow("double-byte only") << QByteArray("\x82\xa0").repeated(1500)
                                      << QByteArray("\x82\xa0").repeated(1023) << QByteArray();
    // The last kept byte has a lead-byte value but is the trail of the character before it.
    QTest::newRow("trail byte that looks like a lead")
        << x2045 + "\x81\x81zz" << x2045 + "\x81\x81" << QByteArray();
}

void TestIniProfile::longValueIsCut()
{
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, head);

    QVERIFY(writeAll(filePath(), head + "[S]\r\nK=" + value + "\r\n"));
    QCOMPARE(IniProfile(filePath()).readString("S", "K", {}), expected);
}

void TestIniProfile::keysInFileOrder()
{
    QVERIFY(writeAll(
        filePath(), "[S]\r\nZeta=1\r\n; c=1\r\n alpha =2\r\nZETA=3\r\nplain\r\n[T]\r\nX=1\r\n"));
    IniProfile profile(filePath());
    profile.writeString("s", "Mid", "4");
    QCOMPARE(profile.keys("S"), (QByteArrayList { "Zeta", "alpha", "Mid" }));
    QCOMPARE(profile.keys("Missing"), QByteArrayList());
}

void TestIniProfile::readOnlyFileIsRefused()
{
    const QByteArray original("[S]\r\nA=1\r\n");
    QVERIFY(writeAll(filePath(), original));
    QVERIFY(QFile::setPermissions(filePath(), QFile::ReadOwner | QFile::ReadGroup));
    IniProfile profile(filePath());
    profile.writeString("S", "A", "2");
    const bool saved = profile.save();
    QFile::setPermissions(filePath(), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(!saved);
    QCOMPARE(readAll(filePath()), original);
}

void TestIniProfile::unwritableFolderIsRefused_data()
{
    QTest::addColumn<bool>("parentIsFile");
    QTest::newRow("parent is a file") << true;
    QTest::newRow("folder without write permission") << false;
}

void TestIniProfile::unwritableFolderIsRefused()
{
    QFETCH(bool, parentIsFile);

    const QString folder = filePath(QString::fromLatin1(QTest::currentDataTag()));
    const QString target = folder + QStringLiteral("/test.ini");
    const QByteArray original("[S]\r\nA=1\r\n");
    if (parentIsFile) {
        QVERIFY(writeAll(folder, original));
    } else {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeAll(target, original));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (!parentIsFile && writeAll(folder + QStringLiteral("/probe"), {}))
        QSKIP("This user can write into read-only folders");

    IniProfile profile(target);
    profile.writeString("S", "A", "2");
    QVERIFY(!profile.save());
    QCOMPARE(readAll(parentIsFile ? folder : target), original);
}

void TestIniProfile::manyKeysInOneSection()
{
    constexpr int count = 100000;
    QVERIFY(writeAll(filePath(), "[Big]\r\n\r\n[After]\r\nX=1\r\n"));
    IniProfile profile(filePath());
    for (int i = 0; i < count; ++i)
        profile.writeString("Big", "Key" + QByteArray::number(i), QByteArray::number(i * 7));
    QVERIFY(profile.save());

    const IniProfile reloaded(filePath());
    const QByteArrayList keys = reloaded.keys("Big");
    QCOMPARE(keys.size(), count);
    for (int i : { 0, 1, 4567, count - 1 }) {
        QCOMPARE(keys.at(i), "Key" + QByteArray::number(i));
        QCOMPARE(reloaded.readString("Big", keys.at(i), {}), QByteArray::number(i * 7));
    }
    QCOMPARE(reloaded.readString("After", "X", {}), QByteArray("1"));
    QVERIFY(readAll(filePath()).endsWith("Key99999=699993\r\n\r\n[After]\r\nX=1\r\n"));
}

QTEST_APPLESS_MAIN(TestIniProfile)
#include "tst_iniprofile.moc"
