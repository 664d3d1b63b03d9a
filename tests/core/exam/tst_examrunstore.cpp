#include "core/Errors.h"
#include "core/exam/ExamRunFile.h"
#include "core/exam/ExamRunStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FullDisk.h"
#include "tests/support/KeptRuns.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Kind = ExamAlignment::ErrorKind;

ExamRunDetail::Error error(Kind kind, const QString &expected, const QString &typed,
    const QStringList &context, qsizetype practicePos, qsizetype typedPos, int line, int column)
{
    return { kind, expected, typed, context[0], context[1], context[2], context[3], practicePos,
        typedPos, line, column };
}

ExamRunDetail madeOf(const QString &practice, const QString &typed)
{
    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    ExamResult result;
    result.when = QDateTime(QDate(2026, 12, 9), QTime(23, 15, 0, 480));
    const QList<ExamLevel> levels = ExamProfile::levels(1, 300);
    return ExamRunStore::make(
        result, levels[ExamProfile::DefaultIndex], alignment.align(typed), practice, typed);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestExamRunStore final : public QObject
{
    Q_OBJECT
private slots:
    void errorsWithTheirWords_data();
    void errorsWithTheirWords();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void refusesWhatIsNotARun_data();
    void refusesWhatIsNotARun();
    void fullDiskLeavesNoFile();
};

// Context stops at a line break and never splits a character; a skipped line is one block.
void TestExamRunStore::errorsWithTheirWords_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<ExamRunDetail::Error>>("errors");
    QTest::newRow("wrong conversion, eight characters of context")
        << "0123456789荷物を発送する。\n次"
        << "0123456789荷物を発想する。\n次"
        << QList { error(Kind::Substitution, "送", "想",
               { "6789荷物を発", "する。", "6789荷物を発", "する。" }, 14, 14, 1, 15) };
    QTest::newRow("skipped line: one block, context on its own lines")
        << "abc\nxyz\ndefghijklmnop"
        << "abc\ndefghijklmnop"
        << QList { error(
               Kind::Omission, "xyz\n", "", { "", "defghijk", "", "defghijk" }, 4, 4, 2, 1) };
    QTest::newRow("characters beyond UTF-16 count as one")
        << "𠮷野家𠮷野家𠮷野家𠮷野家で"
        << "𠮷野家𠮷野家𠮷野家𠮷野屋で"
        << QList { error(Kind::Substitution, "家", "屋",
               { "𠮷野家𠮷野家𠮷野", "で", "𠮷野家𠮷野家𠮷野", "で" }, 15, 15, 1, 12) };
    QTest::newRow("extra character at the start, nothing reached after")
        << "あい"
        << "xあい"
        << QList { error(Kind::Insertion, "", "x", { "", "あい", "", "あい" }, 0, 0, 1, 1) };
}

void TestExamRunStore::errorsWithTheirWords()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    const ExamRunDetail detail = madeOf(practice, typed);
    QTEST(detail.errors, "errors");
    QCOMPARE(detail.typed, typed);
    QVERIFY(practice.startsWith(detail.practiceReached));
    QCOMPARE(detail.practiceDigest.size(), 64);
    QCOMPARE(detail.result.when.time(), QTime(23, 15)); // to the second, as the history keeps it
    QCOMPARE(detail.levelKey, QStringLiteral("wp:3級"));
}

void TestExamRunStore::readsBackWhatItWrote_data()
{
    QTest::addColumn<QList<ExamRunDetail>>("runs");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("generated run")
        << QList { KeptRuns::detail(4) } << QStringList { "20260105-100000.json" };
    ExamRunDetail odd = madeOf(QStringLiteral("a\"b\\c\n\t\U0001F600,"), QStringLiteral("a\"c\n"));
    odd.result.practiceName = QStringLiteral("名前 \"引用\"\n.txt");
    QTest::newRow("quotes, controls, emoji")
        << QList { odd } << QStringList { "20261209-231500.json" };
    QTest::newRow("three in one second: none replaced") << QList {
        odd, madeOf("x", "y"), madeOf("x", "")
    } << QStringList { "20261209-231500.json", "20261209-231500-2.json", "20261209-231500-3.json" };
}

