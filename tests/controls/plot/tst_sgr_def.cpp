#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defSeries.h"

#include <QAccessible>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr QRgb Grey = 0xFF808080;
constexpr QRgb Green = 0xFF008000;
constexpr QRgb Yellow = 0xFFFFFF00;

// The score chart's plot: 600 x 377 in a 12-pixel font whose "0" is 6 wide;
// left axis 0 to 10.25 with 11 ticks (labels 0 to 10), bottom axis 1 to 9.2
// with 10 ticks (labels 1 to 9.1), no tick marks on the bottom, the right and
// top axes showing only their lines.
struct Chart
{
    Chart()
    {
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(12);
        plot.setFont(font);
        plot.resize(600, 377);
        using S = Tsp_Scale;
        setup(*plot.LeftAxis(), 11, S::sfVertical, 0, 10.25);
        setup(*plot.BottomAxis(), 10, S::sfNoTicksLines, 1, 9.2);
        plot.setBufferedDisplay(true);
    }
    static void setup(Tsp_Axis &axis, int ticks, quint32 flags, double min, double max)
    {
        axis.setTicksCount(ticks);
        axis.setFlags(flags);
        axis.SetMinMax(min, max);
    }
    // A line series with the chart's green line and yellow markers.
    Tsp_XYLine &addSeries()
    {
        series.setPlot(&plot);
        series.LineAttr().setColor(0x008000);
        series.LineAttr().setWidth(3);
        series.PointAttr().setKind(Tsp_PointAttr::ptEllipse);
        series.PointAttr().setHSize(9);
        series.PointAttr().setVSize(9);
        series.PointAttr().setColor(0x00FFFF);
        series.PointAttr().setVisible(true);
        return series;
    }
    QImage image() { return plot.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRect fieldRect() const
    {
        const Tsp_XYPlot::Field f = plot.field();
        return QRect(f.left, f.top, f.right - f.left, f.bottom - f.top);
    }
    bool sixPixelDigits() const { return QFontMetrics(plot.font()).horizontalAdvance(u'0') == 6; }

    Tsp_XYPlot plot;
    Tsp_XYLine series;
};

void drag(QWidget &w, Qt::KeyboardModifiers keys, QPoint from, QPoint to)
{
    QTest::mousePress(&w, Qt::LeftButton, keys, from);
    QTest::mouseMove(&w, from + (to - from) / 2);
    QTest::mouseMove(&w, to);
    QTest::mouseRelease(&w, Qt::LeftButton, keys, to);
}

void click(QWidget &w, Qt::KeyboardModifiers keys, QPoint at)
{
    QTest::mousePress(&w, Qt::LeftButton, keys, at);
    QTest::mouseRelease(&w, Qt::LeftButton, keys, at);
}

QPair<double, double> range(const Tsp_Axis *axis)
{
    return { axis->min(), axis->max() };
}

} // namespace

class TestXYPlot final : public QObject
{
    Q_OBJECT
private slots:
    void layoutSettlesOnTheKnownField();
    void gridLinesSkipTheFieldEdges();
    void bufferedRepaintRedrawsOnlyChangedLayers();
    void panFollowsTheMouse();
    void zoomAndRestore_data();
    void zoomAndRestore();
    void deepZoomIsRefusedBeforeDigitsRunOut();
    void lostReleaseEndsTheGesture_data();
    void lostReleaseEndsTheGesture();
    void farSegmentsKeepTheirSlope_data();
    void farSegmentsKeepTheirSlope();
    void denseLinesMatchSegmentBySegment();
    void denseMarkersMatchMarkerByMarker_data();
    void denseMarkersMatchMarkerByMarker();
    void markerSizesAndBorder_data();
    void markerSizesAndBorder();
    void pointsGrowInStepsAndKeepExtremes();
    void dataChangesRepaintWhatChanged();
    void reportsRangesAndPointCount();
};

