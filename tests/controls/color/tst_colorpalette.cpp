#include "controls/color/ColorPalette.h"

#include <QTest>

using namespace ColorPalette;

namespace {

Layout standardLayout(bool custom = true)
{
    Options options;
    if (custom)
        options.customText = QSize(36, 13);
    return Layout::compute(options);
}

// The index of a colour comb cell from its sextant, ring and place in the ring.
int combIndex(int s, int j, int k)
{
    return 1 + s * 21 + (j - 1) * j / 2 + k;
}

} // namespace

class TestColorPalette final : public QObject
{
    Q_OBJECT

private slots:
    void layoutGeometry();
    void hitTestAtCellEdges_data();
    void hitTestAtCellEdges();
    void colorComb_data();
    void colorComb();
    void combCellsAreDistinct();
    void greyComb_data();
    void greyComb();
    void slider();
    void navigation_data();
    void navigation();
    void placement_data();
    void placement();
};

void TestColorPalette::layoutGeometry()
{
    const Layout l = standardLayout();
    QCOMPARE(l.width, 164);
    QCOMPARE(l.cellRect(0), QRect(10, 4, 18, 18));
    QCOMPARE(l.cellRect(39), QRect(136, 76, 18, 18));
    // Entry height th + 4E + 2 = 23, starting at the grid's bottom 98.
    QCOMPARE(l.customEntry, QRect(10, 98, 144, 23));
    QCOMPARE(l.paletteHeight, 98 + 23 + 4);
    // Sample: side 12, right edge 5 in from the entry's, top 98 + 3 + (23 - 16 - 2) / 2.
    QCOMPARE(l.customSample, QRect(137, 103, 12, 12));
    QCOMPARE(l.hexSize(), 11);
    QCOMPARE(l.comb, QRect(10, 125, 126, 126));
    QCOMPARE(l.combCentre(), QPoint(73, 188));
    QCOMPARE(l.grey, QRect(QPoint(10, 247), QPoint(146, 272)));
    QCOMPARE(l.slider, QRect(136, 136, 20, 104));
    QCOMPARE(l.customHeight, 273 + 4);

    const Layout plain = standardLayout(false);
    QCOMPARE(QSize(plain.width, plain.paletteHeight), QSize(164, 98));
    QVERIFY(!plain.hasCustom());

    Options system;
    system.showSystem = true;
    const Layout withSystem = Layout::compute(system);
    QCOMPARE(withSystem.cellCount, 65);
    QCOMPARE(withSystem.cellRect(40), QRect(10, 4 + 90 + 6, 18, 18));
    QCOMPARE(withSystem.paletteHeight, 98 + 72 + 6);
}

void TestColorPalette::hitTestAtCellEdges_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("index");
    QTest::newRow("cell 0 top-left") << QPoint(10, 4) << 0;
    QTest::newRow("cell 0 right pixel") << QPoint(27, 21) << 0;
    QTest::newRow("cell 1 left pixel") << QPoint(28, 4) << 1;
    QTest::newRow("margin left of cell 0") << QPoint(9, 4) << NoEntry;
    QTest::newRow("above row 0") << QPoint(10, 3) << NoEntry;
    QTest::newRow("top row of row 1") << QPoint(12, 22) << 8;
    QTest::newRow("top row of row 4") << QPoint(12, 76) << 32;
    QTest::newRow("right pixels of cell 7") << QPoint(153, 10) << 7;
    QTest::newRow("right margin") << QPoint(154, 10) << NoEntry;
    QTest::newRow("last cell bottom-right") << QPoint(153, 93) << 39;
    QTest::newRow("below the grid") << QPoint(100, 95) << NoEntry;
    QTest::newRow("custom entry") << QPoint(80, 98) << CustomEntry;
    QTest::newRow("custom entry's right end") << QPoint(153, 120) << CustomEntry;
    QTest::newRow("below the custom entry") << QPoint(80, 121) << NoEntry;
}