void TestExamRunStore::readsBackWhatItWrote()
{
    QFETCH(QList<ExamRunDetail>, runs);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const ExamRunStore store(dir.filePath(QStringLiteral("history.csv")));
    QCOMPARE(store.folder(), dir.filePath(QStringLiteral("vemitrainer-runs")));
    QStringList written;
    for (const ExamRunDetail &run : runs)
        written << store.write(run);
    QCOMPARE(written, names);
    QStringList sorted = names;
    sorted.sort();
    QCOMPARE(entries(store.folder()), sorted);
    for (qsizetype i = 0; i < runs.size(); ++i) {
        ExamRunDetail expected = runs[i];
        expected.result.detailFile = names[i];
        QCOMPARE(store.read(names[i]), expected);
    }
    store.remove(names.first());
    store.remove(names.first()); // gone already: no error
    QCOMPARE(entries(store.folder()), names.mid(1));
}

void TestExamRunStore::refusesWhatIsNotARun_data()
{
    const QByteArray good = ExamRunFile::encode(madeOf("abc", "axc"));
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<QByteArray>>("bytes"); // nothing: no file
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "20261209-231500.json" << std::optional<QByteArray>()
                             << "ありません";
    QTest::newRow("not JSON") << "20261209-231500.json" << std::optional(good.left(40)) << "壊れて";
    QTest::newRow("later format") << "20261209-231500.json"
                                  << std::optional(
                                         QByteArray(good).replace("\"format\":1", "\"format\":2"))
                                  << "壊れて";
    QTest::newRow("position past the text")
        << "20261209-231500.json"
        << std::optional(QByteArray(good).replace("\"typedPos\":1", "\"typedPos\":3")) << "壊れて";
    QTest::newRow("count of the wrong type")
        << "20261209-231500.json"
        << std::optional(QByteArray(good).replace("\"typedCount\":0", "\"typedCount\":\"0\""))
        << "壊れて";
    QTest::newRow("oversized") << "20261209-231500.json"
                               << std::optional(good + QByteArray(ExamRunFile::LargestSize, ' '))
                               << "大きすぎ";
    QTest::newRow("a name outside the folder")
        << "../history.json" << std::optional(good) << "ものではありません";
}

void TestExamRunStore::refusesWhatIsNotARun()
{
    QFETCH(QString, name);
    QFETCH(std::optional<QByteArray>, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const ExamRunStore store(dir.filePath(QStringLiteral("history.csv")));
    QVERIFY(QDir().mkpath(store.folder()));
    const QString path = QDir(store.folder()).filePath(name);
    if (bytes)
        QVERIFY(writeAll(path, *bytes));
    try {
        store.read(name);
        QFAIL("read as a run");
    } catch (const VemiError &e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        QVERIFY2(e.message().contains(name), qPrintable(e.message()));
    }
    QVERIFY_THROWS_EXCEPTION(VemiError, store.remove(name.startsWith(u'.') ? name : "x.json"));
    QCOMPARE(QFile::exists(path), bytes.has_value());
}

void TestExamRunStore::fullDiskLeavesNoFile()
{
    QTemporaryDir dir;
    const ExamRunStore store(dir.filePath(QStringLiteral("history.csv")));
    const ExamRunDetail run = KeptRuns::detail(0);
    const int outcome = onFullDisk(1024, [&] {
        try {
            store.write(run);
            return 0;
        } catch (const VemiError &e) {
            return e.message().contains(QStringLiteral("空きがありません")) ? 1 : 2;
        }
    });
    QCOMPARE(outcome, 1);
    QCOMPARE(entries(store.folder()), QStringList());
}

QTEST_APPLESS_MAIN(TestExamRunStore)
#include "tst_examrunstore.moc"
