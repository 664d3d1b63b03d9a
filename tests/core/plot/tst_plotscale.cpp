#include "core/plot/PlotScale.h"
#include "core/text/NumberFormat.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr quint32 Vertical = Tsp_Scale::sfVertical;
constexpr quint32 Inversed = Tsp_Scale::sfInversed;
constexpr quint32 NoLabels = Tsp_Scale::sfNoTicksLabel;
constexpr quint32 NotAdjusted = Tsp_Scale::sfNotAdjusted;

// "from, from + step, ..." as the labels print whole numbers.
QString counting(int from, int step, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString::number(from + step * i);
    return out.join(u' ');
}

QString labels(const Tsp_Scale &scale)
{
    QStringList out;
    for (int i = 0; i < scale.ticksCount(); ++i)
        out << scale.GetTickLabel(i);
    return out.join(u' ');
}

} // namespace

class TestPlotScale final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void rangeSetting_data();
    void rangeSetting();
    void ticks_data();
    void ticks();
    void scoreChartBottomAxis_data();
    void scoreChartBottomAxis();
    void valueToPixel_data();
    void valueToPixel();
    void evenTicks();
    void numberFormat_data();
    void numberFormat();
    void localeDecimalSeparator();
    void roomForLabels();
    void shiftByPixels();
    void savedAndConfiguredRanges();
    void deepZoom();
    void storedValues();
};

void TestPlotScale::rangeSetting_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");

    QTest::newRow("ordered") << 0.0 << 10.0 << 0.0 << 10.0;
    QTest::newRow("reversed") << 10.0 << 0.0 << 0.0 << 10.0;
    QTest::newRow("small equal") << 5.0 << 5.0 << 5.0 << 6.0;
    QTest::newRow("zero equal") << 0.0 << 0.0 << 0.0 << 1.0;
    QTest::newRow("small negative equal") << -5.0 << -5.0 << -5.0 << -4.0;
    QTest::newRow("large equal") << 100.0 << 100.0 << 99.0 << 110.0;
    // Mirrored for negatives, so that -100 lies inside its own range.
    QTest::newRow("large negative equal") << -100.0 << -100.0 << -110.0 << -99.0;
    QTest::newRow("ten negative equal") << -10.0 << -10.0 << -11.0 << -9.9;
    QTest::newRow("not a number ignored") << qQNaN() << 3.0 << 0.0 << 10.0;
    QTest::newRow("infinity ignored") << 0.0 << qInf() << 0.0 << 10.0;
    QTest::newRow("overflowing width ignored")
        << std::numeric_limits<double>::max() << std::numeric_limits<double>::max() << 0.0 << 10.0;
}

void TestPlotScale::rangeSetting()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, min);
    QFETCH(double, max);
    Tsp_Scale scale; // 0 to 10 when made
    scale.SetMinMax(a, b);
    QCOMPARE(scale.min(), min);
    QCOMPARE(scale.max(), max);
    QCOMPARE(scale.range(), max - min);
}