void TestXYPlot::layoutSettlesOnTheKnownField()
{
    Chart chart;
    if (!chart.sixPixelDigits())
        QSKIP("IPAGothic is not installed: the check needs a 6-pixel-wide \"0\"");
    chart.image();
    const Tsp_XYPlot::Field f = chart.plot.field();
    QCOMPARE(f, (Tsp_XYPlot::Field { 22, 5, 594, 355 }));
    auto line = [](const Tsp_Axis *a) {
        return QList<int> { a->lineX(), a->lineY(), a->lineLength() };
    };
    QCOMPARE(line(chart.plot.LeftAxis()), (QList<int> { 21, 354, 349 }));
    QCOMPARE(line(chart.plot.RightAxis()), (QList<int> { 594, 354, 349 }));
    QCOMPARE(line(chart.plot.BottomAxis()), (QList<int> { 22, 355, 571 }));
    QCOMPARE(line(chart.plot.TopAxis()), (QList<int> { 22, 4, 571 }));

    // Labels growing from two to four characters push the field two characters right.
    chart.plot.LeftAxis()->SetMinMax(0, 1025);
    chart.plot.repaintAll();
    chart.image();
    QCOMPARE(chart.plot.field().left, 22 + 2 * 6);
}

void TestXYPlot::gridLinesSkipTheFieldEdges()
{
    Chart chart;
    // Left ticks at 0, 1, ..., 10 on 0 to 10.25: the tick at 0 lies on the
    // field's last row and gets no line; the others do.
    const QImage image = chart.image();
    const Tsp_XYPlot::Field f = chart.plot.field();
    const Tsp_Axis &left = *chart.plot.LeftAxis();
    const int x = (f.left + f.right) / 2 + 1;
    QCOMPARE(left.tickPixel(0), f.bottom - 1);
    QVERIFY(image.pixel(x, f.bottom - 1) != Grey);
    for (int i = 1; i < left.ticksCount(); ++i)
        QCOMPARE(image.pixel(x, left.tickPixel(i)), Grey);
    // Bottom ticks 1 .. 9.1: the one at 1 is on the field's first column.
    const Tsp_Axis &bottom = *chart.plot.BottomAxis();
    QCOMPARE(bottom.tickPixel(0), f.left);
    QVERIFY(image.pixel(f.left, f.top + 20) != Grey);
    QCOMPARE(image.pixel(bottom.tickPixel(1), f.top + 20), Grey);
}

void TestXYPlot::bufferedRepaintRedrawsOnlyChangedLayers()
{
    Chart chart;
    chart.addSeries().AddXY(2, 5);
    chart.plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart.plot));
    chart.plot.repaint();
    const int frames = chart.plot.frameDraws();
    const int fields = chart.plot.fieldDraws();

    chart.plot.update();
    chart.plot.repaint();
    QCOMPARE(chart.plot.frameDraws(), frames); // one bitmap copy
    QCOMPARE(chart.plot.fieldDraws(), fields);

    chart.series.LineAttr().setColor(0x0000FF);
    chart.plot.repaint();
    QCOMPARE(chart.plot.frameDraws(), frames);
    QCOMPARE(chart.plot.fieldDraws(), fields + 1);

    chart.plot.resize(500, 300);
    chart.plot.repaint();
    QCOMPARE(chart.plot.frameDraws(), frames + 1);
    QCOMPARE(chart.plot.fieldDraws(), fields + 2);
}

void TestXYPlot::panFollowsTheMouse()
{
    Chart chart;
    chart.plot.resize(601, 377); // the last label "3" needs one pixel more on the right
    chart.plot.BottomAxis()->SetMinMax(1, 3);
    chart.image();
    const Tsp_XYPlot::Field field = chart.plot.field();
    QCOMPARE(chart.plot.BottomAxis()->lineLength(), 571);
    drag(chart.plot, Qt::ControlModifier, { 300, 200 }, { 350, 200 });
    QVERIFY(qAbs(chart.plot.BottomAxis()->min() - 0.825) < 0.001);
    QVERIFY(qAbs(chart.plot.BottomAxis()->max() - 2.825) < 0.001);
    QCOMPARE(range(chart.plot.LeftAxis()), qMakePair(0.0, 10.25));
    chart.image();
    QCOMPARE(chart.plot.field(), field);
    QCOMPARE(chart.plot.mouseState(), Tsp_XYPlot::msIdle);
    // Panning saved the ranges: a zoom click brings them back.
    click(chart.plot, Qt::ShiftModifier, { 300, 200 });
    QCOMPARE(range(chart.plot.BottomAxis()), qMakePair(1.0, 3.0));
}

