#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FullDisk.h"
#include "tests/support/OrdinaryUser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <optional>

#include <sys/stat.h>

namespace {

const QByteArray Head = QByteArrayLiteral("\xEF\xBB\xBF")
    + QStringLiteral("日時,練習文,級,入力文字数,誤字,脱字,余字,純得点,合格点,合否,記録\r\n")
          .toUtf8();

QDateTime at(const char *dateTime, int offsetSeconds)
{
    return QDateTime::fromString(QString::fromLatin1(dateTime), Qt::ISODate)
        .toTimeZone(QTimeZone(offsetSeconds));
}

ExamResult result(const QString &name, const QDateTime &when = at("2026-12-09T01:00:00Z", 32400))
{
    return { when, name, QStringLiteral("2級"), 520, 5, 4, 3, 484, 500, false, {} };
}

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

QStringList names(const QList<ExamResult> &results)
{
    QStringList list;
    for (const ExamResult &r : results)
        list << r.practiceName;
    return list;
}

// A well-formed row for a hand-made file.
QByteArray row(const char *name)
{
    return utf8("2026-12-09T10:00:00+09:00,") + name + utf8(",3級,350,1,0,2,347,300,合格\r\n");
}

} // namespace

class TestExamHistory final : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup() { QFile::remove(path()); }
    void pathBesideTheSettingsFile();
    void rowBytesAndReadingBack_data();
    void rowBytesAndReadingBack();
    void appendKeepsEarlierBytes_data();
    void appendKeepsEarlierBytes();
    void readsCompleteRowsOnly_data();
    void readsCompleteRowsOnly();
    void lineThatOpensAQuoteCostsOneLine();
    void refusesWhatItCannotWrite_data();
    void refusesWhatItCannotWrite();
    void removeKeepsEveryOtherByte_data();
    void removeKeepsEveryOtherByte();
    void removeOnAFullDiskChangesNothing();

private:
    QString path() const { return m_dir.filePath(QString::fromLatin1(ExamHistory::FileName)); }
    QTemporaryDir m_dir;
};

void TestExamHistory::pathBesideTheSettingsFile()
{
    QCOMPARE(ExamHistory::pathBeside(QStringLiteral("/opt/vemi/vemitrainer.ini")),
        QStringLiteral("/opt/vemi/vemitrainer-history.csv"));
    QCOMPARE(ExamHistory(path()).path(), path());
}

void TestExamHistory::rowBytesAndReadingBack_data()
{
    QTest::addColumn<ExamResult>("run");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name"); // as read back
    QTest::newRow("comma, quote and Japanese")
        << result(QStringLiteral("桃太郎, \"きびだんご\".txt"))
        << utf8("2026-12-09T10:00:00+09:00,\"桃太郎, \"\"きびだんご\"\".txt\",2級,520,5,4,3,484,"
                "500,不合格,\r\n")
        << QStringLiteral("桃太郎, \"きびだんご\".txt");
    QTest::newRow("plain name, passed, UTC") << ExamResult { at("2026-01-31T23:59:59Z", 0),
        QStringLiteral("a.txt"), QStringLiteral("自由設定"), 0, 0, 0, 0, 0, 0, true,
        {} } << utf8("2026-01-31T23:59:59+00:00,a.txt,自由設定,0,0,0,0,0,0,合格,\r\n")
                                             << QStringLiteral("a.txt");
    // A row never spans lines.
    QTest::newRow("line breaks in the name, offset west of UTC")
        << result(QStringLiteral("a\r\nb\nc\rd"), at("2026-07-01T12:00:00Z", -(3 * 3600 + 30 * 60)))
        << utf8("2026-07-01T08:30:00-03:30,a b c d,2級,520,5,4,3,484,500,不合格,\r\n")
        << QStringLiteral("a b c d");
    QTest::newRow("empty name") << result(
        QString()) << utf8("2026-12-09T10:00:00+09:00,,2級,520,5,4,3,484,500,不合格,\r\n")
                                << QString();
    ExamResult kept = result(QStringLiteral("b.txt"));
    kept.detailFile = QStringLiteral("20261209-100000.json");
    QTest::newRow("kept run named last") << kept
                                         << utf8("2026-12-09T10:00:00+09:00,b.txt,2級,520,5,4,3,"
                                                 "484,500,不合格,20261209-100000.json\r\n")
                                         << QStringLiteral("b.txt");
    QTest::newRow("U+FEFF alone as the name")
        << result(QStringLiteral("\uFEFF"))
        << utf8("2026-12-09T10:00:00+09:00,\xEF\xBB\xBF,2級,520,5,4,3,484,500,不合格,\r\n")
        << QStringLiteral("\uFEFF");
}

