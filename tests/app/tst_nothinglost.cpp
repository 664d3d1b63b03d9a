#include "core/settings/SettingsFile.h"
#include "tests/support/FullDisk.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/Trainer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray SettingsText("[Font]\r\nFontSize=12\r\n");

struct Document : Trainer
{
    Document()
        : Trainer(SettingsText)
    {
        window->RightMemo->setPlainText(QStringLiteral("abc"));
    }
    QString file(const QString &name) const { return folder.filePath(name); }
    bool modified() const { return window->RightMemo->document()->isModified(); }
    void type(const QString &text)
    {
        window->RightMemo->moveCursor(QTextCursor::End);
        window->RightMemo->insertPlainText(text);
    }
    void saveAs(const QString &path)
    {
        dialogs.fileNames << path;
        window->SaveAs1->trigger();
    }
};

struct stat statusOf(const QString &path)
{
    struct stat status = {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

// What the call wrote to standard error.
QByteArray standardErrorOf(const std::function<void()> &call)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "<no capture>";
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(capture.handle(), 2);
    call();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

QStringList storedScores(const QString &iniPath)
{
    Settings settings;
    QStringList scores;
    SettingsFile(iniPath).load(settings, scores);
    return scores;
}

} // namespace

class TestNothingLost final : public QObject
{
    Q_OBJECT
private slots:
    void yesThatWritesNothingKeepsTheText_data();
    void yesThatWritesNothingKeepsTheText();
    void saveKeepsLinksAndPermissions_data();
    void saveKeepsLinksAndPermissions();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void sessionEndWithoutInteraction_data();
    void sessionEndWithoutInteraction();
    void fullDiskKeepsFilesAndSaysSo_data();
    void fullDiskKeepsFilesAndSaysSo();
    void scoresReachTheFileAtTheCapture();
    void failedWriteAtTheCaptureLeavesTheKeyboard();
};

void TestNothingLost::yesThatWritesNothingKeepsTheText_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("chosen"); // the save dialog's answers; none: cancelled
    QTest::addColumn<QList<int>>("answers"); // none left: the box's default button

    const QString emoji = QStringLiteral("😀"); // Shift-JIS cannot hold it: a warning first
    const QList<int> yes { QMessageBox::Yes };
    const QList<int> yesCancel { QMessageBox::Yes, QMessageBox::Cancel };
    const QStringList x { QStringLiteral("x.txt") };
    QTest::newRow("new, dialog cancelled") << "new" << false << "x" << QStringList() << yes;
    QTest::newRow("new, warning cancelled") << "new" << false << emoji << x << yesCancel;
    QTest::newRow("new, warning's default") << "new" << false << emoji << x << yes;
    QTest::newRow("new, named, warning's default")
        << "new" << true << emoji << QStringList() << yes;
    QTest::newRow("one-pane open, dialog cancelled")
        << "open" << false << "x" << QStringList() << yes;
    QTest::newRow("one-pane open, named, warning cancelled")
        << "open" << true << emoji << QStringList() << yesCancel;
    QTest::newRow("close, warning cancelled") << "close" << false << emoji << x << yesCancel;
    QTest::newRow("close, named, dialog cancelled")
        << "close" << true << "x" << QStringList() << yes;
}

void TestNothingLost::yesThatWritesNothingKeepsTheText()
{
    QFETCH(QString, command);
    QFETCH(bool, named);
    QFETCH(QString, typed);
    QFETCH(QStringList, chosen);
    QFETCH(QList<int>, answers);
    Document d;
    if (named)
        d.saveAs(d.file(QStringLiteral("named.txt")));
    if (command == QLatin1String("open"))
        d.window->Mode1ButtonClick();
    d.type(typed);
    const QString text = d.window->RightMemo->toPlainText();
    const QString name = d.window->documentName();
    const QString caption = d.window->windowTitle();
    for (const QString &file : chosen)
        d.dialogs.fileNames << d.file(file);
    for (int answer : answers)
        d.dialogs.answers << QMessageBox::StandardButton(answer);

    if (command == QLatin1String("new"))
        d.window->New1->trigger();
    else if (command == QLatin1String("open"))
        d.window->Open1->trigger();
    else
        QVERIFY(!d.window->close());

    QCOMPARE(d.window->RightMemo->toPlainText(), text);
    QVERIFY(d.modified());
    QCOMPARE(d.window->documentName(), name);
    QCOMPARE(d.window->windowTitle(), caption);
    QVERIFY(d.window->isVisible());
    QVERIFY(!QFile::exists(d.file(QStringLiteral("x.txt"))));
    QVERIFY(d.dialogs.fileNames.isEmpty());
    // Every file dialog shown was a save dialog: Open stopped before its own.
    QCOMPARE(d.dialogs.fileDialogFilters.size(), d.dialogs.savePresets.size());
    if (named)
        QCOMPARE(readAll(d.file(QStringLiteral("named.txt"))), QByteArray("abc"));
}

