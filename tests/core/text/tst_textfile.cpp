#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "core/text/TextFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestTextFile final : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void read_data();
    void read();
    void unreadableFiles_data();
    void unreadableFiles();
    void writeThenReadIsByteIdentical_data();
    void writeThenReadIsByteIdentical();
    void refusedTargetsKeepTheirContent();
    void charactersCp932CannotHold();

private:
    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

void TestTextFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("CR LF") << QByteArray("ab\r\ncd\r\n") << "ab\ncd\n";
    QTest::newRow("lone LF") << QByteArray("ab\ncd") << "ab\ncd";
    QTest::newRow("lone CR") << QByteArray("ab\rcd\r") << "ab\ncd\n";
    QTest::newRow("mixed, LF CR is two breaks") << QByteArray("a\n\rb\r\n\nc") << "a\n\nb\n\nc";
    QTest::newRow("Shift-JIS") << Cp932::encode(QStringLiteral("文字①～\r\nｱ")) << "文字①～\nｱ";
    QTest::newRow("text ends at a zero byte") << bytes("abc\0def") << "abc";
    // A stray lead byte does not swallow the line break after it.
    QTest::newRow("lead byte before LF") << QByteArray("a\x82\nb") << Cp932::decode("a\x82\nb");
    QTest::newRow("lead byte before CR") << QByteArray("a\x82\rb") << Cp932::decode("a\x82\nb");
    QTest::newRow("UTF-8") << QByteArray("\xe6\x96\x87\xe5\xad\x97\r\n") << "文字\n";
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbf\xe6\x96\x87"
                                                  "a")
                                    << "文a";
    // Half-width kana pairs are valid two-byte UTF-8 too (CA B2 would be U+02B2).
    QTest::newRow("Shift-JIS half-width kana")
        << Cp932::encode(QStringLiteral("ﾊｲ ﾈｺ ﾎｼ\r\nｶﾞｯｺｳﾆ ｲｸ")) << "ﾊｲ ﾈｺ ﾎｼ\nｶﾞｯｺｳﾆ ｲｸ";
    QTest::newRow("UTF-8 with two-byte characters only reads as Shift-JIS")
        << QByteArray("caf\xc3\xa9") << Cp932::decode("caf\xc3\xa9");
    QTest::newRow("UTF-8 with one three-byte character")
        << QByteArray("caf\xc3\xa9 \xe2\x80\x94") << "café —";
    QTest::newRow("binary") << bytes("\x89PNG\r\n\x1a\n\0\0\0") << Cp932::decode("\x89PNG\n\x1a\n");
    QTest::newRow("broken pair at the end") << QByteArray("ab\x82") << Cp932::decode("ab\x82");
}

void TestTextFile::read()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeAll(path("t.txt"), bytes));
    QTEST(TextFile::read(path("t.txt")), "text");
}

void TestTextFile::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing.txt"
                             << "ファイル %1 は開けません";
    QTest::newRow("folder") << "folder.txt"
                            << "ファイル %1 は開けません";
    QTest::newRow("too large") << "huge.txt"
                               << "文字列の大きさが メモ の制限を越えました";
}

void TestTextFile::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.txt")));
    QVERIFY(writeAll(path("huge.txt"), QByteArray(TextFile::MaxFileBytes + 1, 'a')));
    const QString file = m_dir.filePath(name);
    try {
        TextFile::read(file);
        QFAIL("no error");
    } catch (const VemiError &error) {
        QCOMPARE(error.message(), message.contains(u'%') ? message.arg(file) : message);
    }
}

void TestTextFile::writeThenReadIsByteIdentical_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no final break") << Cp932::encode(QStringLiteral("一行目\r\n二行目"));
    QTest::newRow("final break") << Cp932::encode(QStringLiteral("①②\r\n～\r\n\r\n"));
    QTest::newRow("empty") << QByteArray();
}

void TestTextFile::writeThenReadIsByteIdentical()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(writeAll(path("in.txt"), bytes));
    TextFile::write(path("out.txt"), TextFile::read(path("in.txt")));
    QCOMPARE(readAll(path("out.txt")), bytes);
}

void TestTextFile::refusedTargetsKeepTheirContent()
{
    QVERIFY(writeAll(path("locked.txt"), "old"));
    QFile::setPermissions(path("locked.txt"), QFileDevice::ReadOwner);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.txt")));
    for (const QString &target :
        { path("locked.txt"), path("folder.txt"), path("no/such/dir.txt"), QString() }) {
        try {
            TextFile::write(target, QStringLiteral("new"));
            QFAIL(qPrintable(QStringLiteral("wrote ") + target));
        } catch (const VemiError &error) {
            QCOMPARE(error.message(), QStringLiteral("ファイル %1 を作成できません").arg(target));
        }
    }
    QCOMPARE(readAll(path("locked.txt")), QByteArray("old"));
}

void TestTextFile::charactersCp932CannotHold()
{
    QVERIFY(!TextFile::firstUnmappable(QStringLiteral("①～髙\n漢字")));
    const QString text = QStringLiteral("abc\nde😀f€\n");
    const auto unmappable = TextFile::firstUnmappable(text);
    QVERIFY(unmappable);
    QCOMPARE(unmappable->character, QStringLiteral("😀"));
    QCOMPARE(unmappable->line, 2);
    QCOMPARE(TextFile::encode(text), QByteArray("abc\r\nde?f?\r\n"));
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