void TestColorPalette::hitTestAtCellEdges()
{
    QFETCH(QPoint, point);
    QFETCH(int, index);
    QCOMPARE(standardLayout().hitTest(point), index);
}

void TestColorPalette::colorComb_data()
{
    QTest::addColumn<double>("intensity");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<ColorValue>("color");
    // The unit step is cos 30 x 63 / 6 = 9.093 pixels.
    QTest::newRow("centre, full") << 1.0 << 0 << QPoint(0, 0) << rgb(255, 255, 255);
    QTest::newRow("centre, zero") << 0.0 << 0 << QPoint(0, 0) << rgb(0, 0, 0);
    QTest::newRow("first ring east, full")
        << 1.0 << combIndex(0, 1, 0) << QPoint(9, 0) << rgb(255, 212, 255);
    QTest::newRow("first ring east, zero")
        << 0.0 << combIndex(0, 1, 0) << QPoint(9, 0) << rgb(42, 0, 42);
    QTest::newRow("second ring, full")
        << 1.0 << combIndex(0, 2, 0) << QPoint(18, 0) << rgb(255, 170, 255);
    QTest::newRow("second ring, zero")
        << 0.0 << combIndex(0, 2, 0) << QPoint(18, 0) << rgb(85, 0, 85);
    QTest::newRow("south-east ring 1")
        << 1.0 << combIndex(1, 1, 0) << QPoint(5, 8) << rgb(255, 212, 212);
    QTest::newRow("magenta corner, full")
        << 1.0 << combIndex(0, 6, 0) << QPoint(55, 0) << rgb(255, 0, 255);
    QTest::newRow("magenta corner, zero")
        << 0.0 << combIndex(0, 6, 0) << QPoint(55, 0) << rgb(255, 0, 255);
    QTest::newRow("blue corner, zero")
        << 0.0 << combIndex(5, 6, 0) << QPoint(27, -47) << rgb(0, 0, 255);
    QTest::newRow("last cell") << 0.0 << 126 << QPoint(50, -8) << rgb(212, 0, 255);
}

void TestColorPalette::colorComb()
{
    QFETCH(double, intensity);
    QFETCH(int, cell);
    QFETCH(QPoint, position);
    QFETCH(ColorValue, color);
    const QList<CombCell> comb = ColorPalette::colorComb(intensity);
    QCOMPARE(comb.size(), CombCellCount);
    QCOMPARE(comb.at(cell).position, position);
    QCOMPARE(QString::number(comb.at(cell).color, 16), QString::number(color, 16));
    QCOMPARE(comb.at(cell).size, 11);
}

void TestColorPalette::combCellsAreDistinct()
{
    const QList<CombCell> comb = ColorPalette::colorComb(1.0);
    for (int i = 0; i < comb.size(); ++i) {
        for (int j = i + 1; j < comb.size(); ++j) {
            const QPoint d = comb.at(i).position - comb.at(j).position;
            // Neighbours lie one step (9 pixels) apart; no two cells overlap.
            QVERIFY2(d.manhattanLength() >= 8, qPrintable(QString("%1 %2").arg(i).arg(j)));
        }
    }
}

void TestColorPalette::greyComb_data()
{
    QTest::addColumn<int>("cell");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("size");
    QTest::newRow("white") << 0 << QPoint(11, 11) << 255 << 22;
    QTest::newRow("first grey") << 1 << QPoint(33, 6) << 225 << 11;
    QTest::newRow("second grey, lower") << 2 << QPoint(38, 14) << 210 << 11;
    QTest::newRow("last grey") << 15 << QPoint(103, 6) << 15 << 11;
    QTest::newRow("black") << 16 << QPoint(124, 11) << 0 << 22;
}

