#include "controls/color/ColorPickerButton.h"
#include "controls/color/ColorPopup.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

using namespace ColorPalette;

namespace {

const QColor Face(192, 192, 192);
const QColor Shadow(128, 128, 128);
const QColor Highlight(255, 255, 255);

// A window holding one button as the options dialog places it.
struct Fixture
{
    QWidget host;
    TColorPickerButton *button;

    Fixture()
        : button(new TColorPickerButton(&host))
    {
        QPalette pal = QApplication::palette();
        pal.setColor(QPalette::Button, Face);
        pal.setColor(QPalette::Dark, Shadow);
        pal.setColor(QPalette::Light, Highlight);
        pal.setColor(QPalette::Shadow, QColor(0, 0, 0));
        QApplication::setPalette(pal);
        host.resize(200, 100);
        button->setGeometry(56, 16, 45, 22);
        button->setCustomText(QStringLiteral("その他"));
        host.show();
    }
    ~Fixture() { button->closeUp(); }

    TColorPopup *popup() const { return button->popup(); }
    void open() const { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(37, 11)); }
    void clickPopup(QPoint point) const { QTest::mouseClick(popup(), Qt::LeftButton, {}, point); }
    QPoint cellCentre(int index) const { return popup()->paletteLayout().cellRect(index).center(); }
};

QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class TestColorPickerButton final : public QObject
{
    Q_OBJECT

private slots:
    void matchingOnOpen_data();
    void matchingOnOpen();
    void dropDownZone_data();
    void dropDownZone();
    void popupSignalsWhatWasChosen_data();
    void popupSignalsWhatWasChosen();
    void pickingCells();
    void closingClickDoesNotReopen();
    void customArea();
    void intensitySlider();
    void keyboard_data();
    void keyboard();
    void buttonImage();
    void paletteImage();
    void optionsWhileOpen();
    void accessibility();
};

void TestColorPickerButton::matchingOnOpen_data()
{
    QTest::addColumn<ColorValue>("color");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("marked");
    QTest::newRow("Dark Teal") << rgb(0, 51, 102) << 4 << 0;
    QTest::newRow("no match") << rgb(10, 20, 30) << int(NoEntry) << 0;
    QTest::newRow("clRed") << ColorValue(0x0000FF) << 16 << 0;
    QTest::newRow("clNone") << ColorNames::ColorNone << int(NoEntry) << 0;
    QTest::newRow("colour comb cell 1") << rgb(255, 212, 255) << int(CustomEntry) << 2;
    QTest::newRow("grey comb cell 1") << rgb(225, 225, 225) << int(CustomEntry) << -2;
}

void TestColorPickerButton::matchingOnOpen()
{
    QFETCH(ColorValue, color);
    QFETCH(int, selected);
    QFETCH(int, marked);
    Fixture f;
    f.button->setSelectionColor(color);
    f.open();
    QVERIFY(f.button->isDroppedDown());
    QVERIFY(f.popup()->isVisible());
    QCOMPARE(f.popup()->selectedIndex(), selected);
    const Layout &l = f.popup()->paletteLayout();
    if (selected == CustomEntry) {
        QCOMPARE(f.popup()->markedCell(), marked);
        QCOMPARE(f.popup()->height(), l.customHeight);
    } else {
        QCOMPARE(f.popup()->height(), l.paletteHeight);
    }
    // Below the button, one pixel to the left.
    QCOMPARE(f.popup()->pos(), f.button->mapToGlobal(QPoint(-1, 22)));
}

void TestColorPickerButton::dropDownZone_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("opens");
    QTest::newRow("swatch") << 10 << false;
    QTest::newRow("separator's shadow line") << 29 << false;
    QTest::newRow("first pixel of the drop-down part") << 30 << true;
    QTest::newRow("last pixel") << 44 << true;
}

void TestColorPickerButton::dropDownZone()
{
    QFETCH(int, x);
    QFETCH(bool, opens);
    Fixture f;
    QSignalSpy clicked(f.button, &TColorPickerButton::clicked);
    QSignalSpy dropChanged(f.button, &TColorPickerButton::dropChanged);
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(x, 11));
    QCOMPARE(f.button->isDroppedDown(), opens);
    QCOMPARE(f.button->isDown(), true);
    QTest::mouseRelease(opens ? static_cast<QWidget *>(f.popup()) : f.button, Qt::LeftButton, {},
        opens ? f.popup()->mapFromGlobal(f.button->mapToGlobal(QPoint(x, 11))) : QPoint(x, 11));
    // The opening press's release lands outside the palette: it stays open.
    QCOMPARE(f.button->isDroppedDown(), opens);
    QCOMPARE(clicked.count(), opens ? 0 : 1);
    QCOMPARE(dropChanged.count(), opens ? 1 : 0);
}

