#include "controls/edit/Spin.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <climits>
#include <memory>

namespace {

std::unique_ptr<TSpinEdit> makeSpin(int min, int max, int value, bool editorEnabled = true)
{
    auto spin = std::make_unique<TSpinEdit>();
    spin->setMinValue(min);
    spin->setMaxValue(max);
    spin->setValue(value);
    spin->setEditorEnabled(editorEnabled);
    spin->setGeometry(0, 0, 41, 24);
    return spin;
}

} // namespace

class TestSpin final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void valueReadsAndClamps_data();
    void valueReadsAndClamps();
    void disabledEditorRefusesEveryEdit_data();
    void disabledEditorRefusesEveryEdit();
    void arrowsStepAndRaiseChangeOnlyOnNewText();
    void holdingAnArrowRepeatsUpToTheLimit();
    void leavingCorrectsOnlyNumbersOutOfRange();
    void reportsValueAndLimitsToAccessibility();
    void buttonSitsInsideTheRightEnd();
};

void TestSpin::initTestCase()
{
    // The options dialog's font, ＭＳ Ｐゴシック 12 px, as the program draws it
    // (IPAPGothic): the sizes below are the dialog's. The desktop's default
    // font depends on what else is installed and may be taller.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void TestSpin::valueReadsAndClamps_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("text"); // set as text; empty: setValue(assigned) instead
    QTest::addColumn<int>("assigned");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("value");

    QTest::newRow("in range") << 1 << 99 << QString() << 42 << "42" << 42;
    QTest::newRow("above max") << 1 << 99 << QString() << 150 << "99" << 99;
    QTest::newRow("below min") << 1 << 99 << QString() << 0 << "1" << 1;
    QTest::newRow("equal limits clamp nothing") << 5 << 5 << QString() << -7 << "-7" << -7;
    QTest::newRow("zero limits clamp nothing") << 0 << 0 << QString() << 100 << "100" << 100;
    QTest::newRow("empty text reads min") << 3 << 9 << "" << 0 << "" << 3;
    QTest::newRow("non-numeric text reads min") << 3 << 9 << "abc" << 0 << "abc" << 3;
    QTest::newRow("text out of range reads as is") << 3 << 9 << "12" << 0 << "12" << 12;
}

void TestSpin::valueReadsAndClamps()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, text);
    QFETCH(int, assigned);
    auto spin = makeSpin(min, max, min);
    if (text.isNull())
        spin->setValue(assigned);
    else
        spin->setText(text);
    QTEST(spin->text(), "shown");
    QTEST(spin->value(), "value");
}

void TestSpin::disabledEditorRefusesEveryEdit_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("digit") << int(Qt::Key_5) << int(Qt::NoModifier);
    QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
    QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier);
    QTest::newRow("cut") << int(Qt::Key_X) << int(Qt::ControlModifier);
    QTest::newRow("Shift+Delete cut") << int(Qt::Key_Delete) << int(Qt::ShiftModifier);
    QTest::newRow("paste") << int(Qt::Key_V) << int(Qt::ControlModifier);
    QTest::newRow("Shift+Insert paste") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
}

