#include "platform/AppendFile.h"
#include "platform/RegularFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/FullDisk.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

bool makeLink(const QString &target, const QString &link, uid_t owner)
{
    const QByteArray name = QFile::encodeName(link);
    return ::symlink(QFile::encodeName(target).constData(), name.constData()) == 0
        && (owner == ::geteuid() || ::lchown(name.constData(), owner, owner) == 0);
}

} // namespace

class TestRegularFile final : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void linksAreFollowedOnlyWhenTrusted_data();
    void linksAreFollowedOnlyWhenTrusted();
    void readOnlyMarkHoldsForAppends();
    void fullDiskAppendLeavesNoFragment();
};

void TestRegularFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QByteArray>("old"); // empty: no file yet
    QTest::addColumn<bool>("inPlace"); // a second hard link keeps it from being replaced
    QTest::addColumn<long>("room");
    QTest::addColumn<qsizetype>("newSize");

    const QByteArray old("[Score]\r\nScoreCount=1\r\nScore0=612\r\n");
    QTest::newRow("replaced, small") << old << false << 100L << qsizetype(4000);
    QTest::newRow("in place") << old << true << 100L << qsizetype(4000);
    QTest::newRow("new file") << QByteArray() << false << 100L << qsizetype(4000);
}

void TestRegularFile::fullDiskKeepsTheOldFile()
{
    QFETCH(QByteArray, old);
    QFETCH(bool, inPlace);
    QFETCH(long, room);
    QFETCH(qsizetype, newSize);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("file.ini"));
    if (!old.isEmpty())
        QVERIFY(writeAll(path, old));
    if (inPlace)
        QCOMPARE(::link(QFile::encodeName(path).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("link"))).constData()),
            0);

    const int written
        = onFullDisk(room, [&] { return RegularFile::write(path, QByteArray(newSize, 'x')); });

    QCOMPARE(written, 0);
    if (old.isEmpty())
        QVERIFY(!QFile::exists(path));
    else
        QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), inPlace ? 2 : old.isEmpty() ? 0 : 1);
    // With room enough the same write goes through.
    QCOMPARE(
        onFullDisk(newSize, [&] { return RegularFile::write(path, QByteArray(newSize, 'x')); }), 1);
    QCOMPARE(readAll(path), QByteArray(newSize, 'x'));
}

void TestRegularFile::linksAreFollowedOnlyWhenTrusted_data()
{
    QTest::addColumn<bool>("append"); // else written whole
    QTest::addColumn<bool>("planted"); // the link belongs to someone else
    QTest::addColumn<bool>("dangling");
    for (const bool append : { false, true }) {
        const char *how = append ? "append" : "write";
        QTest::addRow("%s, own link", how) << append << false << false;
        QTest::addRow("%s, own dangling link", how) << append << false << true;
        QTest::addRow("%s, planted link", how) << append << true << false;
        QTest::addRow("%s, planted dangling link", how) << append << true << true;
    }
}

void TestRegularFile::linksAreFollowedOnlyWhenTrusted()
{
    QFETCH(bool, append);
    QFETCH(bool, planted);
    QFETCH(bool, dangling);
    if (planted && ::geteuid() != 0)
        QSKIP("only root can plant a link owned by another user");
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target"));
    const QString link = dir.filePath(QStringLiteral("link"));
    const QByteArray old("old\r\n");
    if (!dangling)
        QVERIFY(writeAll(target, old));
    QVERIFY(makeLink(target, link, planted ? Nobody : ::geteuid()));

    const bool written = append
        ? AppendFile::append(link, {}, "new\r\n") == AppendFile::Outcome::Written
        : RegularFile::write(link, "new\r\n");

    QCOMPARE(written, !planted);
    if (planted)
        QCOMPARE(readAll(target), dangling ? QByteArray("<unreadable>") : old);
    else
        QCOMPARE(readAll(target), (append && !dangling ? old : QByteArray()) + "new\r\n");
    QVERIFY(QFileInfo(link).isSymLink());
    if (planted && append)
        QCOMPARE(AppendFile::append(link, {}, "x"), AppendFile::Outcome::Denied);
}

// Root may write anything; the file's read-only mark still keeps the history as it is.
void TestRegularFile::readOnlyMarkHoldsForAppends()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.csv"));
    QVERIFY(writeAll(path, "row\r\n"));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);

    QCOMPARE(AppendFile::append(path, {}, "new\r\n"), AppendFile::Outcome::Denied);
    QCOMPARE(readAll(path), QByteArray("row\r\n"));
}

QTEST_APPLESS_MAIN(TestRegularFile)
// The history's appends: a row that does not fit is reported and leaves the
// file as it was, not with half a row that the next append would have to step over.
void TestRegularFile::fullDiskAppendLeavesNoFragment()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.csv"));
    const QByteArray old("日時,得点\r\n2026-12-09,512\r\n");
    QVERIFY(writeAll(path, old));
    const QByteArray row("2026-12-10,578\r\n");
    const auto appendRow = [&] { return int(AppendFile::append(path, {}, row)); };

    QCOMPARE(onFullDisk(old.size() + 5, appendRow), int(AppendFile::Outcome::NoSpace));
    QCOMPARE(readAll(path), old);
    QCOMPARE(onFullDisk(old.size() + row.size(), appendRow), int(AppendFile::Outcome::Written));
    QCOMPARE(readAll(path), old + row);
}

#include "tst_regularfile.moc"