void TestColorPalette::greyComb()
{
    QFETCH(int, cell);
    QFETCH(QPoint, position);
    QFETCH(int, level);
    QFETCH(int, size);
    const QList<CombCell> grey = ColorPalette::greyComb(11);
    QCOMPARE(grey.size(), GreyCellCount);
    QCOMPARE(grey.at(cell).position, position);
    QCOMPARE(grey.at(cell).color, rgb(level, level, level));
    QCOMPARE(grey.at(cell).size, size);
}

void TestColorPalette::slider()
{
    QCOMPARE(sliderLevel(0, 103), 255);
    QCOMPARE(sliderLevel(103, 103), 0);
    QCOMPARE(sliderLevel(1, 2), 128); // 127.5 to the even neighbour
    const QPolygon hex = hexagon(QPoint(100, 50), 11);
    QCOMPARE(hex,
        QPolygon({ { 100, 56 }, { 105, 53 }, { 105, 47 }, { 100, 44 }, { 95, 47 }, { 95, 53 } }));
}

void TestColorPalette::navigation_data()
{
    QTest::addColumn<int>("hover");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("expected");
    QTest::newRow("no hover: to the selected cell") << NoEntry << int(Qt::Key_Right) << 4 << 4;
    QTest::newRow("no hover, nothing selected") << NoEntry << int(Qt::Key_Up) << NoEntry << 0;
    QTest::newRow("no hover: to the custom entry")
        << NoEntry << int(Qt::Key_Down) << CustomEntry << CustomEntry;
    QTest::newRow("left from the first cell") << 0 << int(Qt::Key_Left) << NoEntry << CustomEntry;
    QTest::newRow("left wraps a row") << 8 << int(Qt::Key_Left) << NoEntry << 7;
    QTest::newRow("right wraps a row") << 7 << int(Qt::Key_Right) << NoEntry << 8;
    QTest::newRow("right past the last") << 39 << int(Qt::Key_Right) << NoEntry << CustomEntry;
    QTest::newRow("up from the top row") << 3 << int(Qt::Key_Up) << NoEntry << CustomEntry;
    QTest::newRow("up a row") << 12 << int(Qt::Key_Up) << NoEntry << 4;
    QTest::newRow("down a row") << 12 << int(Qt::Key_Down) << NoEntry << 20;
    QTest::newRow("down from the bottom row") << 35 << int(Qt::Key_Down) << 0 << CustomEntry;
    QTest::newRow("custom, left") << CustomEntry << int(Qt::Key_Left) << NoEntry << 39;
    QTest::newRow("custom, up") << CustomEntry << int(Qt::Key_Up) << NoEntry << 39;
    QTest::newRow("custom, right") << CustomEntry << int(Qt::Key_Right) << NoEntry << 0;
    QTest::newRow("custom, down") << CustomEntry << int(Qt::Key_Down) << NoEntry << 0;
}

void TestColorPalette::navigation()
{
    QFETCH(int, hover);
    QFETCH(int, key);
    QFETCH(int, selected);
    QFETCH(int, expected);
    QCOMPARE(navigate(hover, key, standardLayout(), selected), expected);
}

void TestColorPalette::placement_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("below, one pixel left") << QRect(100, 100, 45, 22) << QPoint(99, 122);
    QTest::newRow("up to the screen's bottom") << QRect(100, 560, 45, 22) << QPoint(99, 575);
    QTest::newRow("above when that is not enough") << QRect(100, 680, 45, 22) << QPoint(99, 555);
    QTest::newRow("left to fit the width") << QRect(1000, 100, 45, 22) << QPoint(860, 122);
    QTest::newRow("never left of the screen") << QRect(0, 100, 45, 22) << QPoint(0, 122);
}

void TestColorPalette::placement()
{
    QFETCH(QRect, owner);
    QFETCH(QPoint, topLeft);
    // A 1024 x 700 available area (a panel below it), the palette 164 x 125.
    QCOMPARE(ColorPalette::placement(owner, QSize(164, 125), QRect(0, 0, 1024, 700)), topLeft);
}

QTEST_APPLESS_MAIN(TestColorPalette)
#include "tst_colorpalette.moc"