void TestExamHistory::rowBytesAndReadingBack()
{
    QFETCH(ExamResult, run);
    QFETCH(QByteArray, line);
    const ExamHistory history(path());
    history.append(run);
    QCOMPARE(readAll(path()), Head + line);

    const QList<ExamResult> back = history.read();
    QCOMPARE(back.size(), 1);
    const ExamResult &r = back.first();
    QCOMPARE(r.when, run.when);
    QCOMPARE(r.when.timeSpec(), Qt::LocalTime);
    QTEST(r.practiceName, "name");
    QCOMPARE(r.level, run.level);
    const QList<int> numbers { r.typedCount, r.substitutions, r.omissions, r.insertions, r.netScore,
        r.passMark };
    QCOMPARE(numbers,
        QList<int>({ run.typedCount, run.substitutions, run.omissions, run.insertions, run.netScore,
            run.passMark }));
    QCOMPARE(r.passed, run.passed);
    QCOMPARE(r.detailFile, run.detailFile);
}

void TestExamHistory::appendKeepsEarlierBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("lead"); // what goes between the old bytes and the new row
    QTest::addColumn<QStringList>("names"); // read after the append
    QTest::newRow("empty file gets the header") << QByteArray() << Head << QStringList { "新" };
    QTest::newRow("complete history")
        << Head + row("a") << QByteArray() << QStringList { "a", "新" };
    QTest::newRow("cut mid-line") << Head + row("a") + row("b").left(40) << utf8("\r\n")
                                  << QStringList { "a", "新" };
    QTest::newRow("cut between CR and LF")
        << Head + row("a").chopped(1) << utf8("\r\n") << QStringList { "新" };
    QTest::newRow("cut inside a quoted name")
        << Head + row("a") + utf8("2026-12-09T10:00:00+09:00,\"x,y") << utf8("\r\n")
        << QStringList { "a", "新" };
    QTest::newRow("LF line ends from an editor") << utf8("x\n") + row("a").replace("\r\n", "\n")
                                                 << QByteArray() << QStringList { "a", "新" };
}

void TestExamHistory::appendKeepsEarlierBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, lead);
    QFETCH(QStringList, names);
    QVERIFY(writeAll(path(), before));
    const ExamHistory history(path());
    history.append(result(QStringLiteral("新")));
    const QByteArray after = readAll(path());
    QVERIFY2(after.startsWith(before + lead), after.constData());
    QCOMPARE(after.mid(before.size() + lead.size()),
        utf8("2026-12-09T10:00:00+09:00,新,2級,520,5,4,3,484,500,不合格,\r\n"));
    QCOMPARE(::names(history.read()), names);
}

