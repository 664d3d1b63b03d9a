#include "FileSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFileSearch final : public QObject
{
    Q_OBJECT
private slots:
    void listsEveryEntryEndingInTxt();
    void missingFolderListsNothing();
    void fileExistsOnlyForFiles();
};

namespace {
void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
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

    QStringList names = FileSearch::namesEndingWith(folder.path(), QStringLiteral(".txt"));
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
        FileSearch::namesEndingWith(folder.filePath(QStringLiteral("問題")), QStringLiteral(".txt"))
            .isEmpty());
}

void TestFileSearch::fileExistsOnlyForFiles()
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    touch(dir.filePath(QStringLiteral("vemitrainer.ini")));
    QVERIFY(dir.mkdir(QStringLiteral("folder.ini")));
    QVERIFY(FileSearch::fileExists(dir.filePath(QStringLiteral("vemitrainer.ini"))));
    QVERIFY(!FileSearch::fileExists(dir.filePath(QStringLiteral("folder.ini"))));
    QVERIFY(!FileSearch::fileExists(dir.filePath(QStringLiteral("missing.ini"))));
}

QTEST_GUILESS_MAIN(TestFileSearch)
#include "tst_filesearch.moc"