// "10" must not become "0" or "" behind the learner's back: only the arrows edit.
void TestSpin::disabledEditorRefusesEveryEdit()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto spin = makeSpin(1, 99, 10, false);
    spin->show();
    QApplication::clipboard()->setText(QStringLiteral("55"));
    spin->setFocus();
    for (int cursor : { 0, 1, 2 }) {
        spin->setCursorPosition(cursor);
        QTest::keyClick(spin.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        spin->selectAll();
        QTest::keyClick(spin.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    QCOMPARE(spin->text(), QStringLiteral("10"));
    QTest::keyClick(spin.get(), Qt::Key_Up);
    QCOMPARE(spin->value(), 11);
}

void TestSpin::arrowsStepAndRaiseChangeOnlyOnNewText()
{
    auto spin = makeSpin(1, 99, 98, false);
    spin->setIncrement(2);
    spin->show();
    QVERIFY(QTest::qWaitForWindowActive(spin.get()));
    QSignalSpy changes(spin.get(), &TSpinEdit::changed);
    QTest::mouseClick(spin->spinButton()->downButton(), Qt::LeftButton);
    QCOMPARE(spin->value(), 96);
    QVERIFY(spin->hasFocus()); // pressing an arrow moves the focus to the edit
    QTest::keyClick(spin.get(), Qt::Key_Up);
    QTest::mouseClick(spin->spinButton()->upButton(), Qt::LeftButton); // 98 + 2 clamps to 99
    QTest::keyClick(spin.get(), Qt::Key_Up); // stays at 99: no change event
    QCOMPARE(spin->value(), 99);
    QCOMPARE(changes.count(), 3);

    spin->setLocked(true); // ReadOnly: the arrows only beep
    QTest::keyClick(spin.get(), Qt::Key_Down);
    QTest::mouseClick(spin->spinButton()->downButton(), Qt::LeftButton);
    QCOMPARE(spin->value(), 99);
}

void TestSpin::holdingAnArrowRepeatsUpToTheLimit()
{
    auto spin = makeSpin(1, 99, 97);
    spin->show();
    QSignalSpy changes(spin.get(), &TSpinEdit::changed);
    TTimerSpeedButton *up = spin->spinButton()->upButton();
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(TTimerSpeedButton::RepeatDelay / 4);
    QCOMPARE(spin->value(), 97); // nothing before the first repeat
    QTRY_COMPARE_WITH_TIMEOUT(spin->value(), 99, 2000);
    QTest::qWait(3 * TTimerSpeedButton::RepeatInterval);
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(spin->value(), 99);
    QCOMPARE(changes.count(), 2);
}

void TestSpin::leavingCorrectsOnlyNumbersOutOfRange()
{
    QWidget form;
    auto *spin = new TSpinEdit(&form);
    spin->setMinValue(1);
    spin->setMaxValue(99);
    auto *other = new QLineEdit(&form);
    other->move(0, 40);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    for (const auto &[typed, left] :
        { std::pair { "150", "99" }, { "-3", "1" }, { "", "" }, { "50", "50" } }) {
        spin->setFocus();
        spin->setText(QString::fromLatin1(typed));
        other->setFocus();
        QCOMPARE(spin->text(), QString::fromLatin1(left));
    }
}

void TestSpin::reportsValueAndLimitsToAccessibility()
{
    auto spin = makeSpin(1, 99, 12);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(spin.get());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::SpinBox);
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("12"));
    QAccessibleValueInterface *value = accessible->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toInt(), 12);
    QCOMPARE(value->minimumValue().toInt(), 1);
    QCOMPARE(value->maximumValue().toInt(), 99);
    spin->setMaxValue(1); // equal limits: none
    QCOMPARE(value->minimumValue().toInt(), INT_MIN);
    QCOMPARE(value->maximumValue().toInt(), INT_MAX);
}

void TestSpin::buttonSitsInsideTheRightEnd()
{
    auto spin = makeSpin(1, 99, 10);
    spin->resize(41, 24);
    spin->show();
    const TSpinButton *button = spin->spinButton();
    // x = width - 15 - 5 and height - 5 inside the 2-pixel frame.
    QCOMPARE(button->geometry(), QRect(41 - 15 - 5 + 2, 2, 15, 24 - 5));
    QCOMPARE(button->upButton()->geometry(), QRect(0, 0, 15, 19 / 2));
    QCOMPARE(button->downButton()->geometry(), QRect(0, 19 / 2 - 1, 15, 19 - 19 / 2 + 1));
    QCOMPARE(TSpinButton::upGlyph().size(), QSize(9, 6));
    QCOMPARE(TSpinButton::downGlyph().size(), QSize(9, 6));
    QVERIFY(spin->textMargins().right() >= 15 + 2);

    // The 9 x 6 glyphs centred: up 15 x 9 puts its tip at (7, 2), down 15 x 11 at (7, 6).
    const QImage up = button->upButton()->grab().toImage();
    const QImage down = button->downButton()->grab().toImage();
    const QColor face = spin->palette().color(QPalette::Button);
    QCOMPARE(up.pixelColor(7, 2), QColor(Qt::black));
    QCOMPARE(up.pixelColor(6, 2), face);
    QCOMPARE(up.pixelColor(4, 5), QColor(Qt::black));
    QCOMPARE(down.pixelColor(7, 6), QColor(Qt::black));
    QCOMPARE(down.pixelColor(8, 6), face);
}

QTEST_MAIN(TestSpin)
#include "tst_spin.moc"
