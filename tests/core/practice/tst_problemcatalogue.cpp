#include "core/practice/ProblemCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProblemCatalogue final : public QObject
{
    Q_OBJECT

private slots:
    void problemPathKeepsDoubledSeparator();
    void catalogueCount_data();
    void catalogueCount();
    void gradeFor_data();
    void gradeFor();
    void entryOfWorkedExample();
    void listsTextFilesOfProblemFolder();
    void missingFolderListsNothing();
};

namespace {
// ab, cd and あい on three lines.
const QByteArray WorkedExample("ab\r\ncd\r\n\x82\xa0\x82\xa2");
} // namespace

void TestProblemCatalogue::problemPathKeepsDoubledSeparator()
{
    QCOMPARE(problemPath(QStringLiteral("/opt/vemi/")), QStringLiteral("/opt/vemi//問題/"));
}

void TestProblemCatalogue::catalogueCount_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("displayLines");
    QTest::addColumn<int>("expected");

    QTest::newRow("worked example") << WorkedExample << 3 << 9;
    // M = 11 falls on the lead byte of い, which counts whole.
    QTest::newRow("worked example, break at end") << WorkedExample + "\r\n" << 4 << 10;
    QTest::newRow("empty") << QByteArray() << 1 << 0;
    QTest::newRow("abc") << QByteArray("abc") << 1 << 3;
    QTest::newRow("abc CR LF: CR counted, LF cut off") << QByteArray("abc\r\n") << 2 << 4;
    QTest::newRow("no lines leaves M at B") << QByteArray("abc") << 0 << 3;
    QTest::newRow("more lines than bytes") << QByteArray("ab") << 5 << 0;
    QTest::newRow("M exactly zero") << QByteArray("ab") << 3 << 0;
    QTest::newRow("lead byte at M") << QByteArray("a\x82\xa0") << 2 << 2;
    QTest::newRow("half-width katakana are single bytes") << QByteArray("\xb1\xb2\xb3") << 2 << 2;
    // A soft wrap takes a byte off the end like a line break: 200 bytes, 3 lines.
    QTest::newRow("100 full-width, wrapped twice")
        << QByteArray("\x82\xa0").repeated(100) << 3 << 99;
}

void TestProblemCatalogue::catalogueCount()
{
    QFETCH(QByteArray, text);
    QFETCH(int, displayLines);
    QFETCH(int, expected);

    QCOMPARE(::catalogueCount(text, displayLines), expected);
}

void TestProblemCatalogue::gradeFor_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("grade");

    const QList<std::pair<int, const char *>> borders
        = { { 0, "5" }, { 279, "5" }, { 280, "4" }, { 349, "4" }, { 350, "3" }, { 499, "3" },
              { 500, "2" }, { 799, "2" }, { 800, "1" }, { 65536, "1" } };
    for (const auto &[count, grade] : borders)
        QTest::addRow("%d", count) << count << QString::fromLatin1(grade);
}

void TestProblemCatalogue::gradeFor()
{
    QFETCH(int, count);
    QFETCH(QString, grade);

    QCOMPARE(::gradeFor(count), grade);
}

void TestProblemCatalogue::entryOfWorkedExample()
{
    const CatalogueEntry entry = catalogueEntry(
        QStringLiteral("Rei.TXT"), WorkedExample, 3, QByteArray("\x82\xa0\x82\xa2"));
    QCOMPARE(entry.grade, QStringLiteral("5"));
    QCOMPARE(entry.fileName, QStringLiteral("Rei.TXT"));
    QCOMPARE(entry.countText, QStringLiteral("9"));
    QCOMPARE(entry.firstPart, QStringLiteral("あい"));
}

void TestProblemCatalogue::listsTextFilesOfProblemFolder()
{
    QTemporaryDir program;
    QVERIFY(program.isValid());
    QVERIFY(QDir(program.path()).mkdir(QStringLiteral("問題")));
    const QString folder = problemPath(program.path() + u'/');
    for (const char *name : { "a.txt", "B.TXT", ".hidden.txt", "c.Txt", "notes.md", "d.txt.bak" }) {
        QFile file(folder + QString::fromUtf8(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(folder).mkdir(QStringLiteral("x.txt")));

    QStringList names = problemFileNames(folder);
    names.sort();
    QCOMPARE(names,
        QStringList({ QStringLiteral(".hidden.txt"), QStringLiteral("B.TXT"),
            QStringLiteral("a.txt"), QStringLiteral("c.Txt"), QStringLiteral("x.txt") }));
}

void TestProblemCatalogue::missingFolderListsNothing()
{
    QTemporaryDir program;
    QVERIFY(problemFileNames(problemPath(program.path() + u'/')).isEmpty());
}

QTEST_APPLESS_MAIN(TestProblemCatalogue)

#include "tst_problemcatalogue.moc"
