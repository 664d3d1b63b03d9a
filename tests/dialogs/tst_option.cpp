#include "controls/color/ColorPickerButton.h"
#include "controls/edit/RxCombos.h"
#include "controls/edit/Spin.h"
#include "controls/edit/ToolEdit.h"
#include "controls/lcd/Lcd99.h"
#include "dialogs/Option.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Trainer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

Settings storedSettings()
{
    Settings settings;
    settings.applyDefaults(QStringLiteral("/opt/vemi/"));
    return settings;
}

// A stored colour, red in the low byte.
QColor rgb(uint value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

bool sameSettings(const Settings &a, const Settings &b)
{
    return a.AlarmTime == b.AlarmTime && a.PreAlarmTime == b.PreAlarmTime && a.Alarm == b.Alarm
        && a.PreAlarm == b.PreAlarm && a.DoubleView == b.DoubleView
        && a.ShowReturnMark == b.ShowReturnMark && a.ShowSpaceMark == b.ShowSpaceMark
        && a.LCDForeColor == b.LCDForeColor && a.LCDBackColor == b.LCDBackColor
        && a.AlarmSoundFile == b.AlarmSoundFile && a.PreAlarmSoundFile == b.PreAlarmSoundFile;
}

// Opens the options dialog from the menu and works it while it is modal.
void runOptions(Trainer &trainer, const std::function<void(TOptionForm &)> &work)
{
    bool worked = false;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TOptionForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        worked = true;
        work(*form);
        if (form->isVisible())
            form->reject();
    });
    trainer.window->S1->trigger();
    QVERIFY(worked);
}

} // namespace

class TestOption final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void minutesStayInOrder_data();
    void minutesStayInOrder();
    void settingsFileWithPreAlarmAfterAlarmIsRepairedOnOk();
    void creationShowsTheSettings();
    void badColourNameFillsEveryControl();
    void okStoresColoursAndRecoloursTheMainDisplay_data();
    void okStoresColoursAndRecoloursTheMainDisplay();
    void cancelAndEscStoreNothing();
    void okKeepsSoundPathsAsShown_data();
    void okKeepsSoundPathsAsShown();
    void okRefusesAPathThatWouldReadBackOtherwise_data();
    void okRefusesAPathThatWouldReadBackOtherwise();
};

void TestOption::initTestCase()
{
    // The dialog's font, as the program substitutes it; unsubstituted it would
    // fall back to whatever the desktop's default font is.
    TFontComboBox::substitute(QStringLiteral("ＭＳ Ｐゴシック"), { QStringLiteral("IPAPGothic") });
}

void TestOption::minutesStayInOrder_data()
{
    QTest::addColumn<int>("alarm");
    QTest::addColumn<int>("preAlarm");
    QTest::addColumn<QString>("steps"); // A/a: alarm up/down, P/p: pre-alarm up/down
    QTest::addColumn<int>("shownAlarm");
    QTest::addColumn<int>("shownPreAlarm");
    QTest::addColumn<int>("alarmMin");
    QTest::addColumn<int>("preAlarmMax");

    QTest::newRow("defaults") << 10 << 8 << "" << 10 << 8 << 9 << 9;
    QTest::newRow("pre-alarm to 9 raises the alarm's minimum")
        << 10 << 8 << "P" << 10 << 9 << 10 << 9;
    QTest::newRow("pre-alarm stops below the alarm") << 10 << 8 << "PPPP" << 10 << 9 << 10 << 9;
    QTest::newRow("alarm stops above the pre-alarm") << 10 << 8 << "aaaa" << 9 << 8 << 9 << 8;
    QTest::newRow("98/99: alarm cannot step down") << 99 << 98 << "aa" << 99 << 98 << 99 << 98;
    QTest::newRow("98/99: alarm cannot pass 99") << 99 << 98 << "AA" << 99 << 98 << 99 << 98;
    QTest::newRow("98/99: pre-alarm cannot reach 99") << 99 << 98 << "P" << 99 << 98 << 99 << 98;
    QTest::newRow("1/2: pre-alarm cannot step down") << 2 << 1 << "pp" << 2 << 1 << 2 << 1;
    QTest::newRow("1/2: pre-alarm cannot reach 2") << 2 << 1 << "PP" << 2 << 1 << 2 << 1;
    QTest::newRow("1/2: alarm cannot reach 1") << 2 << 1 << "a" << 2 << 1 << 2 << 1;
    QTest::newRow("file with pre-alarm after the alarm") << 10 << 12 << "" << 10 << 9 << 10 << 9;
    QTest::newRow("file with equal minutes") << 5 << 5 << "" << 5 << 4 << 5 << 4;
    QTest::newRow("file out of range") << 500 << 0 << "" << 99 << 1 << 2 << 98;
    QTest::newRow("file with zeros") << 0 << 0 << "A" << 3 << 1 << 2 << 2;
}