void TestExamHistory::readsCompleteRowsOnly_data()
{
    QTest::addColumn<std::optional<QByteArray>>("bytes"); // nothing: no file
    QTest::addColumn<QStringList>("names");
    QTest::newRow("no file") << std::optional<QByteArray>() << QStringList();
    QTest::newRow("header only") << std::optional(Head) << QStringList();
    QTest::newRow("without BOM") << std::optional(Head.mid(3) + row("a")) << QStringList { "a" };
    QTest::newRow("last row without its line end")
        << std::optional(Head + row("a") + row("b").chopped(2)) << QStringList { "a", "b" };
    QTest::newRow("last line cut short")
        << std::optional(Head + row("a") + row("b").chopped(5)) << QStringList { "a" };
    QTest::newRow("a row split by a line break: both halves skipped")
        << std::optional(Head + row("\"x\r\ny\"\"z\"\"\"") + row("b")) << QStringList { "b" };
    QTest::newRow("quotes within a line")
        << std::optional(Head + row("\"y\"\"z\"\"\"")) << QStringList { "y\"z\"" };
    QTest::newRow("a cut quote, then an appended row with quotes") << std::optional(
        Head + row("a") + utf8("2026-12-09T10:00:00+09:00,\"x\r\n") + row("\"\"\"hi\"\"\""))
                                                                   << QStringList { "a", "\"hi\"" };
    QTest::newRow("a fragment with an open quote does not swallow later rows")
        << std::optional(Head + utf8("2026-12-09T10:00:00+09:00,\"ab\r\n") + row("b") + row("c"))
        << QStringList { "b", "c" };
    QTest::newRow("rows that do not parse are skipped")
        << std::optional(Head + row("a").replace("350", "3x0") + row("b").replace("合格", "可")
               + row("c").replace("+09:00", "+9") + row("d") + utf8("1,2,3\r\n") + row("e"))
        << QStringList { "d", "e" };
    QTest::newRow("text after a closing quote")
        << std::optional(Head + row("\"a\"b") + row("c")) << QStringList { "c" };
    QTest::newRow("extra columns of a later version")
        << std::optional(Head + row("a").replace("合格\r\n", "合格,x.json,42\r\n"))
        << QStringList { "a" };
}

void TestExamHistory::readsCompleteRowsOnly()
{
    QFETCH(std::optional<QByteArray>, bytes);
    QFETCH(QStringList, names);
    if (bytes)
        QVERIFY(writeAll(path(), *bytes));
    QCOMPARE(::names(ExamHistory(path()).read()), names);
}

// Each line opening a quote once cost a scan to the end of the file.
void TestExamHistory::lineThatOpensAQuoteCostsOneLine()
{
    QVERIFY(writeAll(path(), Head + utf8("a\",\"\r\n").repeated(20000) + row("z")));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(::names(ExamHistory(path()).read()), QStringList { "z" });
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

void TestExamHistory::refusesWhatItCannotWrite_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder in its place") << "folder"
                                         << "通常のファイルでない";
    QTest::newRow("FIFO in its place") << "fifo"
                                       << "通常のファイルでない";
    QTest::newRow("read-only file") << "read-only"
                                    << "許可されていません";
    QTest::newRow("folder not writable") << "locked folder"
                                         << "許可されていません";
    QTest::newRow("folder missing") << "missing folder"
                                    << "フォルダーがありません";
}

void TestExamHistory::refusesWhatItCannotWrite()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString file
        = dir.filePath((kind == "missing folder" ? QStringLiteral("gone/") : QString())
            + QString::fromLatin1(ExamHistory::FileName));
    const QByteArray before = Head + row("a");
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir(ExamHistory::FileName));
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (kind == "read-only")
        QVERIFY(writeAll(file, before) && ::chmod(QFile::encodeName(file).constData(), 0444) == 0);

    std::optional<OrdinaryUser> user;
    if (kind == "read-only" || kind == "locked folder") {
        user.emplace(dir.path());
        if (!user->usable())
            QSKIP(qPrintable(user->reason()));
    }
    try {
        ExamHistory(file).append(result(QStringLiteral("新")));
        QFAIL("the append was reported as done");
    } catch (const VemiError &error) {
        QVERIFY2(error.message().contains(file) && error.message().contains(reason),
            qPrintable(error.message()));
    }
    if (kind == "read-only")
        QCOMPARE(readAll(file), before);
    if (kind == "folder" || kind == "fifo")
        QVERIFY_THROWS_EXCEPTION(VemiError, ExamHistory(file).read());
}