void TestNothingLost::saveKeepsLinksAndPermissions_data()
{
    QTest::addColumn<bool>("settingsFile"); // else a typed text saved over doc.txt
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<bool>("lockedFolder");
    QTest::newRow("text, mode kept") << false << false << false;
    QTest::newRow("text with a second link") << false << true << false;
    QTest::newRow("text in a locked folder") << false << false << true;
    QTest::newRow("settings with a second link") << true << true << false;
    QTest::newRow("settings in a locked folder") << true << false << true;
}

void TestNothingLost::saveKeepsLinksAndPermissions()
{
    QFETCH(bool, settingsFile);
    QFETCH(bool, hardLink);
    QFETCH(bool, lockedFolder);
    Document d;
    const QString path = settingsFile ? d.iniPath() : d.file(QStringLiteral("doc.txt"));
    const QString link = d.file(QStringLiteral("link"));
    QVERIFY(settingsFile || writeAll(path, "old"));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    if (hardLink)
        QCOMPARE(
            ::link(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()), 0);
    const struct stat before = statusOf(path);
    std::optional<OrdinaryUser> user;
    if (lockedFolder) {
        user.emplace(d.folder.path());
        if (!user->usable())
            QSKIP(qPrintable(user->reason()));
    }

    if (settingsFile) {
        d.scores << QStringLiteral("77");
        QVERIFY(d.window->close());
    } else {
        d.saveAs(path);
    }

    QCOMPARE(d.dialogs.messages.size(), 0);
    const QByteArray written = readAll(path);
    QVERIFY2(written.contains(settingsFile ? "Score0=77" : "abc"), written.constData());
    const struct stat after = statusOf(path);
    QCOMPARE(after.st_mode, before.st_mode);
    if (hardLink || lockedFolder)
        QCOMPARE(after.st_ino, before.st_ino);
    if (hardLink)
        QCOMPARE(readAll(link), written);
}

void TestNothingLost::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<bool>("settingsFile"); // else the file chosen in Open
    QTest::addColumn<bool>("fifo"); // else a folder
    QTest::newRow("open a FIFO") << false << true;
    QTest::newRow("open a folder") << false << false;
    QTest::newRow("settings file a FIFO") << true << true;
    QTest::newRow("settings file a folder") << true << false;
}

// Nothing here may wait for a writer: a blocked read would freeze the window.
void TestNothingLost::onlyRegularFilesAreRead()
{
    QFETCH(bool, settingsFile);
    QFETCH(bool, fifo);
    Document d;
    const QString path = settingsFile ? d.iniPath() : d.file(QStringLiteral("special.txt"));
    QFile::remove(path);
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(fifo ? ::mkfifo(name.constData(), 0644) : ::mkdir(name.constData(), 0755), 0);

    if (settingsFile) {
        // A second start-up over the same program folder.
        Settings settings;
        QStringList scores;
        TMainForm window(d.services, settings, scores);
        window.show();
        QCOMPARE(window.FontSizeCombo->currentText(), QStringLiteral("12"));
        QCOMPARE(settings.AlarmTime, 10);
        QVERIFY(settings.AlarmSoundFile.endsWith(QStringLiteral("//Sound/Timeup.wav")));
        QCOMPARE(d.dialogs.messages.size(), 0);
        return;
    }
    d.window->LeftMemo->setPlainText(QStringLiteral("practice"));
    d.dialogs.fileNames << path;
    d.window->Open1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    QCOMPARE(d.dialogs.messages[0].text, QStringLiteral("ファイル %1 は開けません.").arg(path));
    QCOMPARE(d.window->LeftMemo->toPlainText(), QStringLiteral("practice"));
}

void TestNothingLost::sessionEndWithoutInteraction_data()
{
    QTest::addColumn<bool>("folderInItsPlace"); // else a read-only settings file
    QTest::newRow("read-only settings file") << false;
    QTest::newRow("folder named like the settings file") << true;
}