void TestOption::minutesStayInOrder()
{
    QFETCH(int, alarm);
    QFETCH(int, preAlarm);
    QFETCH(QString, steps);
    Settings settings = storedSettings();
    settings.AlarmTime = alarm;
    settings.PreAlarmTime = preAlarm;
    FakeDialogs dialogs;
    TOptionForm form(settings, nullptr, dialogs);
    form.show();
    for (QChar step : steps) {
        TSpinButton *arrows
            = (step.toLower() == u'a' ? form.SpinEdit1 : form.SpinEdit2)->spinButton();
        QTest::mouseClick(step.isUpper() ? static_cast<QWidget *>(arrows->upButton())
                                         : static_cast<QWidget *>(arrows->downButton()),
            Qt::LeftButton);
    }
    QTEST(form.SpinEdit1->text().toInt(), "shownAlarm");
    QTEST(form.SpinEdit2->text().toInt(), "shownPreAlarm");
    QTEST(form.SpinEdit1->minValue(), "alarmMin");
    QCOMPARE(form.SpinEdit1->maxValue(), 99);
    QCOMPARE(form.SpinEdit2->minValue(), 1);
    QTEST(form.SpinEdit2->maxValue(), "preAlarmMax");
    // Delete must not empty or shorten a box whose number cannot be typed.
    form.SpinEdit1->setFocus();
    form.SpinEdit1->setCursorPosition(0);
    QTest::keyClick(form.SpinEdit1, Qt::Key_Delete);
    form.OKBtn->click();
    QTEST(settings.AlarmTime, "shownAlarm");
    QTEST(settings.PreAlarmTime, "shownPreAlarm");
}

void TestOption::settingsFileWithPreAlarmAfterAlarmIsRepairedOnOk()
{
    Trainer trainer("[Timer]\r\nAlarmTime=10\r\nPreAlarmTime=12\r\n");
    QCOMPARE(trainer.settings.PreAlarmTime, 12);
    runOptions(trainer, [](TOptionForm &form) {
        QCOMPARE(form.SpinEdit2->text(), QStringLiteral("9"));
        QCOMPARE(form.SpinEdit1->minValue(), 10);
        form.OKBtn->click();
    });
    QCOMPARE(trainer.settings.AlarmTime, 10);
    QCOMPARE(trainer.settings.PreAlarmTime, 9);
}

void TestOption::creationShowsTheSettings()
{
    Settings settings = storedSettings();
    settings.Alarm = false;
    settings.ShowSpaceMark = true;
    FakeDialogs dialogs;
    TOptionForm form(settings, nullptr, dialogs);
    QCOMPARE(form.windowTitle(), QStringLiteral("環境設定"));
    QCOMPARE(form.PageControl1->count(), 4);
    QCOMPARE(form.PageControl1->currentWidget(), form.TabSheet1);
    QCOMPARE(form.OKBtn->geometry(), QRect(60, 192, 75, 25));
    QCOMPARE(form.FilenameEdit1->geometry(), QRect(24, 48, 249, 21));
    QCOMPARE(form.FilenameEdit1->buttonWidth(), 20);
    QCOMPARE(form.FilenameEdit2->buttonWidth(), 21);
    QCOMPARE(form.ForeColorButton->geometry(), QRect(56, 16, 45, 22));
    QCOMPARE(form.LCD99->geometry(), QRect(32, 96, 73, 22));
    QCOMPARE(form.LCD99->value(), QStringLiteral("00:00"));
    QVERIFY(!form.CheckBox2->isChecked());
    QVERIFY(form.CheckBox1->isChecked());
    QVERIFY(form.SpaceCheckBox->isChecked());
    QCOMPARE(form.FilenameEdit1->text(), settings.AlarmSoundFile);
    QCOMPARE(form.FilenameEdit2->text(), settings.PreAlarmSoundFile);
    QCOMPARE(form.LCD99->onColor(), QColor(Qt::black));
    QCOMPARE(form.LCD99->color(), QColor(Qt::white));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestOption::badColourNameFillsEveryControl()
{
    Settings settings = storedSettings();
    settings.LCDForeColor = QStringLiteral("clRedd");
    settings.LCDBackColor = QStringLiteral("#fff");
    settings.AlarmTime = 20;
    FakeDialogs dialogs;
    TOptionForm form(settings, nullptr, dialogs);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.constFirst().text, QStringLiteral("'clRedd' は整数ではありません."));
    QCOMPARE(form.ForeColorButton->selectionColor(), ColorValue(0x000000));
    QCOMPARE(form.BackColorButton->selectionColor(), ColorValue(0xFFFFFF));
    QCOMPARE(form.SpinEdit1->value(), 20);
    QCOMPARE(form.FilenameEdit2->text(), settings.PreAlarmSoundFile);
    form.OKBtn->click();
    QCOMPARE(settings.LCDForeColor, QStringLiteral("clBlack"));
    QCOMPARE(settings.LCDBackColor, QStringLiteral("clWhite"));
    QCOMPARE(settings.PreAlarmSoundFile, QStringLiteral("/opt/vemi//Sound/Hurryup.wav"));
}

void TestOption::okStoresColoursAndRecoloursTheMainDisplay_data()
{
    QTest::addColumn<uint>("fore");
    QTest::addColumn<uint>("back");
    QTest::addColumn<QString>("foreName");
    QTest::addColumn<QString>("backName");

    QTest::newRow("named") << 0x0000FFu << 0x00FFFFu << "clRed"
                           << "clYellow";
    QTest::newRow("custom") << 0x563412u << 0x000080u << "$00563412"
                            << "clMaroon";
}