void TestPlotScale::ticks_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("requested");
    QTest::addColumn<QString>("expected");

    QTest::newRow("348.5 by 11: step 30, one tick more")
        << 0u << 0.0 << 348.5 << 11 << counting(0, 30, 12);
    QTest::newRow("256.25") << 0u << 0.0 << 256.25 << 11 << counting(0, 20, 13);
    QTest::newRow("1264.85") << 0u << 0.0 << 1264.85 << 11 << counting(0, 100, 13);
    QTest::newRow("9.225") << 0u << 0.0 << 9.225 << 11 << "0 0.9 1.8 2.7 3.6 4.5 5.4 6.3 7.2 8.1 9";
    QTest::newRow("stored left axis") << 0u << 0.0 << 10.25 << 11 << counting(0, 1, 11);
    QTest::newRow("all zeros") << 0u << 0.0 << 0.0 << 11
                               << "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1";
    QTest::newRow("all -5") << 0u << -5.125 << 0.0 << 11
                            << "-5.1 -4.6 -4.1 -3.6 -3.1 -2.6 -2.1 -1.6 -1.1 -0.6 -0.1";
    // Exponent 0 for a range of exactly 10, 1 for exactly 100.
    QTest::newRow("exactly 10") << 0u << 0.0 << 10.0 << 5 << "0 2.5 5 7.5 10";
    QTest::newRow("exactly 100") << 0u << 0.0 << 100.0 << 11 << counting(0, 10, 11);
    QTest::newRow("5 to 6") << 0u << 5.0 << 5.0 << 5 << "5 5.2 5.4 5.6 5.8 6";
    QTest::newRow("30 candidates cut to 21") << 0u << 1.0 << 30.0 << 21 << counting(1, 1, 21);
    QTest::newRow("one tick at the first grid value") << 0u << 0.35 << 9.0 << 1 << "0.4";
    QTest::newRow("no ticks") << 0u << 0.0 << 10.0 << 0 << "";
    QTest::newRow("inverted") << Inversed << 0.0 << 10.0 << 5 << "10 7.5 5 2.5 0";
    QTest::newRow("vertical like horizontal")
        << Vertical << 0.0 << 348.5 << 11 << counting(0, 30, 12);
    QTest::newRow("even, labels from the range")
        << NotAdjusted << 2.0 << 4.0 << 5 << "2 2.5 3 3.5 4";
    QTest::newRow("even, inverted") << (NotAdjusted | Inversed) << 2.0 << 4.0 << 3 << "4 3 2";
}

void TestPlotScale::ticks()
{
    QFETCH(quint32, flags);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, requested);
    Tsp_Scale scale(flags);
    scale.setTicksCount(requested);
    scale.SetMinMax(min, max);
    QTEST(labels(scale), "expected");
}

// The bottom axis of the score chart: ticks = min(N, 21), then Max = N on a stored 1 to 9.2.
void TestPlotScale::scoreChartBottomAxis_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0") << 0 << 0.0 << 1.0 << "";
    QTest::newRow("1") << 1 << 1.0 << 2.0 << "1";
    QTest::newRow("2") << 2 << 1.0 << 2.0 << "1 2";
    QTest::newRow("21") << 21 << 1.0 << 21.0 << counting(1, 1, 21);
    QTest::newRow("22") << 22 << 1.0 << 22.0 << counting(1, 1, 21);
    QTest::newRow("30") << 30 << 1.0 << 30.0 << counting(1, 1, 21);
    QTest::newRow("50") << 50 << 1.0 << 50.0 << counting(1, 2, 21);
    QTest::newRow("100") << 100 << 1.0 << 100.0 << counting(1, 4, 21);
    QTest::newRow("101") << 101 << 1.0 << 101.0 << counting(1, 5, 21);
    QTest::newRow("102") << 102 << 1.0 << 102.0 << counting(10, 10, 10);
    QTest::newRow("150") << 150 << 1.0 << 150.0 << counting(10, 10, 15);
    QTest::newRow("250") << 250 << 1.0 << 250.0 << counting(10, 10, 21);
}

void TestPlotScale::scoreChartBottomAxis()
{
    QFETCH(int, n);
    Tsp_Scale bottom(Tsp_Scale::sfNoTicksLines);
    bottom.setTicksCount(10);
    bottom.SetMinMax(1, 9.2);
    bottom.setTicksCount(std::min(n, 21));
    bottom.setMax(n);
    QTEST(bottom.min(), "min");
    QTEST(bottom.max(), "max");
    QTEST(labels(bottom), "expected");
}

void TestPlotScale::valueToPixel_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("pixel");

    // Line from x = 10 (or up from y = 400), 500 pixels, for the range 0 to 4.
    QTest::newRow("min") << 0u << 0.0 << 10;
    QTest::newRow("max") << 0u << 4.0 << 510;
    QTest::newRow("half to even, down") << 0u << 0.004 << 10; // 10.5
    QTest::newRow("half to even, up") << 0u << 0.012 << 12; // 11.5
    QTest::newRow("far beyond max") << 0u << 4000.0 << 16383;
    QTest::newRow("far below min") << 0u << -4000.0 << -16383;
    QTest::newRow("not a number") << 0u << qQNaN() << 16383;
    QTest::newRow("inverted min") << Inversed << 0.0 << 510;
    QTest::newRow("inverted max") << Inversed << 4.0 << 10;
    QTest::newRow("vertical min") << Vertical << 0.0 << 400;
    QTest::newRow("vertical max") << Vertical << 4.0 << -100;
    QTest::newRow("vertical far beyond") << Vertical << 4000.0 << -16383;
    QTest::newRow("vertical inverted max") << (Vertical | Inversed) << 4.0 << 400;
}

