#include "app/Main.h"
#include "dialogs/about/AboutBox.h"
#include "dialogs/about/HyperLabel.h"
#include "platform/DataLayout.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/RecordingSoundPlayer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// <prefix>/bin/vemitrainer, portable ("問題" beside it) or installed (shipped
// files under <prefix>/share/vemitrainer).
struct Program
{
    Program(bool installed, const QString &prefixName)
        : prefix(root.filePath(prefixName))
        , bin(prefix + QStringLiteral("/bin/"))
    {
        QDir().mkpath(bin);
        QDir().mkpath(installed ? prefix + QStringLiteral("/share/vemitrainer")
                                : bin + QStringLiteral("問題"));
        layout = DataLayout::forProgram(bin + QStringLiteral("vemitrainer"));
        layout.makeUserFolders();
    }

    QTemporaryDir root;
    const QString prefix;
    const QString bin;
    DataLayout layout;
    FakeClock clock;
    RecordingSoundPlayer sound;
    FakeDialogs dialogs;
    const Services services { clock, sound, dialogs, bin + QStringLiteral("vemitrainer") };
};
} // namespace

// The window over a portable copy and over an installed one, with the user's
// folders in temporary XDG homes.
class TestMainLayout final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void settingsAndSoundsFollowTheLayout_data();
    void settingsAndSoundsFollowTheLayout();
    void aboutBoxLinksTheGuideOfTheLayout_data() { settingsAndSoundsFollowTheLayout_data(); }
    void aboutBoxLinksTheGuideOfTheLayout();
    void settingsFolderRemovedMeanwhileIsMadeAgain();

private:
    QTemporaryDir m_home;
};

void TestMainLayout::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
}

void TestMainLayout::settingsAndSoundsFollowTheLayout_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("prefixName");
    QTest::newRow("portable") << false << "portable";
    QTest::newRow("installed") << true << "usr";
    // Shift-JIS cannot hold é: the default sound paths must still read back whole.
    QTest::newRow("installed under a name Shift-JIS cannot hold") << true << "café";
}

// Two starts: the first writes the settings, the second reads them back.
void TestMainLayout::settingsAndSoundsFollowTheLayout()
{
    QFETCH(bool, installed);
    QFETCH(QString, prefixName);
    const Program p(installed, prefixName);
    const QString sounds = installed ? p.prefix + QStringLiteral("/share/vemitrainer/Sound/")
                                     : p.bin + QStringLiteral("/Sound/");
    const QString ini = installed
        ? m_home.filePath(QStringLiteral("config/vemitrainer/vemitrainer.ini"))
        : p.bin + QStringLiteral("vemitrainer.ini");
    QFile::remove(ini);

    for (int start = 0; start < 2; ++start) {
        Settings settings;
        QStringList scores;
        TMainForm window(p.services, settings, scores);
        window.setDataLayout(p.layout);
        window.show();
        QCOMPARE(window.settingsFilePath(), ini);
        QCOMPARE(settings.AlarmSoundFile, sounds + QStringLiteral("Timeup.wav"));
        QCOMPARE(settings.PreAlarmSoundFile, sounds + QStringLiteral("Hurryup.wav"));
        QVERIFY(window.close());
        QVERIFY(QFileInfo(ini).isFile());
    }
    QVERIFY(p.dialogs.messages.isEmpty());
    QCOMPARE(QFileInfo::exists(p.bin + QStringLiteral("vemitrainer.ini")), !installed);
}

void TestMainLayout::aboutBoxLinksTheGuideOfTheLayout()
{
    QFETCH(bool, installed);
    QFETCH(QString, prefixName);
    const Program p(installed, prefixName);
    Settings settings;
    QStringList scores;
    TMainForm window(p.services, settings, scores);
    window.setDataLayout(p.layout);
    RecordingShell shell;
    window.setShell(shell);
    window.show();
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<TAboutBoxForm *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QTest::mouseClick(box->HyperLabel1, Qt::LeftButton, {}, QPoint(3, 3));
        box->OKButton->click();
    });
    window.About1->trigger();
    QCOMPARE(shell.opened.size(), 1);
    QCOMPARE(shell.opened[0].toLocalFile(),
        installed ? p.prefix + QStringLiteral("/share/doc/vemitrainer/README.html")
                  : p.bin + QStringLiteral("README.html"));
}

void TestMainLayout::settingsFolderRemovedMeanwhileIsMadeAgain()
{
    const Program p(true, QStringLiteral("usr"));
    Settings settings;
    QStringList scores;
    TMainForm window(p.services, settings, scores);
    window.setDataLayout(p.layout);
    window.show();
    const QString folder = QFileInfo(window.settingsFilePath()).path();
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(window.close());
    QVERIFY(QFileInfo(window.settingsFilePath()).isFile());
    QVERIFY(p.dialogs.messages.isEmpty());
}

QTEST_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
