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
    void guideItemOpensTheGuideOfTheLayout_data();
    void guideItemOpensTheGuideOfTheLayout();
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
        installed ? p.prefix + QStringLiteral("/share/doc/vemitrainer/guide.html")
                  : p.bin + QStringLiteral("guide.html"));
}

void TestMainLayout::guideItemOpensTheGuideOfTheLayout_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("guideThere");
    QTest::addColumn<bool>("opens"); // the desktop has a program for it
    for (const bool installed : { false, true }) {
        const char *layout = installed ? "installed" : "portable";
        QTest::addRow("%s", layout) << installed << true << true;
        QTest::addRow("%s, no browser: the box names the file", layout)
            << installed << true << false;
        QTest::addRow("%s, guide missing", layout) << installed << false << true;
    }
}

void TestMainLayout::guideItemOpensTheGuideOfTheLayout()
{
    QFETCH(bool, installed);
    QFETCH(bool, guideThere);
    QFETCH(bool, opens);
    const Program p(installed, QStringLiteral("usr"));
    const QString guide = installed ? p.prefix + QStringLiteral("/share/doc/vemitrainer/guide.html")
                                    : p.bin + QStringLiteral("guide.html");
    if (guideThere) {
        QDir().mkpath(QFileInfo(guide).path());
        QFile file(guide);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0);
    }
    Settings settings;
    QStringList scores;
    TMainForm window(p.services, settings, scores);
    window.setDataLayout(p.layout);
    RecordingShell shell;
    shell.opens = opens;
    window.setShell(shell);
    window.show();
    QCOMPARE(window.GuideItem->text(), QStringLiteral("使い方(&H)"));
    window.GuideItem->trigger();

    QCOMPARE(shell.opened.size(), guideThere ? 1 : 0);
    if (guideThere)
        QCOMPARE(shell.opened[0].toLocalFile(), guide);
    const bool told = !guideThere || !opens;
    QCOMPARE(p.dialogs.messages.size(), told ? 1 : 0);
    if (told) {
        QVERIFY2(
            p.dialogs.messages[0].text.contains(guide), qPrintable(p.dialogs.messages[0].text));
        QVERIFY(p.dialogs.messages[0].text.startsWith(guideThere
                ? QStringLiteral("使い方を表示できるプログラム")
                : QStringLiteral("使い方のファイル")));
    }
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