void TestPlotScale::valueToPixel()
{
    QFETCH(quint32, flags);
    QFETCH(double, value);
    QFETCH(int, pixel);
    Tsp_Scale scale(flags);
    scale.SetMinMax(0, 4);
    scale.SetLinePos(10, 400, 500);
    QCOMPARE(scale.ValueToPixel(value), pixel);
    if (std::abs(pixel) < Tsp_Scale::PixelLimit)
        QCOMPARE(scale.ValueToPixel(scale.PixelToValue(pixel)), pixel);
}

void TestPlotScale::evenTicks()
{
    Tsp_Scale scale(Vertical | NoLabels);
    scale.SetLinePos(0, 100, 9);
    QCOMPARE(scale.ticksCount(), 5);
    QList<int> pixels;
    for (int i = 0; i < scale.ticksCount(); ++i)
        pixels << scale.tickPixel(i);
    QCOMPARE(pixels, QList<int>({ 100, 98, 96, 93, 91 })); // 2.25 -> 2, 6.75 -> 7
    scale.setInversed(true);
    QCOMPARE(scale.tickPixel(1), 98); // the pixels follow the line, not the values
    scale.setTicksCount(1);
    QCOMPARE(scale.ticksCount(), 1);
    QCOMPARE(scale.tickPixel(0), 100);
}

void TestPlotScale::numberFormat_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QString plot = QStringLiteral("###0.##");
    QTest::newRow("zero") << plot << 0.0 << "0";
    QTest::newRow("fraction") << plot << 0.9 << "0.9";
    QTest::newRow("no trailing zero") << plot << 330.0 << "330";
    QTest::newRow("no grouping") << plot << 1234.5 << "1234.5";
    QTest::newRow("rounded") << plot << 2.567 << "2.57";
    QTest::newRow("half up in decimal") << plot << 2.675 << "2.68";
    QTest::newRow("carry into integer") << plot << 999.999 << "1000";
    QTest::newRow("negative") << plot << -2.5 << "-2.5";
    QTest::newRow("negative rounds to zero") << plot << -0.004 << "0";
    QTest::newRow("smallest shown") << plot << 0.005 << "0.01";
    QTest::newRow("tick value from division") << plot << 3.0 / 0.1 << "30";
    QTest::newRow("large") << plot << 3e15 << "3000000000000000";
    QTest::newRow("fixed decimals") << "0.00" << 0.1 << "0.10";
    QTest::newRow("grouping") << "#,##0.00" << 1234567.891 << "1,234,567.89";
    QTest::newRow("no integer digit") << "#.##" << 0.5 << ".5";
    QTest::newRow("negative section") << "0;(0);zero" << -3.0 << "(3)";
    QTest::newRow("zero section") << "0;(0);'zero'" << 0.0 << "zero";
    QTest::newRow("literal around") << "'x='0' px'" << 12.0 << "x=12 px";
}

void TestPlotScale::numberFormat()
{
    QFETCH(QString, picture);
    QFETCH(double, value);
    QTEST(NumberFormat::format(picture, value, u'.', u','), "expected");
}

void TestPlotScale::localeDecimalSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Tsp_Scale scale;
    const QString label = scale.GetTickLabel(1); // 0, 2.5, 5, 7.5, 10
    QLocale::setDefault(QLocale::c());
    QCOMPARE(label, "2,5");
}