void TestXYPlot::zoomAndRestore_data()
{
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<Qt::KeyboardModifiers>("keys");
    QTest::addColumn<bool>("zooms");
    QTest::newRow("band") << QPoint(200, 150) << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
    QTest::newRow("under 4 pixels")
        << QPoint(103, 103) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("2 pixels high")
        << QPoint(200, 102) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("extra key") << QPoint(200, 150) << (Qt::ShiftModifier | Qt::AltModifier)
                               << false;
}

void TestXYPlot::zoomAndRestore()
{
    QFETCH(QPoint, to);
    QFETCH(Qt::KeyboardModifiers, keys);
    QFETCH(bool, zooms);
    Chart chart;
    chart.image();
    const QPoint from(100, 100);
    const Tsp_Axis *bottom = chart.plot.BottomAxis();
    const Tsp_Axis *left = chart.plot.LeftAxis();
    const auto expectedX = qMakePair(bottom->PixelToValue(from.x()), bottom->PixelToValue(to.x()));
    const auto expectedY = qMakePair(left->PixelToValue(to.y()), left->PixelToValue(from.y()));
    drag(chart.plot, keys, from, to);
    if (!zooms) {
        QCOMPARE(range(bottom), qMakePair(1.0, 9.2));
        QCOMPARE(range(left), qMakePair(0.0, 10.25));
        return;
    }
    QCOMPARE(range(bottom), expectedX);
    QCOMPARE(range(left), expectedY);
    chart.image();
    drag(chart.plot, keys, from, to); // a second zoom, deeper
    QVERIFY(bottom->max() < expectedX.second);
    click(chart.plot, Qt::ShiftModifier, { 50, 50 });
    QCOMPARE(range(bottom), qMakePair(1.0, 9.2));
    QCOMPARE(range(left), qMakePair(0.0, 10.25));
    QCOMPARE(chart.plot.cursor().shape(), Qt::ArrowCursor);
}

void TestXYPlot::deepZoomIsRefusedBeforeDigitsRunOut()
{
    Chart chart;
    chart.plot.BottomAxis()->SetMinMax(1e9, 3e9);
    chart.image();
    double lastRange = 2e9;
    bool refused = false;
    for (int i = 0; i < 12 && !refused; ++i) {
        drag(chart.plot, Qt::ShiftModifier, { 300, 100 }, { 303, 103 });
        const Tsp_Axis *bottom = chart.plot.BottomAxis();
        const double span = bottom->max() - bottom->min();
        refused = span == lastRange;
        lastRange = span;
        QVERIFY(span >= 1e-9 * qAbs(bottom->max()));
        QVERIFY(bottom->ticksCount() >= 1 && bottom->ticksCount() <= 21);
        for (int t = 1; t < bottom->ticksCount(); ++t)
            QVERIFY(bottom->tickValue(t) > bottom->tickValue(t - 1));
        chart.image();
    }
    QVERIFY(refused);
    click(chart.plot, Qt::ShiftModifier, { 300, 100 });
    QCOMPARE(range(chart.plot.BottomAxis()), qMakePair(1e9, 3e9));
}

void TestXYPlot::lostReleaseEndsTheGesture_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("keys");
    QTest::addColumn<int>("loss");
    for (const auto keys : { Qt::ShiftModifier, Qt::ControlModifier }) {
        const QByteArray name = keys == Qt::ShiftModifier ? "zoom" : "pan";
        QTest::newRow(name + " focus out") << Qt::KeyboardModifiers(keys) << int(QEvent::FocusOut);
        QTest::newRow(name + " deactivated")
            << Qt::KeyboardModifiers(keys) << int(QEvent::WindowDeactivate);
        QTest::newRow(name + " move without button")
            << Qt::KeyboardModifiers(keys) << int(QEvent::MouseMove);
    }
}

