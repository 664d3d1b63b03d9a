#include "platform/DataLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// Programs under a temporary prefix, with the user's folders in temporary XDG homes.
class TestDataLayout final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void layoutFollowsWhatIsBesideTheProgram_data();
    void layoutFollowsWhatIsBesideTheProgram();
    void userFoldersAreMadeOnlyWhenInstalled();
    void relativeXdgFoldersCountAsUnset_data();
    void relativeXdgFoldersCountAsUnset();

private:
    QString program(const QString &beside, bool shipped = true) const;

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QString m_config;
    QString m_data;
};

void TestDataLayout::initTestCase()
{
    m_config = m_home.filePath(QStringLiteral("config"));
    m_data = m_home.filePath(QStringLiteral("data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data));
}

// <prefix>/bin/vemitrainer with a folder, a file or nothing named "問題" beside
// it, and <prefix>/share/vemitrainer when shipped.
QString TestDataLayout::program(const QString &beside, bool shipped) const
{
    const QString prefix = m_prefix.filePath(beside + QString::number(shipped));
    const QString bin = prefix + QStringLiteral("/bin");
    QDir().mkpath(bin);
    if (shipped)
        QDir().mkpath(prefix + QStringLiteral("/share/vemitrainer"));
    if (beside == QLatin1String("folder"))
        QDir(bin).mkdir(QStringLiteral("問題"));
    if (beside == QLatin1String("file"))
        QFile(bin + QStringLiteral("/問題")).open(QIODevice::WriteOnly);
    return bin + QStringLiteral("/vemitrainer");
}

void TestDataLayout::layoutFollowsWhatIsBesideTheProgram_data()
{
    QTest::addColumn<QString>("beside");
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<bool>("portable");
    QTest::newRow("a problem folder: portable") << "folder" << true << true;
    QTest::newRow("shipped files under the prefix: installed") << "nothing" << true << false;
    QTest::newRow("a file named like the folder: installed") << "file" << true << false;
    QTest::newRow("a lone executable: as before") << "nothing" << false << true;
}

void TestDataLayout::layoutFollowsWhatIsBesideTheProgram()
{
    QFETCH(QString, beside);
    QFETCH(bool, shipped);
    QFETCH(bool, portable);
    const QString programFile = program(beside, shipped);
    const DataLayout layout = DataLayout::forProgram(programFile);
    QCOMPARE(layout.isPortable(), portable);
    const QString bin = QFileInfo(programFile).path() + u'/';
    const QString share = QDir::cleanPath(bin + QStringLiteral("../share"));
    if (portable) {
        // Everything beside the program, in the shapes stored settings files carry.
        QCOMPARE(layout.settingsFile(), bin + QStringLiteral("vemitrainer.ini"));
        QCOMPARE(layout.shippedFolder(), bin);
        QCOMPARE(layout.problemFolders(), QStringList { bin + QStringLiteral("/問題/") });
        QCOMPARE(layout.userGuide(), bin + QStringLiteral("guide.html"));
    } else {
        QCOMPARE(layout.settingsFile(), m_config + QStringLiteral("/vemitrainer/vemitrainer.ini"));
        QCOMPARE(layout.shippedFolder(), share + QStringLiteral("/vemitrainer"));
        QCOMPARE(layout.problemFolders(),
            QStringList({ share + QStringLiteral("/vemitrainer/問題/"),
                m_data + QStringLiteral("/vemitrainer/問題/") }));
        QCOMPARE(layout.userGuide(), share + QStringLiteral("/doc/vemitrainer/guide.html"));
    }
}

void TestDataLayout::userFoldersAreMadeOnlyWhenInstalled()
{
    DataLayout::forProgram(program(QStringLiteral("folder"))).makeUserFolders();
    QVERIFY(!QFileInfo::exists(m_config));
    QVERIFY(!QFileInfo::exists(m_data));

    const DataLayout installed = DataLayout::forProgram(program(QStringLiteral("nothing")));
    installed.makeUserFolders();
    QVERIFY(QFileInfo(QFileInfo(installed.settingsFile()).path()).isDir());
    QVERIFY(QFileInfo(installed.problemFolders().constLast()).isDir());
    QVERIFY(!installed.isPortable());
}

void TestDataLayout::relativeXdgFoldersCountAsUnset_data()
{
    QTest::addColumn<QByteArray>("xdgValue");
    QTest::newRow("a bare name") << QByteArray("xdg");
    QTest::newRow("from the current folder") << QByteArray("./xdg");
}

// Settings that followed a relative value would move with the folder the
// program is started from.
void TestDataLayout::relativeXdgFoldersCountAsUnset()
{
    QFETCH(QByteArray, xdgValue);
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", xdgValue);
    qputenv("XDG_DATA_HOME", xdgValue);
    const DataLayout layout = DataLayout::forProgram(program(QStringLiteral("nothing")));
    qputenv("HOME", oldHome);
    initTestCase();
    QCOMPARE(layout.settingsFile(),
        home.filePath(QStringLiteral(".config/vemitrainer/vemitrainer.ini")));
    QCOMPARE(layout.problemFolders().constLast(),
        home.filePath(QStringLiteral(".local/share/vemitrainer/問題/")));
}

QTEST_GUILESS_MAIN(TestDataLayout)
#include "tst_datalayout.moc"