void TestColorPickerButton::popupSignalsWhatWasChosen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("signalled");
    QTest::newRow("cell") << "cell 16" << QStringList { "closed", "picked 255" };
    QTest::newRow("Esc") << "Esc" << QStringList { "closed" };
    QTest::newRow("press outside") << "outside" << QStringList { "closed" };
    QTest::newRow("default accelerator") << "Alt+D" << QStringList { "closed", "default" };
    QTest::newRow("custom entry stays open") << "custom" << QStringList {};
}

// The palette knows only the widget it drops from: it closes itself and says so.
void TestColorPickerButton::popupSignalsWhatWasChosen()
{
    QFETCH(QString, action);
    QFETCH(QStringList, signalled);
    QWidget anchor;
    anchor.setGeometry(40, 40, 45, 22);
    anchor.show();
    TColorPopup popup(&anchor);
    popup.setEntries({ QStringLiteral("その他"), QStringLiteral("既定(&D)"), 8, false });
    QStringList seen;
    connect(&popup, &TColorPopup::closed, &popup, [&] { seen << "closed"; });
    connect(&popup, &TColorPopup::defaultPicked, &popup, [&] { seen << "default"; });
    connect(&popup, &TColorPopup::picked, &popup,
        [&](ColorValue color) { seen << QStringLiteral("picked %1").arg(color); });
    popup.showBelow();
    QCOMPARE(popup.pos(), anchor.mapToGlobal(QPoint(-1, 22)));
    const Layout &l = popup.paletteLayout();
    if (action == "cell 16")
        QTest::mouseClick(&popup, Qt::LeftButton, {}, l.cellRect(16).center());
    else if (action == "Esc")
        QTest::keyClick(&popup, Qt::Key_Escape);
    else if (action == "outside")
        QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(-20, -20));
    else if (action == "Alt+D")
        QTest::keyClick(&popup, Qt::Key_D, Qt::AltModifier);
    else
        QTest::mouseClick(&popup, Qt::LeftButton, {}, l.customEntry.center());
    QCOMPARE(seen, signalled);
    QCOMPARE(popup.isVisible(), signalled.isEmpty());
}

void TestColorPickerButton::pickingCells()
{
    Fixture f;
    QSignalSpy changed(f.button, &TColorPickerButton::changed);
    f.open();
    f.clickPopup(f.cellCentre(16));
    QVERIFY(!f.button->isDroppedDown());
    QVERIFY(!f.popup()->isVisible());
    QCOMPARE(f.button->selectionColor(), ColorValue(0x0000FF));
    QCOMPARE(changed.count(), 1);

    // The colour already selected closes without a change.
    f.open();
    QCOMPARE(f.popup()->selectedIndex(), 16);
    f.clickPopup(f.cellCentre(16));
    QVERIFY(!f.button->isDroppedDown());
    QCOMPARE(changed.count(), 1);

    // A press outside the palette closes it and changes nothing.
    f.open();
    f.clickPopup(QPoint(-20, -20));
    QVERIFY(!f.button->isDroppedDown());
    QCOMPARE(f.button->selectionColor(), ColorValue(0x0000FF));
    QCOMPARE(changed.count(), 1);

    // Releasing between the cells keeps it open.
    f.open();
    f.clickPopup(QPoint(5, 2));
    QVERIFY(f.button->isDroppedDown());
    QCOMPARE(changed.count(), 1);

    // Another application taking over closes it without a change.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QVERIFY(!f.button->isDroppedDown());
    QCOMPARE(changed.count(), 1);
}