// Rows to remove are named by their practice text; each row `k` names the kept
// run "20261209-10000k.json" when it is one of the files made.
void TestExamHistory::removeKeepsEveryOtherByte_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("remove");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("files"); // kept runs before
    QTest::addColumn<QStringList>("left"); // after
    QTest::addColumn<bool>("notice");
    const QByteArray kept1 = row("a").replace("合格\r\n", "合格,20261209-100001.json\r\n");
    const QByteArray kept2 = row("b").replace("合格\r\n", "合格,20261209-100002.json\r\n");
    const QByteArray junk = utf8("手で書いた行\r\n\"open,quote\r\n");
    QTest::newRow("middle row; older rows, junk and LF ends stay")
        << Head + row("x") + junk + kept1 + row("y").replace("\r\n", "\n") + kept2 << "a"
        << Head + row("x") + junk + row("y").replace("\r\n", "\n") + kept2
        << QStringList { "20261209-100001.json", "20261209-100002.json" }
        << QStringList { "20261209-100002.json" } << false;
    QTest::newRow("last row without its line end")
        << Head + kept1 + kept2.chopped(2) << "b" << Head + kept1
        << QStringList { "20261209-100002.json" } << QStringList() << false;
    QTest::newRow("the first of two equal rows only")
        << Head + row("x") + row("x") << "x" << Head + row("x") << QStringList() << QStringList()
        << false;
    QTest::newRow("no such row: the file as it was, its kept run still removed")
        << Head + row("x") << "b" << Head + row("x") << QStringList { "20261209-100002.json" }
        << QStringList() << false;
    QTest::newRow("kept run that cannot be removed: told, the row gone all the same")
        << Head + kept1 + row("x") << "a" << Head + row("x") << QStringList { "folder" }
        << QStringList() << true;
}

void TestExamHistory::removeKeepsEveryOtherByte()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, remove);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, files);
    QFETCH(QStringList, left);
    QFETCH(bool, notice);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("history.csv"));
    const ExamRunStore store(file);
    QVERIFY(writeAll(file, before) && QDir().mkpath(store.folder()));
    for (const QString &name : files) {
        if (name == "folder") // a folder under the run's name cannot be unlinked
            QVERIFY(QDir(store.folder()).mkpath(QStringLiteral("20261209-100001.json/x")));
        else
            QVERIFY(writeAll(QDir(store.folder()).filePath(name), "{}"));
    }
    ExamResult run;
    for (const ExamResult &r : ExamHistory(file).read()) {
        if (r.practiceName == remove) {
            run = r;
            break;
        }
    }
    if (run.practiceName.isEmpty()) { // not in the file: as a window that read it earlier has it
        run = ExamHistory(dir.filePath("other.csv")).read().value(0, result(remove));
        run.detailFile = QStringLiteral("20261209-100002.json");
    }
    const QString told = ExamHistory(file).remove(run);
    QCOMPARE(readAll(file), after);
    QVERIFY2(told.isEmpty() != notice, qPrintable(told));
    QCOMPARE(QDir(store.folder()).entryList(QDir::Files), left);
}

void TestExamHistory::removeOnAFullDiskChangesNothing()
{
    const QByteArray before
        = Head + row("a").replace("合格\r\n", "合格,20261209-100001.json\r\n") + row("b");
    QVERIFY(writeAll(path(), before));
    const ExamRunStore store(path());
    const QString kept = QDir(store.folder()).filePath(QStringLiteral("20261209-100001.json"));
    QVERIFY(QDir().mkpath(store.folder()) && writeAll(kept, "{}"));
    const ExamResult run = ExamHistory(path()).read().first();
    const int outcome = onFullDisk(16, [&] {
        try {
            ExamHistory(path()).remove(run);
            return 0;
        } catch (const VemiError &e) {
            return e.message().contains(path()) ? 1 : 2;
        }
    });
    QCOMPARE(outcome, 1);
    QCOMPARE(readAll(path()), before);
    QVERIFY(QFile::exists(kept));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList { ExamHistory::FileName });
    QVERIFY(QDir(store.folder()).removeRecursively());
}

QTEST_APPLESS_MAIN(TestExamHistory)
#include "tst_examhistory.moc"