void TestXYPlot::lostReleaseEndsTheGesture()
{
    QFETCH(Qt::KeyboardModifiers, keys);
    QFETCH(int, loss);
    Chart chart;
    chart.plot.setPanCursor(Qt::ClosedHandCursor);
    chart.image();
    QTest::mousePress(&chart.plot, Qt::LeftButton, keys, { 100, 100 });
    QTest::mouseMove(&chart.plot, { 150, 150 });
    QVERIFY(chart.plot.mouseState() != Tsp_XYPlot::msIdle);
    QVERIFY(chart.plot.cursor().shape() != Qt::ArrowCursor);
    const auto bottomBefore = range(chart.plot.BottomAxis());
    if (loss == QEvent::MouseMove) {
        QMouseEvent move(QEvent::MouseMove, QPointF(160, 160),
            chart.plot.mapToGlobal(QPointF(160, 160)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&chart.plot, &move);
    } else if (loss == QEvent::FocusOut) {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(&chart.plot, &out);
    } else {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&chart.plot, &deactivate);
    }
    QCOMPARE(chart.plot.mouseState(), Tsp_XYPlot::msIdle);
    QCOMPARE(chart.plot.cursor().shape(), Qt::ArrowCursor);
    // As a release where the mouse was last seen: the zoom band applies, the pan stays.
    if (keys == Qt::ShiftModifier)
        QVERIFY(range(chart.plot.BottomAxis()) != bottomBefore);
    QTest::mouseMove(&chart.plot, { 200, 200 });
    QCOMPARE(chart.plot.mouseState(), Tsp_XYPlot::msIdle);
}

void TestXYPlot::farSegmentsKeepTheirSlope_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    // Zoomed so far in that 0 and 100 lie over a million pixels away.
    QTest::newRow("both ends far, crossing") << QPointF(0, 0) << QPointF(100, 10);
    QTest::newRow("one end far") << QPointF(50, 5) << QPointF(60, 6);
    QTest::newRow("ordinary") << QPointF(49.995, 4.9995) << QPointF(50.005, 5.0005);
}

void TestXYPlot::farSegmentsKeepTheirSlope()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    Chart chart;
    chart.plot.BottomAxis()->SetMinMax(49.99, 50.01);
    chart.plot.LeftAxis()->SetMinMax(4.99, 5.01);
    chart.plot.LeftAxis()->GridAttr()->setVisible(false);
    chart.plot.BottomAxis()->GridAttr()->setVisible(false);
    Tsp_XYLine &line = chart.addSeries();
    line.PointAttr().setVisible(false);
    line.AddXY(from.x(), from.y());
    line.AddXY(to.x(), to.y());
    const QImage image = chart.image();
    const Tsp_XYPlot::Field f = chart.plot.field();
    const Tsp_Axis &xAxis = *chart.plot.BottomAxis();
    const Tsp_Axis &yAxis = *chart.plot.LeftAxis();
    const double slope = (to.y() - from.y()) / (to.x() - from.x());
    for (int column = f.left + 200; column < f.right - 60; column += 40) {
        const double x = xAxis.PixelToValue(column);
        if (x < std::min(from.x(), to.x()) || x > std::max(from.x(), to.x()))
            continue;
        const int row = yAxis.ValueToPixel(from.y() + (x - from.x()) * slope);
        QVERIFY2(image.pixel(column, row) == Green,
            qPrintable(QStringLiteral("no line at (%1, %2)").arg(column).arg(row)));
        QVERIFY(image.pixel(column, row - 4) != Green); // and 3 pixels wide, not more
        QVERIFY(image.pixel(column, row + 4) != Green);
    }
}