void TestOption::okStoresColoursAndRecoloursTheMainDisplay()
{
    QFETCH(uint, fore);
    QFETCH(uint, back);
    Trainer trainer;
    runOptions(trainer, [&](TOptionForm &form) {
        form.ForeColorButton->setSelectionColor(fore);
        form.BackColorButton->setSelectionColor(back);
        QCOMPARE(form.LCD99->onColor(), rgb(fore)); // the preview follows at once
        form.OKBtn->click();
    });
    QTEST(trainer.settings.LCDForeColor, "foreName");
    QTEST(trainer.settings.LCDBackColor, "backName");
    const QColor backColor = rgb(back);
    TLCD99 *display = trainer.window->LCD99;
    QCOMPARE(display->onColor(), rgb(fore));
    QCOMPARE(display->color(), backColor);
    QCOMPARE(display->offColor(), backColor);
    QCOMPARE(display->grab().toImage().pixelColor(0, 0), backColor);
}

void TestOption::cancelAndEscStoreNothing()
{
    Trainer trainer;
    const Settings before = trainer.settings;
    const QColor onBefore = trainer.window->LCD99->onColor();
    const auto changeEverything = [](TOptionForm &form) {
        form.ForeColorButton->setSelectionColor(0x0000FF);
        form.BackColorButton->setSelectionColor(0x00FFFF);
        QTest::mouseClick(form.SpinEdit2->spinButton()->upButton(), Qt::LeftButton);
        form.CheckBox1->setChecked(false);
        form.FilenameEdit1->setText(QStringLiteral("/tmp/other.wav"));
    };
    runOptions(trainer, [&](TOptionForm &form) {
        changeEverything(form);
        form.CancelBtn->click();
    });
    runOptions(trainer, [&](TOptionForm &form) {
        changeEverything(form);
        QTest::keyClick(form.FilenameEdit1, Qt::Key_Escape);
    });
    QVERIFY(sameSettings(trainer.settings, before));
    QCOMPARE(trainer.window->LCD99->onColor(), onBefore);
    // Enter in a file-name edit presses the default button, OK.
    runOptions(trainer, [&](TOptionForm &form) {
        form.CheckBox1->setChecked(false);
        form.FilenameEdit1->setFocus();
        QTest::keyClick(form.FilenameEdit1, Qt::Key_Return);
        QVERIFY(!form.isVisible());
    });
    QVERIFY(!trainer.settings.PreAlarm);
}

void TestOption::okKeepsSoundPathsAsShown_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");

    QTest::newRow("blank, file missing") << "/home/u/My Sounds/a.wav"
                                         << "/home/u/My Sounds/a.wav";
    QTest::newRow("quoted") << "\"/home/u/My Sounds/a.wav\""
                            << "/home/u/My Sounds/a.wav";
    QTest::newRow("default in a folder with a blank") << "/opt/my vemi//Sound/Timeup.wav"
                                                      << "/opt/my vemi//Sound/Timeup.wav";
    QTest::newRow("empty") << ""
                           << "";
}

void TestOption::okKeepsSoundPathsAsShown()
{
    QFETCH(QString, shown);
    Settings settings = storedSettings();
    settings.PreAlarmSoundFile = shown;
    FakeDialogs dialogs;
    TOptionForm form(settings, nullptr, dialogs);
    form.FilenameEdit1->setText(shown);
    form.OKBtn->click();
    QTEST(settings.AlarmSoundFile, "stored");
    QTEST(settings.PreAlarmSoundFile, "stored");
}

void TestOption::okRefusesAPathThatWouldReadBackOtherwise_data()
{
    QTest::addColumn<QString>("name"); // in a temporary folder; "/" starts a path of its own
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("reason");
    QTest::newRow("character CP932 lacks") << "/home/u/Müsik/a.wav" << false << "「ü」";
    QTest::newRow("line break") << "a\nb.wav" << true << "改行";
    QTest::newRow("longer than 2047 bytes")
        << QString(u'/' + QString(2047, u'x')) << false << "2047 バイト";
    QTest::newRow("over 2047 bytes in UTF-8 only")
        << QString(u'/' + QString(683, u'音')) << false << "2047 バイト";
}

void TestOption::okRefusesAPathThatWouldReadBackOtherwise()
{
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
    if (exists)
        QVERIFY(writeAll(path, "RIFF"));
    Settings settings = storedSettings();
    const Settings before = settings;
    FakeDialogs dialogs;
    TOptionForm form(settings, nullptr, dialogs);
    form.show();
    form.FilenameEdit2->setText(path);
    form.OKBtn->click();
    QVERIFY(form.isVisible());
    QVERIFY(sameSettings(settings, before));
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages.constFirst().text.contains(reason),
        qPrintable(dialogs.messages.constFirst().text));
    QCOMPARE(form.FilenameEdit2->text(), before.PreAlarmSoundFile);
    form.OKBtn->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestOption)
#include "tst_option.moc"