void TestColorPickerButton::closingClickDoesNotReopen()
{
    Fixture f;
    QWindow *window = f.host.windowHandle();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const QPoint dropDown = f.button->mapTo(&f.host, QPoint(37, 11));
    QTest::mouseClick(window, Qt::LeftButton, {}, dropDown);
    QTRY_VERIFY(f.button->isDroppedDown());
    QTest::mouseClick(window, Qt::LeftButton, {}, dropDown);
    QTRY_VERIFY(!f.popup()->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(!f.button->isDroppedDown());

    // The offscreen platform never replays a closing press, so check that the
    // palette asks for none when the press is on its button, and only then.
    const auto closeWithPressAt = [&f](QPoint onButton) {
        f.open();
        const QPoint inPopup = f.popup()->mapFromGlobal(f.button->mapToGlobal(onButton));
        QTest::mousePress(f.popup(), Qt::LeftButton, {}, inPopup);
        QTest::mouseRelease(f.button, Qt::LeftButton, {}, onButton);
        return f.popup()->testAttribute(Qt::WA_NoMouseReplay);
    };
    QVERIFY(closeWithPressAt(QPoint(37, 11)));
    QVERIFY(!f.button->isDroppedDown());
    QVERIFY(!closeWithPressAt(QPoint(-30, 11)));
    QVERIFY(!f.button->isDroppedDown());
}

void TestColorPickerButton::customArea()
{
    Fixture f;
    QSignalSpy changed(f.button, &TColorPickerButton::changed);
    f.open();
    const Layout &l = f.popup()->paletteLayout();
    f.clickPopup(l.customEntry.center());
    QVERIFY(f.popup()->isVisible());
    QVERIFY(f.popup()->isCustomMode());
    QCOMPARE(f.popup()->height(), l.customHeight);

    // A comb press that marks nothing: the release keeps the palette open.
    f.clickPopup(l.comb.topLeft() + QPoint(2, 2));
    QVERIFY(f.popup()->isVisible());
    QCOMPARE(f.popup()->markedCell(), 0);
    QCOMPARE(changed.count(), 0);

    // A drag from a cell off the comb clears the mark: nothing taken either.
    const QPoint cell1 = l.combCentre() + QPoint(9, 0);
    QTest::mousePress(f.popup(), Qt::LeftButton, {}, cell1);
    QCOMPARE(f.popup()->markedCell(), 2);
    QTest::mouseMove(f.popup(), QPoint(l.width - 4, l.comb.top() + 2));
    QCOMPARE(f.popup()->markedCell(), 0);
    QTest::mouseRelease(f.popup(), Qt::LeftButton, {}, QPoint(l.width - 4, l.comb.top() + 2));
    QVERIFY(f.popup()->isVisible());

    f.clickPopup(cell1 + QPoint(1, 2)); // within h div 2 of the centre
    QVERIFY(!f.popup()->isVisible());
    QCOMPARE(f.button->selectionColor(), rgb(255, 212, 255));
    QCOMPARE(changed.count(), 1);

    // The grey comb: the big black cell takes presses within h of its centre.
    f.open();
    QVERIFY(f.popup()->isCustomMode());
    QCOMPARE(f.popup()->markedCell(), 2);
    f.clickPopup(l.grey.topLeft() + QPoint(124 - 9, 11 + 3));
    QCOMPARE(f.button->selectionColor(), rgb(0, 0, 0));
}

void TestColorPickerButton::intensitySlider()
{
    Fixture f;
    f.button->setSelectionColor(rgb(255, 212, 255));
    f.open();
    const Layout &l = f.popup()->paletteLayout();
    QTest::mousePress(f.popup(), Qt::LeftButton, {}, l.slider.topLeft() + QPoint(5, 0));
    QCOMPARE(f.popup()->intensity(), 1.0);
    QTest::mouseMove(f.popup(), QPoint(l.slider.left() + 5, l.slider.bottom() + 30));
    QCOMPARE(f.popup()->intensity(), 0.0);
    QTest::mouseRelease(f.popup(), Qt::LeftButton, {}, QPoint(l.slider.left() + 5, 400));
    QVERIFY(f.popup()->isVisible());
    const QList<CombCell> &comb = f.popup()->combCells();
    QCOMPARE(comb.at(0).color, rgb(0, 0, 0));
    QCOMPARE(comb.at(1).color, rgb(42, 0, 42));
    QCOMPARE(comb.at(16).color, rgb(255, 0, 255)); // a corner stays pure
    // The marked cell keeps its index, so its colour follows.
    QCOMPARE(f.popup()->markedColor(), rgb(42, 0, 42));

    const QImage image = f.popup()->grab().toImage();
    QCOMPARE(pixel(image, l.combCentre().x(), l.combCentre().y()), QColor(0, 0, 0));
    QCOMPARE(pixel(image, l.slider.left() + 3, l.slider.top()), QColor(255, 255, 255));
    QCOMPARE(pixel(image, l.slider.left() + 3, l.slider.bottom()), QColor(0, 0, 0));
    // The marker's tip sits on the bottom row.
    QCOMPARE(pixel(image, l.slider.left() + 13, l.slider.bottom()), QColor(0, 0, 0));
}

void TestColorPickerButton::keyboard_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<ColorValue>("result");
    QTest::addColumn<bool>("open");
    const ColorValue teal = rgb(0, 51, 102);
    QTest::newRow("first arrow goes to the selected cell")
        << QList<int> { Qt::Key_Right, Qt::Key_Return } << teal << false;
    QTest::newRow("then it moves")
        << QList<int> { Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Space }
        << paletteColor(13) << false;
    QTest::newRow("Esc changes nothing")
        << QList<int> { Qt::Key_Left, Qt::Key_Escape } << teal << false;
    QTest::newRow("Enter without a hover cell") << QList<int> { Qt::Key_Enter } << teal << false;
    QTest::newRow("up from the top row to the custom entry")
        << QList<int> { Qt::Key_Up, Qt::Key_Up, Qt::Key_Return } << teal << true;
}