void TestNothingLost::sessionEndWithoutInteraction()
{
    QFETCH(bool, folderInItsPlace);
    Document d;
    const QByteArray name = QFile::encodeName(d.iniPath());
    if (folderInItsPlace)
        QVERIFY(QFile::remove(d.iniPath()) && ::mkdir(name.constData(), 0755) == 0);
    else
        QCOMPARE(::chmod(name.constData(), 0444), 0);
    const QByteArray before = d.iniBytes();
    d.scores << QStringLiteral("612");

    const QByteArray said = standardErrorOf([&] { d.window->saveSettingsForSessionEnd(); });

    QCOMPARE(d.dialogs.messages.size(), 0);
    QVERIFY2(said.contains((d.iniPath() + QStringLiteral(" に書き込めません")).toUtf8()),
        said.constData());
    QCOMPARE(d.iniBytes(), before);
}

void TestNothingLost::fullDiskKeepsFilesAndSaysSo_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("settings at close") << "close";
    QTest::newRow("save over the named text") << "save";
    QTest::newRow("save as over another file") << "save as";
}

// The disk has room for the old files, not for what would replace them.
void TestNothingLost::fullDiskKeepsFilesAndSaysSo()
{
    QFETCH(QString, command);
    Document d;
    d.saveAs(d.file(QStringLiteral("named.txt")));
    QVERIFY(writeAll(d.file(QStringLiteral("other.txt")), "other"));
    d.type(QString(200, u'x'));
    const QString path = command == u"close" ? d.iniPath()
        : command == u"save"                 ? d.file(QStringLiteral("named.txt"))
                                             : d.file(QStringLiteral("other.txt"));
    const QByteArray before = readAll(path);
    const QString caption = d.window->windowTitle();

    // What the learner sees is checked in the child; each number names a failed check.
    const int outcome = onFullDisk(100, [&] {
        if (command == u"close") {
            d.window->RightMemo->document()->setModified(false); // no question about the text
            const bool closed = d.window->close();
            const bool told = d.dialogs.messages.size() == 2
                && d.dialogs.messages[0].text.startsWith(path + QStringLiteral(" に書き込めません"))
                && d.dialogs.messages[1].text.contains(QStringLiteral("設定を保存せずに終了"));
            return closed ? 1 : told ? 0 : 2;
        }
        if (command == u"save")
            d.window->Save1->trigger();
        else if (command == u"save as")
            d.saveAs(path);
        if (d.dialogs.messages.isEmpty() || !d.dialogs.messages[0].text.contains(path))
            return 2;
        if (!d.modified())
            return 3;
        return d.window->windowTitle() == caption ? 0 : 4;
    });

    QCOMPARE(outcome, 0);
    QCOMPARE(readAll(path), before);
}

// Ten minutes of typing are on the disk at 10:00, not only at exit, and a
// second copy of the program on the same file neither loses nor repeats them.
void TestNothingLost::scoresReachTheFileAtTheCapture()
{
    Document d;
    Settings settings;
    QStringList scores;
    TMainForm second(d.services, settings, scores);
    second.show();
    const auto capture = [&](TMainForm &window, const QString &typed) {
        window.RightMemo->setPlainText(typed);
        d.clock.now = 1000;
        window.StartButtonClick();
        d.clock.now = 601000;
        window.Timer1Timer();
        window.StopButtonClick();
        window.RightMemo->document()->setModified(false);
    };

    capture(*d.window, QStringLiteral("abcd"));
    QCOMPARE(storedScores(d.iniPath()), QStringList { "4" });
    capture(second, QStringLiteral("ab"));
    QCOMPARE(storedScores(d.iniPath()), (QStringList { "4", "2" }));
    capture(*d.window, QStringLiteral("abcdef"));
    QVERIFY(second.close());
    QVERIFY(d.window->close());

    QCOMPARE(storedScores(d.iniPath()), (QStringList { "4", "2", "6" }));
    QCOMPARE(d.scores, (QStringList { "4", "2", "6" }));
    QCOMPARE(d.dialogs.messages.size(), 0);
}

// At 10:00 the learner may still be typing: no box takes the keys, the status
// bar names the file, and the score is kept for the next write.
void TestNothingLost::failedWriteAtTheCaptureLeavesTheKeyboard()
{
    Document d;
    QVERIFY(QFile::remove(d.iniPath()));
    QVERIFY(QDir().mkdir(d.iniPath())); // a folder where the file should be
    d.clock.now = 1000;
    d.window->StartButtonClick();
    d.clock.now = 601000;
    d.window->Timer1Timer();
    QCOMPARE(d.dialogs.messages.size(), 0);
    QVERIFY2(d.window->statusPanelText(1).contains(QDir::toNativeSeparators(d.iniPath())),
        qPrintable(d.window->statusPanelText(1)));
    QCOMPARE(d.scores, QStringList { "3" });
}

QTEST_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