void TestPlotScale::roomForLabels()
{
    // The layout example: W = 6, H = 12, after the layout has settled.
    Tsp_Scale left(Vertical);
    left.setTicksCount(11);
    left.SetMinMax(0, 10.25);
    left.SetLinePos(21, 354, 349);
    QCOMPARE(left.ticksRoom(6, 12), 2 * 6 + 5); // "10"
    QCOMPARE(left.StartOverhang(6, 12), 6); // the label "0" sits on the start
    QCOMPARE(left.EndOverhang(6, 12), 0); // "10" is 8.5 pixels below 10.25

    Tsp_Scale bottom(Tsp_Scale::sfNoTicksLines);
    bottom.setTicksCount(10);
    bottom.SetMinMax(1, 9.2);
    bottom.SetLinePos(22, 355, 571);
    QCOMPARE(bottom.ticksRoom(6, 12), 12 + 5);
    QCOMPARE(bottom.StartOverhang(6, 12), 3); // "1": 6 div 2
    QCOMPARE(bottom.EndOverhang(6, 12), 2); // "9.1": 18 div 2 less 7 pixels

    Tsp_Scale right(Vertical | Tsp_Scale::sfNoTicksLines | NoLabels | Tsp_Scale::sfOppositeSide);
    QCOMPARE(right.ticksRoom(6, 12), 0);
    QCOMPARE(right.EndOverhang(6, 12), 0);
    right.setTicksLines(true);
    QCOMPARE(right.ticksRoom(6, 12), 4);
    right.setTicksCount(0);
    QCOMPARE(right.ticksRoom(6, 12), 0);
}

void TestPlotScale::shiftByPixels()
{
    // Pan right by 50 pixels on a 571-pixel line for 1 to 3: the data follows the mouse.
    Tsp_Scale bottom;
    bottom.setTicksCount(3);
    bottom.SetMinMax(1, 3);
    bottom.SetLinePos(22, 355, 571);
    bottom.ShiftByPixels(-50);
    QVERIFY(std::abs(bottom.min() - 0.8249) < 1e-4);
    QVERIFY(std::abs(bottom.max() - 2.8249) < 1e-4);
    QCOMPARE(labels(bottom), "1 2");
    QCOMPARE(bottom.tickPixel(0), bottom.ValueToPixel(1));

    // A few pixels keep the step; from scratch it would be 10, 40, ..., 340.
    Tsp_Scale left(Vertical);
    left.setTicksCount(11);
    left.SetMinMax(0, 348.5);
    left.SetLinePos(21, 354, 349);
    left.ShiftByPixels(-10); // upwards drag of the data: values move by about +10
    QVERIFY(left.min() > 9.9 && left.min() < 10);
    QCOMPARE(labels(left), counting(30, 30, 11));

    Tsp_Scale inverted(Inversed);
    inverted.setTicksCount(11);
    inverted.SetMinMax(0, 348.5);
    inverted.SetLinePos(0, 0, 349);
    inverted.ShiftByPixels(-10); // towards larger values on an inverted axis
    QVERIFY(inverted.min() > 9.9 && inverted.min() < 10);
    QCOMPARE(labels(inverted), counting(340, -30, 12)); // the grid from 34 down, in tens

    // More than the whole range: the ticks are computed afresh.
    left.ShiftByPixels(-1000);
    Tsp_Scale fresh;
    fresh.setTicksCount(11);
    fresh.SetMinMax(left.min(), left.max());
    QVERIFY(left.min() > 1008 && left.min() < 1009);
    QCOMPARE(labels(left), labels(fresh));

    // Evenly spaced ticks slide and stay on the line.
    Tsp_Scale even(NotAdjusted);
    even.SetMinMax(0, 8);
    even.SetLinePos(0, 0, 400);
    even.ShiftByPixels(-50); // -1 to 7: the ticks keep their values, 8 leaves the line
    QCOMPARE(labels(even), "0 2 4 6");
    QCOMPARE(even.tickPixel(0), 50);
}