void TestColorPickerButton::keyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(ColorValue, result);
    QFETCH(bool, open);
    Fixture f;
    f.button->setSelectionColor(rgb(0, 51, 102));
    QTest::keyClick(f.button, Qt::Key_Down, Qt::AltModifier); // opens it as the mouse does
    QVERIFY(f.button->isDroppedDown());
    for (const int key : keys)
        QTest::keyClick(f.popup(), Qt::Key(key));
    QCOMPARE(f.button->selectionColor(), result);
    QCOMPARE(f.button->isDroppedDown(), open);
    if (open)
        QVERIFY(f.popup()->isCustomMode());
}

void TestColorPickerButton::buttonImage()
{
    Fixture f;
    f.button->setSelectionColor(0x0000FF);
    QImage image = f.button->grab().toImage();
    QCOMPARE(pixel(image, 4, 4), Shadow); // the swatch's outline
    QCOMPARE(pixel(image, 23, 17), Shadow);
    QCOMPARE(pixel(image, 5, 5), QColor(255, 0, 0));
    QCOMPARE(pixel(image, 22, 16), QColor(255, 0, 0));
    QCOMPARE(pixel(image, 24, 10), Face);
    QCOMPARE(pixel(image, 29, 10), Shadow); // the separator
    QCOMPARE(pixel(image, 30, 10), Highlight);
    for (const QPoint p : { QPoint(34, 11), QPoint(40, 11), QPoint(37, 14) })
        QCOMPARE(pixel(image, p.x(), p.y()), QColor(0, 0, 0));
    QCOMPARE(pixel(image, 37, 15), Face);

    // The main part pressed: the separator and the arrow move one pixel.
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(10, 10));
    image = f.button->grab().toImage();
    QCOMPARE(pixel(image, 30, 10), Shadow);
    QCOMPARE(pixel(image, 31, 10), Highlight);
    QCOMPARE(pixel(image, 38, 15), QColor(0, 0, 0));
    QTest::mouseRelease(f.button, Qt::LeftButton, {}, QPoint(10, 10));

    // Open from the drop-down part: that part alone is drawn pressed.
    f.open();
    image = f.button->grab().toImage();
    QCOMPARE(pixel(image, 30, 10), QColor(0, 0, 0)); // the pressed part's own edge
    QCOMPARE(pixel(image, 29, 10), Face); // no separator
    QCOMPARE(pixel(image, 38, 15), QColor(0, 0, 0));
    QCOMPARE(pixel(image, 4, 4), Shadow); // the face stays up

    // Disabled: closed, a shadow-coloured arrow, and presses do nothing.
    f.button->setEnabled(false);
    QVERIFY(!f.button->isDroppedDown());
    QTest::mousePress(f.button, Qt::LeftButton, {}, QPoint(37, 11));
    QVERIFY(!f.button->isDroppedDown());
    image = f.button->grab().toImage();
    QCOMPARE(pixel(image, 37, 12), Shadow);
}