// Thousands of points on a few hundred columns: the field shows exactly what
// drawing every segment on its own shows.
void TestXYPlot::denseLinesMatchSegmentBySegment()
{
    Chart chart;
    chart.plot.LeftAxis()->GridAttr()->setVisible(false);
    chart.plot.BottomAxis()->GridAttr()->setVisible(false);
    Tsp_XYLine &line = chart.addSeries();
    line.PointAttr().setVisible(false);
    for (int i = 0; i < 8000; ++i)
        line.AddXY(1 + i * 0.001, 5 + 4 * std::sin(i * 0.7) + (i % 97 == 0 ? 7 : 0));
    const QImage image = chart.image();

    const QRect field = chart.fieldRect();
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setClipRect(field);
    painter.setPen(QPen(QColor(Green), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const Tsp_Axis &x = *chart.plot.BottomAxis();
    const Tsp_Axis &y = *chart.plot.LeftAxis();
    for (int i = 1; i < line.Count(); ++i) {
        painter.drawLine(x.ValueToPixel(line.X(i - 1)), y.ValueToPixel(line.Y(i - 1)),
            x.ValueToPixel(line.X(i)), y.ValueToPixel(line.Y(i)));
    }
    painter.end();
    QCOMPARE(image.copy(field), expected.copy(field));
}

void TestXYPlot::denseMarkersMatchMarkerByMarker_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("brush");
    QTest::addColumn<int>("border");
    QTest::newRow("ellipse") << int(Tsp_PointAttr::ptEllipse) << int(Qt::SolidPattern) << 1;
    QTest::newRow("diamond, wide border")
        << int(Tsp_PointAttr::ptDiamond) << int(Qt::SolidPattern) << 3;
    QTest::newRow("triangle") << int(Tsp_PointAttr::ptTriangle) << int(Qt::SolidPattern) << 1;
    QTest::newRow("cross") << int(Tsp_PointAttr::ptCross) << int(Qt::SolidPattern) << 2;
    QTest::newRow("hatched rectangle")
        << int(Tsp_PointAttr::ptRectangle) << int(Qt::DiagCrossPattern) << 1;
}

// Overlapping markers of every shape, some on the same place, some cut by
// the field's edges: the field shows what drawing each marker in turn shows.
void TestXYPlot::denseMarkersMatchMarkerByMarker()
{
    QFETCH(int, kind);
    QFETCH(int, brush);
    QFETCH(int, border);
    Chart chart;
    chart.plot.LeftAxis()->GridAttr()->setVisible(false);
    chart.plot.BottomAxis()->GridAttr()->setVisible(false);
    Tsp_XYLine &line = chart.addSeries();
    line.LineAttr().setVisible(false);
    Tsp_PointAttr &markers = line.PointAttr();
    markers.setKind(Tsp_PointAttr::TPointKind(kind));
    markers.setStyle(Qt::BrushStyle(brush));
    markers.setBorderWidth(border);
    markers.setBorderColor(0x0000FF);
    for (int i = 0; i < 600; ++i)
        line.AddXY(1 + (i % 83) * 0.1, 0.3 * (i % 37) - (i % 5 == 0 ? 0.1 : 0));
    const QImage image = chart.image();

    const QRect field = chart.fieldRect();
    QImage expected(image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setClipRect(field);
    markers.applyTo(painter);
    const Tsp_Axis &x = *chart.plot.BottomAxis();
    const Tsp_Axis &y = *chart.plot.LeftAxis();
    for (int i = 0; i < line.Count(); ++i) {
        const QPoint p(x.ValueToPixel(line.X(i)), y.ValueToPixel(line.Y(i)));
        if (field.contains(p)) {
            PointMarker::draw(
                painter, markers.kind(), p.x(), p.y(), markers.halfWidth(), markers.halfHeight());
        }
    }
    painter.end();
    QCOMPARE(image.copy(field), expected.copy(field));
}

void TestXYPlot::markerSizesAndBorder_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("readBack");
    QTest::addColumn<int>("border5");
    QTest::newRow("9") << 9 << 9 << 4;
    QTest::newRow("10") << 10 << 11 << 5;
    QTest::newRow("0") << 0 << 1 << 0;
    QTest::newRow("negative") << -3 << 1 << 0;
    QTest::newRow("5, the default") << 5 << 5 << 2;
}

void TestXYPlot::markerSizesAndBorder()
{
    QFETCH(int, size);
    QFETCH(int, readBack);
    QFETCH(int, border5);
    Tsp_PointAttr attr;
    QSignalSpy changes(&attr, &Tsp_PointAttr::changed);
    attr.setHSize(size);
    attr.setVSize(size);
    QCOMPARE(attr.hSize(), readBack);
    QCOMPARE(attr.vSize(), readBack);
    attr.setBorderWidth(5);
    QCOMPARE(attr.borderWidth(), border5);
    const int before = changes.count();
    attr.setHSize(size); // unchanged: no signal
    QCOMPARE(changes.count(), before);
}

void TestXYPlot::pointsGrowInStepsAndKeepExtremes()
{
    Tsp_XYLine series;
    QVERIFY(!series.GetXMin() && !series.GetYMax());
    for (int i = 0; i < 32; ++i)
        series.AddXY(100 - i, i % 2 ? -i : i);
    QCOMPARE(series.Capacity(), 32);
    series.AddXY(-7.5, 1e6);
    QCOMPARE(series.Capacity(), 64);
    QCOMPARE(series.Count(), 33);
    for (int i = 0; i < 32; ++i) {
        QCOMPARE(series.X(i), double(100 - i));
        QCOMPARE(series.Y(i), double(i % 2 ? -i : i));
    }
    QCOMPARE(*series.GetXMin(), -7.5);
    QCOMPARE(*series.GetXMax(), 100.0);
    QCOMPARE(*series.GetYMin(), -31.0);
    QCOMPARE(*series.GetYMax(), 1e6);
}

void TestXYPlot::dataChangesRepaintWhatChanged()
{
    Chart chart;
    chart.plot.LeftAxis()->setAutoMax(true);
    Tsp_XYLine &line = chart.addSeries();
    chart.image();
    line.AddXY(2, 20); // raises the automatic maximum: everything, layout included
    QVERIFY(!chart.plot.layoutValid());
    QCOMPARE(chart.plot.LeftAxis()->max(), 20.5);
    chart.image();
    line.LineAttr().setColor(0xFF0000);
    QVERIFY(chart.plot.frameValid() && !chart.plot.fieldValid());

    // A series without automatic axes only ever redraws the field.
    Chart fixed;
    Tsp_XYLine &other = fixed.addSeries();
    fixed.image();
    other.AddXY(5, 50);
    QVERIFY(fixed.plot.layoutValid() && !fixed.plot.fieldValid());

    // One point with hidden markers draws nothing; with markers, a 9-pixel ellipse.
    Chart single;
    Tsp_XYLine &dot = single.addSeries();
    dot.PointAttr().setVisible(false);
    dot.AddXY(5.2, 5.5);
    QImage image = single.image();
    const QPoint at(
        single.plot.BottomAxis()->ValueToPixel(5.2), single.plot.LeftAxis()->ValueToPixel(5.5));
    QCOMPARE(image.pixel(at), 0xFFFFFFFF);
    dot.PointAttr().setVisible(true);
    image = single.image();
    QCOMPARE(image.pixel(at), Yellow);
    QCOMPARE(image.pixel(at + QPoint(-4, 0)), 0xFF000000);
    QCOMPARE(image.pixel(at + QPoint(4, 0)), 0xFF000000);
    QCOMPARE(image.pixel(at + QPoint(0, 4)), 0xFF000000);
    QCOMPARE(image.pixel(at + QPoint(5, 0)), 0xFFFFFFFF);
    QCOMPARE(image.pixel(at + QPoint(0, -5)), 0xFFFFFFFF);
}

void TestXYPlot::reportsRangesAndPointCount()
{
    Chart chart;
    Tsp_XYLine &line = chart.addSeries();
    line.AddXY(2, 3);
    line.AddXY(4, 5);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&chart.plot);
    QVERIFY(face);
    QCOMPARE(face->role(), QAccessible::Chart);
    const QString value = face->text(QAccessible::Value);
    QVERIFY2(value.contains(QStringLiteral("横軸 1～9.2")), qPrintable(value));
    QVERIFY2(value.contains(QStringLiteral("縦軸 0～10.25")), qPrintable(value));
    QVERIFY2(value.contains(QStringLiteral("点の数 2")), qPrintable(value));
    line.setActive(false);
    QVERIFY(face->text(QAccessible::Value).contains(QStringLiteral("点の数 0")));
}

QTEST_MAIN(TestXYPlot)
#include "tst_sgr_def.moc"
