#include "app/Main.h"

#include "core/text/Cp932.h"
#include "tests/support/Trainer.h"

#include "controls/edit/RxCombos.h"
#include "controls/layout/RXSplit.h"
#include "controls/lcd/Lcd99.h"
#include <QComboBox>
#include <QDir>
#include <QFile>

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

QByteArray cp932(const char *utf8)
{
    return Cp932::encode(QString::fromUtf8(utf8));
}

} // namespace

class TestMainForm final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startsWithDefaultsWithoutSettingsFile();
    void startsInSavedMode();
    void modeControlsAgree();
    void resizeSplitsPanelInHalf();
    void statusPanelTwoEndsAtRightEdge();
    void fontSizeBox_data();
    void fontSizeBox();
    void fontFaceBox();
    void viewTogglesHideBarsButNotForNextStart();
    void startupErrorIsReportedAndWindowStillOpens_data();
    void startupErrorIsReportedAndWindowStillOpens();
    void typedTextIsCountedLive();
    void closeWritesSettingsFile();
    void unwritableSettingsFileAsksBeforeQuitting();
    void sessionEndKeepsScores();
    void programFolderCp932CannotSpell();
};

// The application object draws the classic Japanese font names with the installed ones.
void TestMainForm::initTestCase()
{
    TFontComboBox::substitute(QStringLiteral("MS ゴシック"), { QStringLiteral("IPAGothic") });
    TFontComboBox::substitute(QStringLiteral("ＭＳ Ｐゴシック"), { QStringLiteral("IPAPGothic") });
}

void TestMainForm::startsWithDefaultsWithoutSettingsFile()
{
    Trainer t;
    TMainForm &w = *t.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("VemiTapiro--[Untitled]"));
    QCOMPARE(w.documentName(), QStringLiteral("Untitled"));
    QVERIFY(w.LeftMemo->isVisible());
    QVERIFY(w.N7->isChecked());
    QVERIFY(!w.N6->isChecked());
    QVERIFY(w.Mode2Button->isChecked());
    QVERIFY(!w.Mode1Button->isChecked());
    QCOMPARE(w.FontCombo->currentText(), QStringLiteral("MS ゴシック"));
    for (QPlainTextEdit *pane : { w.LeftMemo, w.RightMemo }) {
        QCOMPARE(pane->font().family(), QStringLiteral("MS ゴシック"));
        QCOMPARE(pane->font().pointSize(), 12);
    }
    QCOMPARE(w.LCD99->color(), QColor(Qt::white));
    QCOMPARE(w.LCD99->offColor(), QColor(Qt::white));
    QCOMPARE(w.LCD99->onColor(), QColor(Qt::black));
    QCOMPARE(w.LCD99->value(), QStringLiteral("00:00"));
    QCOMPARE(w.LCD99->grab().toImage().pixelColor(0, 0), QColor(Qt::white));
    QVERIFY(t.settings.Alarm && t.settings.PreAlarm && t.settings.DoubleView);
    QCOMPARE(t.settings.AlarmSoundFile, t.folder.path() + QStringLiteral("//Sound/Timeup.wav"));
    QVERIFY(!w.RightMemo->document()->isModified());
    QVERIFY(t.dialogs.messages.isEmpty());
    QVERIFY(!QFile::exists(t.iniPath())); // nothing is written before the window closes
}

void TestMainForm::startsInSavedMode()
{
    Trainer t("[General]\r\nDoubleView=0\r\n[Font]\r\nFontName=MS Gothic\r\nFontSize=14\r\n"
              "[Color]\r\nLCDForeColor=clRed\r\nLCDBackColor=$00563412\r\n");
    TMainForm &w = *t.window;
    QVERIFY(!w.LeftMemo->isVisible());
    QVERIFY(w.Mode1Button->isChecked());
    QVERIFY(w.N6->isChecked());
    QVERIFY(!t.settings.DoubleView);
    QCOMPARE(w.RightMemo->font().pointSize(), 14);
    QCOMPARE(w.LeftMemo->font(), w.RightMemo->font());
    QCOMPARE(w.LCD99->onColor(), QColor(Qt::red));
    QCOMPARE(w.LCD99->color(), QColor(0x12, 0x34, 0x56));
    QCOMPARE(w.LCD99->offColor(), QColor(0x12, 0x34, 0x56));
}

