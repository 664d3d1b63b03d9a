#include "platform/ProgramPath.h"

#include <QTest>

class TestProgramPath final : public QObject
{
    Q_OBJECT
private slots:
    void settingsFile_data();
    void settingsFile();
    void folderKeepsTrailingSeparator();
};

void TestProgramPath::settingsFile_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("settings");
    QTest::newRow("no extension") << "/opt/vemi/vemitrainer"
                                  << "/opt/vemi/vemitrainer.ini";
    QTest::newRow("extension replaced") << "/apps/trainer.exe"
                                        << "/apps/trainer.ini";
    QTest::newRow("dot in a folder name only") << "/opt/v.1/vemitrainer"
                                               << "/opt/v.1/vemitrainer.ini";
    QTest::newRow("hidden-style name") << "/opt/.trainer"
                                       << "/opt/.trainer.ini";
    QTest::newRow("Japanese folder") << "/home/学習/vemitrainer"
                                     << "/home/学習/vemitrainer.ini";
}

void TestProgramPath::settingsFile()
{
    QFETCH(QString, program);
    QFETCH(QString, settings);
    QCOMPARE(ProgramPath::settingsFileFor(program), settings);
}

void TestProgramPath::folderKeepsTrailingSeparator()
{
    QCOMPARE(ProgramPath::folderOf(QStringLiteral("/opt/vemi/vemitrainer")),
        QStringLiteral("/opt/vemi/"));
    QCOMPARE(ProgramPath::folderOf(QStringLiteral("/vemitrainer")), QStringLiteral("/"));
    // The running test binary stands in for the program.
    const QString self = ProgramPath::programFile();
    QVERIFY(self.endsWith(QStringLiteral("/tst_programpath")));
    QVERIFY(QFileInfo(ProgramPath::folderOf(self)).isDir());
}

QTEST_GUILESS_MAIN(TestProgramPath)
#include "tst_programpath.moc"
