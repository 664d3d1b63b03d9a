#include "platform/FileSearch.h"
#include "platform/RegularFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestFileSearch final : public QObject
{
    Q_OBJECT
private slots:
    void listsEveryEntryEndingInTxt();
    void missingFolderListsNothing();
    void fileExistsOnlyForFiles();
    void namesTheFileSystemCannotSpellAreListed_data();
    void namesTheFileSystemCannotSpellAreListed();
    void opensOnlyRegularFiles();
};

namespace {
void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList namesEndingWith(const QString &folder, const QString &suffix)
{
    QStringList names;
    for (const FileSearch::Entry &entry : FileSearch::entriesEndingWith(folder, suffix))
        names << entry.name;
    return names;
}
} // namespace

void TestFileSearch::listsEveryEntryEndingInTxt()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    for (const char *name :
        { "a.txt", "B.TXT", ".hidden.txt", "問題1.Txt", "notes.md", "txt", "a.txt.bak" })
        touch(dir.filePath(QString::fromUtf8(name)));
    QVERIFY(dir.mkdir(QStringLiteral("folder.txt")));
    touch(dir.filePath(QStringLiteral("readonly.txt")));
    QFile::setPermissions(dir.filePath(QStringLiteral("readonly.txt")), QFileDevice::ReadOwner);

    QStringList names = namesEndingWith(folder.path(), QStringLiteral(".txt"));
    names.sort();
    QStringList expected = { QStringLiteral(".hidden.txt"), QStringLiteral("B.TXT"),
        QStringLiteral("a.txt"), QStringLiteral("folder.txt"), QStringLiteral("readonly.txt"),
        QStringLiteral("問題1.Txt") };
    expected.sort();
    QCOMPARE(names, expected);
}

void TestFileSearch::missingFolderListsNothing()
{
    QTemporaryDir folder;
    QVERIFY(
        namesEndingWith(folder.filePath(QStringLiteral("問題")), QStringLiteral(".txt")).isEmpty());
}

void TestFileSearch::fileExistsOnlyForFiles()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    touch(dir.filePath(QStringLiteral("vemitrainer.ini")));
    QVERIFY(dir.mkdir(QStringLiteral("folder.ini")));
    QVERIFY(RegularFile::isRegular(dir.filePath(QStringLiteral("vemitrainer.ini"))));
    QVERIFY(!RegularFile::isRegular(dir.filePath(QStringLiteral("folder.ini"))));
    QVERIFY(!RegularFile::isRegular(dir.filePath(QStringLiteral("missing.ini"))));
}

void TestFileSearch::namesTheFileSystemCannotSpellAreListed_data()
{
    QTest::addColumn<QByteArray>("nativeName");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("openedByBytes");
    QTest::newRow("UTF-8") << QString::fromUtf8("練習.txt").toUtf8() << "練習.txt" << false;
    // 練習.txt in Shift-JIS, as unpacking a Windows zip archive leaves it.
    QTest::newRow("Shift-JIS") << QByteArray("\x97\xfb\x8f\x4b.TXT") << "練習.TXT" << true;
    QTest::newRow("neither") << QByteArray("\xff\xfe.txt") << QFile::decodeName("\xff\xfe.txt")
                             << true;
}

void TestFileSearch::namesTheFileSystemCannotSpellAreListed()
{
    QFETCH(QByteArray, nativeName);
    QFETCH(QString, shown);
    QFETCH(bool, openedByBytes);
    TemporaryFolder folder; // holds a Shift-JIS name
    const QByteArray content = "text of " + nativeName;
    QVERIFY(writeAllNative(QFile::encodeName(folder.path()) + '/' + nativeName, content));

    const QList<FileSearch::Entry> entries
        = FileSearch::entriesEndingWith(folder.path(), QStringLiteral(".txt"));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].name, shown);
    QCOMPARE(entries[0].nativeName, openedByBytes ? nativeName : QByteArray());
    const QByteArray nativePath = openedByBytes
        ? QFile::encodeName(folder.path()) + '/' + entries[0].nativeName
        : QByteArray();
    QFile file;
    QVERIFY(RegularFile::openForReading(file, folder.path() + u'/' + entries[0].name, nativePath));
    QCOMPARE(file.readAll(), content);
}

void TestFileSearch::opensOnlyRegularFiles()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    touch(dir.filePath(QStringLiteral("a.txt")));
    QVERIFY(dir.mkdir(QStringLiteral("folder.txt")));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.txt"))), 0600) == 0);
    for (const char *name : { "a.txt", "folder.txt", "pipe.txt", "missing.txt" }) {
        QFile file;
        QCOMPARE(RegularFile::openForReading(file, dir.filePath(QString::fromUtf8(name)), {}),
            qstrcmp(name, "a.txt") == 0);
    }
}

QTEST_GUILESS_MAIN(TestFileSearch)
#include "tst_filesearch.moc"