void TestMainForm::modeControlsAgree()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    QTest::mouseClick(w.Mode1Button, Qt::LeftButton);
    QVERIFY(w.N6->isChecked() && !w.N7->isChecked());
    QVERIFY(!w.Mode2Button->isChecked());
    QVERIFY(!w.LeftMemo->isVisible());
    QVERIFY(!t.settings.DoubleView);

    QTest::keyClick(w.RightMemo, Qt::Key_2, Qt::ControlModifier);
    QVERIFY(w.Mode2Button->isChecked() && !w.Mode1Button->isChecked());
    QVERIFY(w.LeftMemo->isVisible());
    QVERIFY(t.settings.DoubleView);

    QTest::keyClick(w.RightMemo, Qt::Key_1, Qt::ControlModifier);
    QVERIFY(w.Mode1Button->isChecked() && w.N6->isChecked());
    w.N7->trigger();
    QVERIFY(w.Mode2Button->isChecked() && w.LeftMemo->isVisible());
}

void TestMainForm::resizeSplitsPanelInHalf()
{
    Trainer t;
    TMainForm &w = *t.window;
    // Grow the window until the panel between the bars is 701 pixels wide.
    w.resize(w.width() + 701 - w.DoublePanel->width(), w.height());
    QCOMPARE(w.DoublePanel->width(), 701);
    QCOMPARE(w.LeftMemo->width(), 348); // (701 - 4) / 2 = 348.5, halves go to the even side

    QTest::mousePress(w.Splitter, Qt::LeftButton, {}, QPoint(2, 50)); // the learner drags the bar
    QTest::mouseMove(w.Splitter, QPoint(2 - 248, 50));
    QTest::mouseRelease(w.Splitter, Qt::LeftButton, {}, QPoint(2 - 248, 50));
    QCOMPARE(w.LeftMemo->width(), 100);
    w.resize(w.width() + 2, w.height());
    QCOMPARE(w.DoublePanel->width(), 703);
    QCOMPARE(w.LeftMemo->width(), 350); // 699 / 2 = 349.5 goes to 350

    // The hidden pane keeps the computed half for when it is shown again.
    w.Mode1ButtonClick();
    QTRY_COMPARE(w.RightMemo->width(), 703);
    w.resize(w.width() + 100, w.height());
    w.Mode2ButtonClick();
    QTRY_COMPARE(w.LeftMemo->width(), 400); // (803 - 4) / 2 = 399.5 goes to 400
    QCOMPARE(w.RightMemo->width(), 399);
}

void TestMainForm::statusPanelTwoEndsAtRightEdge()
{
    Trainer t;
    TMainForm &w = *t.window;
    for (int width : { 640, 1000 }) {
        w.resize(width, w.height());
        QCOMPARE(w.statusPanelWidth(0), 100);
        QCOMPARE(w.statusPanelWidth(2), 100);
        const QRect panel2 = w.statusPanelGeometry(2);
        QCOMPARE(panel2.right(), w.StatusBar->width() - 1);
        QCOMPARE(w.statusPanelGeometry(0).left(), 0);
        QCOMPARE(w.statusPanelWidth(1), w.StatusBar->width() - 200);
    }
}

void TestMainForm::fontSizeBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expectedPoints");
    QTest::newRow("not a number") << "abc" << 12;
    QTest::newRow("zero") << "0" << 12;
    QTest::newRow("negative") << "-5" << 12;
    QTest::newRow("absurdly large") << "2000000000" << 12;
    QTest::newRow("listed size") << "72" << 72;
    QTest::newRow("hexadecimal") << "$10" << 16;
}