void TestColorPickerButton::paletteImage()
{
    Fixture f;
    f.button->setSelectionColor(rgb(0, 51, 102));
    f.open();
    const Layout &l = f.popup()->paletteLayout();
    QImage image = f.popup()->grab().toImage();
    QCOMPARE(image.size(), QSize(164, l.paletteHeight));
    // Cell 4 from (82, 4): sunken edge, highlight background, grey-outlined colour square.
    QCOMPARE(pixel(image, 82, 4), Shadow);
    QCOMPARE(pixel(image, 84, 6), Highlight);
    QCOMPARE(pixel(image, 85, 7), Shadow); // the outline, grey 128
    QCOMPARE(pixel(image, 86, 8), QColor(0, 51, 102));
    QCOMPARE(pixel(image, 96, 18), Shadow);
    // Cell 5 is plain: no edge, face background.
    QCOMPARE(pixel(image, 100, 4), Face);
    QCOMPARE(pixel(image, 104, 8), QColor(0, 0, 128));
    // The custom entry's sample: an empty frame while nothing is marked.
    QCOMPARE(pixel(image, l.customSample.left(), l.customSample.top()), Shadow);
    QCOMPARE(pixel(image, l.customSample.left() + 3, l.customSample.top() + 3), Face);

    // Custom mode with a comb cell marked: its colour in the sample and its outline inverted.
    f.button->setSelectionColor(rgb(255, 212, 255));
    image = f.popup()->grab().toImage();
    QCOMPARE(image.height(), l.customHeight);
    QCOMPARE(
        pixel(image, l.customSample.left() + 3, l.customSample.top() + 3), QColor(255, 212, 255));
    const QPoint c = l.combCentre();
    QCOMPARE(pixel(image, c.x(), c.y()), QColor(255, 255, 255));
    QCOMPARE(pixel(image, c.x() + 9, c.y()), QColor(255, 212, 255));
    // The mark's bottom corner, XOR-ed with white over the south-east neighbour (255, 212, 212).
    QCOMPARE(pixel(image, c.x() + 9, c.y() + 6), QColor(0, 43, 43));
    QCOMPARE(pixel(image, c.x() + 55, c.y()), QColor(255, 0, 255));
    const QPoint white = l.grey.topLeft() + QPoint(11, 11);
    QCOMPARE(pixel(image, white.x(), white.y()), QColor(255, 255, 255));
}

void TestColorPickerButton::optionsWhileOpen()
{
    Fixture f;
    f.button->setSelectionColor(rgb(255, 212, 255));
    f.open();
    QVERIFY(f.popup()->isCustomMode());
    f.button->setSelectionColor(rgb(0, 51, 102));
    QCOMPARE(f.popup()->selectedIndex(), 4);
    QCOMPARE(f.popup()->height(), f.popup()->paletteLayout().paletteHeight);
    f.button->setSelectionColor(rgb(255, 212, 255));
    f.button->setCustomText(QString());
    QCOMPARE(f.popup()->selectedIndex(), int(NoEntry));
    QVERIFY(!f.popup()->paletteLayout().hasCustom());
    QCOMPARE(f.popup()->height(), 98);
    f.button->setShowSystemColors(true);
    QCOMPARE(f.popup()->paletteLayout().cellCount, PaletteCount + SystemCount);
    f.button->setSelectionColor(ColorNames::SystemColorBase + 5);
    QCOMPARE(f.popup()->selectedIndex(), PaletteCount + 5);
}

void TestColorPickerButton::accessibility()
{
    Fixture f;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(f.button);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::ButtonDropDown);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("clBlack"));
    f.button->setSelectionColor(0x00FFFF);
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("clYellow"));
    f.button->setSelectionColor(rgb(0, 51, 102));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("$00663300"));

    // The palette tells which entry the keys are on.
    f.open();
    QAccessibleInterface *palette = QAccessible::queryAccessibleInterface(f.popup());
    QVERIFY(palette);
    QTest::keyClick(f.popup(), Qt::Key_Down);
    QCOMPARE(palette->text(QAccessible::Value), QStringLiteral("Dark Teal"));
    QTest::keyClick(f.popup(), Qt::Key_Down);
    QCOMPARE(palette->text(QAccessible::Value), QStringLiteral("Teal"));
}

QTEST_MAIN(TestColorPickerButton)
#include "tst_colorpickerbutton.moc"