void TestPlotScale::savedAndConfiguredRanges()
{
    Tsp_Scale left(Vertical | Tsp_Scale::sfAutoMax);
    left.SetMinMax(0, 10.25);
    left.SetAutoMinMax(0, -5.125);
    QCOMPARE(left.min(), -5.125);
    QCOMPARE(left.configuredMin(), 0.0); // what the next automatic range starts from
    QCOMPARE(left.configuredMax(), 10.25);

    left.SaveRange();
    left.SetMinMax(-3, -1); // a zoom
    left.SaveRange(); // a second zoom keeps the first saved range
    left.ShiftByPixels(7);
    QCOMPARE(left.configuredMin(), left.min());
    left.RestoreRange();
    QVERIFY(!left.hasSavedRange());
    QCOMPARE(left.min(), -5.125);
    QCOMPARE(left.max(), 0.0);
    QCOMPARE(left.configuredMin(), 0.0);

    left.SaveRange();
    left.setMax(20);
    QVERIFY(!left.hasSavedRange());
    QVERIFY(!left.autoMax());
    left.setMin(1); // a property set forgets the range even when the value is kept
    left.SaveRange();
    left.setMin(1);
    QVERIFY(!left.hasSavedRange());

    left.setTicksCount(30);
    QCOMPARE(left.requestedTicksCount(), Tsp_Scale::MaxTicks);
    left.setTicksCount(-3);
    QCOMPARE(left.ticksCount(), 0);
}

void TestPlotScale::deepZoom()
{
    // 300 viewed 1e-6 wide: the scaled tick positions pass 3e9, beyond 32 bits.
    Tsp_Scale scale;
    scale.setTicksCount(11);
    QVERIFY(!Tsp_Scale::RangeTooSmall(300, 300 + 1e-6));
    scale.SetMinMax(300, 300 + 1e-6);
    QVERIFY(scale.ticksCount() >= 10);
    for (int i = 0; i < scale.ticksCount(); ++i) {
        QVERIFY(scale.tickValue(i) >= scale.min() && scale.tickValue(i) <= scale.max());
        QVERIFY(i == 0 || scale.tickValue(i) > scale.tickValue(i - 1));
    }
    QVERIFY(scale.first() > 3e9);
    QCOMPARE(scale.GetTickLabel(0), "300");

    QVERIFY(Tsp_Scale::RangeTooSmall(3e9, 3e9 + 1));
    QVERIFY(Tsp_Scale::RangeTooSmall(5, 5));
    QVERIFY(!Tsp_Scale::RangeTooSmall(0, 1e-12));
    QVERIFY(Tsp_Scale::RangeTooSmall(0, 1e-320)); // below normal doubles

    // Decades past 10^13 are exact powers: a range of 1e-16 ticks at 1e-17 steps.
    scale.SetMinMax(0, 1e-16);
    QCOMPARE(scale.decadeFactor(), 1e17);
    QCOMPARE(scale.ticksCount(), 11);
    QCOMPARE(scale.tickValue(10), 1e-16);
}

void TestPlotScale::storedValues()
{
    Tsp_Scale left(Vertical | Tsp_Scale::sfAutoMax);
    left.setTicksCount(11);
    left.SetLinePos(21, 354, 349);
    left.SetMinMax(0, 10.25);
    QStringList names;
    for (const auto &[name, value] : left.StoredValues())
        names << name;
    QCOMPARE(names, QStringList({ "SFlags", "SLinePos", "fMax" })); // Min 0 is not written

    Tsp_Scale read; // 0 to 10, horizontal
    read.setTicksCount(11);
    read.ReadStoredValue(QStringLiteral("fMin"), 2.0); // stored only
    QCOMPARE(read.first(), 0.0);
    for (const auto &[name, value] : left.StoredValues())
        read.ReadStoredValue(name, value);
    QCOMPARE(read.flags(), left.flags());
    QCOMPARE(read.lineLength(), 349);
    QCOMPARE(read.min(), 2.0); // fMax is set with the Min read before it
    QCOMPARE(read.max(), 10.25);
    QCOMPARE(read.tickPixel(0), read.ValueToPixel(2)); // recomputed as vertical
    QCOMPARE(read.tickPixel(0), 354);
}

QTEST_APPLESS_MAIN(TestPlotScale)
#include "tst_plotscale.moc"