void TestMainForm::fontSizeBox()
{
    QFETCH(QString, typed);
    QFETCH(int, expectedPoints);
    Trainer t;
    TMainForm &w = *t.window;
    w.FontSizeCombo->setCurrentText(typed); // as if pasted in one go
    QCOMPARE(w.FontSizeCombo->currentText(), typed);
    QCOMPARE(w.RightMemo->font().pointSize(), expectedPoints);
    QCOMPARE(w.LeftMemo->font().pointSize(), expectedPoints);
    QVERIFY(t.dialogs.messages.isEmpty()); // bad sizes are ignored silently
}

void TestMainForm::fontFaceBox()
{
    Trainer t;
    TMainForm &w = *t.window;
    const int listed = w.FontCombo->findText(QStringLiteral("ＭＳ Ｐゴシック"));
    QVERIFY(listed >= 0);
    w.FontCombo->setFontName(w.FontCombo->itemText(listed));
    QCOMPARE(w.RightMemo->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(w.LeftMemo->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

    w.FontCombo->setCurrentText(QStringLiteral("No Such Font Family"));
    QCOMPARE(w.RightMemo->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

    // Picking the next family with the keyboard applies it to both panes.
    w.FontCombo->setFontName(QStringLiteral("IPAGothic"));
    QTest::keyClick(w.FontCombo, Qt::Key_Down);
    const QString picked = w.FontCombo->itemText(w.FontCombo->findText("IPAGothic") + 1);
    QCOMPARE(w.FontCombo->FontName(), picked);
    QCOMPARE(w.RightMemo->font().family(), picked);
    QCOMPARE(w.LeftMemo->font().family(), picked);
}

void TestMainForm::viewTogglesHideBarsButNotForNextStart()
{
    Trainer t;
    {
        TMainForm &w = *t.window;
        const std::pair<QAction *, QWidget *> toggles[] = { { w.N5, w.StandardToolBar },
            { w.F1, w.FontBar }, { w.N4, w.TimeBar }, { w.Show1, w.StatusBar } };
        for (const auto &[item, bar] : toggles) {
            QVERIFY(item->isChecked() && bar->isVisible());
            item->trigger();
            QVERIFY(!item->isChecked());
            QVERIFY(!bar->isVisible());
        }
        t.window->close();
    }
    t.window = std::make_unique<TMainForm>(t.services, t.settings, t.scores);
    t.window->show();
    TMainForm &w = *t.window;
    for (QWidget *bar :
        { static_cast<QWidget *>(w.StandardToolBar), static_cast<QWidget *>(w.FontBar),
            static_cast<QWidget *>(w.TimeBar), static_cast<QWidget *>(w.StatusBar) })
        QVERIFY(bar->isVisible());
}

void TestMainForm::startupErrorIsReportedAndWindowStillOpens_data()
{
    QTest::addColumn<QByteArray>("settingsFile");
    QTest::addColumn<QString>("message");
    QTest::newRow("FontSize missing") << QByteArray("[General]\r\nDoubleView=1\r\n")
                                      << QStringLiteral("'Error' は整数ではありません.");
    QTest::newRow("bad colour") << QByteArray(
        "[Font]\r\nFontSize=12\r\n[Color]\r\nLCDForeColor=clPink\r\n")
                                << QStringLiteral("'clPink' は整数ではありません.");
}

void TestMainForm::startupErrorIsReportedAndWindowStillOpens()
{
    QFETCH(QByteArray, settingsFile);
    QFETCH(QString, message);
    Trainer t(settingsFile);
    QCOMPARE(t.dialogs.messages.size(), 1);
    QCOMPARE(t.dialogs.messages[0].text, message);
    QCOMPARE(t.dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
    QCOMPARE(t.dialogs.messages[0].icon, QMessageBox::Critical);
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.window->windowTitle(), QStringLiteral("VemiTapiro"));
    QVERIFY(t.window->documentName().isEmpty());
}

void TestMainForm::typedTextIsCountedLive()
{
    Trainer t;
    TMainForm &w = *t.window;
    QVERIFY(w.statusPanelText(2).isEmpty()); // nothing until the pane first changes
    QTest::keyClicks(w.RightMemo, QStringLiteral("abc"));
    QCOMPARE(w.statusPanelText(2), QStringLiteral("3文字"));
    QTest::keyClick(w.RightMemo, Qt::Key_Return);
    w.RightMemo->insertPlainText(QStringLiteral("文字ｱ\t"));
    QCOMPARE(w.statusPanelText(2), QStringLiteral("8文字")); // the break counts once
    QCOMPARE(w.RightWordCount(), QStringLiteral("8"));
    w.RightMemo->clear();
    QCOMPARE(w.statusPanelText(2), QStringLiteral("0文字"));
    QVERIFY(w.statusPanelText(0).isEmpty());
}

void TestMainForm::closeWritesSettingsFile()
{
    Trainer t;
    t.window->Mode1ButtonClick();
    t.window->FontSizeCombo->setCurrentText(QStringLiteral("1x")); // stored as typed
    t.scores << QStringLiteral("523");
    QVERIFY(t.window->close());
    const QByteArray ini = t.iniBytes();
    QVERIFY(ini.startsWith("[General]\r\nDoubleView=0\r\n"));
    QVERIFY(ini.contains("\r\nFontName=" + cp932("MS ゴシック") + "\r\nFontSize=1x\r\n"));
    QVERIFY(ini.contains("[Score]\r\nScoreCount=1\r\nScore0=523\r\n"));
}

void TestMainForm::unwritableSettingsFileAsksBeforeQuitting()
{
    Trainer t("[Font]\r\nFontName=MS Gothic\r\nFontSize=12\r\n");
    const QByteArray before = t.iniBytes();
    QFile(t.iniPath()).setPermissions(QFileDevice::ReadOwner);
    t.window->RightMemo->setPlainText(QStringLiteral("typed"));

    t.dialogs.answers << QMessageBox::Ok << QMessageBox::No;
    QVERIFY(!t.window->close());
    QVERIFY(t.window->isVisible());
    QCOMPARE(t.window->RightMemo->toPlainText(), QStringLiteral("typed"));
    QCOMPARE(t.dialogs.messages.size(), 2);
    QCOMPARE(t.dialogs.messages[0].text, t.iniPath() + QStringLiteral(" に書き込めません."));
    QCOMPARE(t.dialogs.messages[1].buttons, QMessageBox::Yes | QMessageBox::No);

    t.dialogs.answers << QMessageBox::Ok << QMessageBox::Yes;
    QVERIFY(t.window->close());
    QCOMPARE(t.iniBytes(), before);
}

void TestMainForm::sessionEndKeepsScores()
{
    Trainer t;
    t.scores << QStringLiteral("612") << QStringLiteral("640");
    t.window->saveSettingsForSessionEnd();
    const QByteArray ini = t.iniBytes();
    QVERIFY(ini.contains("[Score]\r\nScoreCount=2\r\nScore0=612\r\nScore1=640\r\n"));
    QVERIFY(t.window->isVisible());
}

// A program folder named with characters code page 932 lacks: the default
// sound paths come back whole at the next start, and a value that cannot be
// kept (a font named in Chinese) is named to the learner once.
void TestMainForm::programFolderCp932CannotSpell()
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("café 驿"));
    QVERIFY(QDir().mkpath(folder));
    FakeClock clock;
    RecordingSoundPlayer sound;
    FakeDialogs dialogs;
    const Services services { clock, sound, dialogs, folder + QStringLiteral("/vemitrainer") };
    const QString alarm = folder + QStringLiteral("//Sound/Timeup.wav");
    const QString preAlarm = folder + QStringLiteral("//Sound/Hurryup.wav");
    for (int start = 0; start < 2; ++start) {
        Settings settings;
        QStringList scores;
        TMainForm window(services, settings, scores);
        window.show();
        QCOMPARE(settings.AlarmSoundFile, alarm);
        QCOMPARE(settings.PreAlarmSoundFile, preAlarm);
        if (start == 0)
            window.FontCombo->setCurrentText(QStringLiteral("文泉驿"));
        QVERIFY(window.close());
    }
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Information);
    QVERIFY2(dialogs.messages[0].text.endsWith(QStringLiteral("\n\nFontName: 文泉驿（「驿」）")),
        qPrintable(dialogs.messages[0].text));
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
