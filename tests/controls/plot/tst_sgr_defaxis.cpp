#include "controls/plot/sgr_defAxis.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr quint32 Vertical = Tsp_Scale::sfVertical;
constexpr quint32 Opposite = Tsp_Scale::sfOppositeSide;

class FakePlot final : public Tsp_AxisPlot
{
public:
    bool Autoscale(Tsp_Axis &) override
    {
        ++autoscales;
        return autoscaleApplies;
    }
    void AxisChanged(Tsp_Axis &, bool fieldOnly) override { repaints << fieldOnly; }

    int autoscales = 0;
    bool autoscaleApplies = false;
    QList<bool> repaints; // true: the field only
};

QImage blank()
{
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Bounding box of the non-white pixels inside `area`.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

int inkCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

QFont labelFont()
{
    QFont font(QStringLiteral("Nimbus Sans")); // installed with the tests (fonts-urw-base35)
    font.setPixelSize(12);
    return font;
}

} // namespace

class TestAxis final : public QObject
{
    Q_OBJECT

private slots:
    void axisLine_data();
    void axisLine();
    void ticksAndLabels_data();
    void ticksAndLabels();
    void lineAttr();
    void repaintRequests();
    void assign();
};

void TestAxis::axisLine_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<int>("width");
    QTest::addColumn<QRect>("expected");

    // Line (20, 50, 30) horizontally, (50, 80, 30) vertically; lengthened by 1 at the
    // start and 2 at the end; ends exclusive.
    QTest::newRow("horizontal, downwards") << 0u << 2 << QRect(QPoint(19, 50), QPoint(52, 51));
    QTest::newRow("horizontal, upwards") << Opposite << 2 << QRect(QPoint(19, 49), QPoint(52, 50));
    QTest::newRow("vertical, leftwards") << Vertical << 3 << QRect(QPoint(48, 48), QPoint(50, 81));
    QTest::newRow("vertical, rightwards")
        << (Vertical | Opposite) << 1 << QRect(QPoint(50, 48), QPoint(50, 81));
    QTest::newRow("no width") << 0u << 0 << QRect();
}

void TestAxis::axisLine()
{
    QFETCH(quint32, flags);
    QFETCH(int, width);
    QFETCH(QRect, expected);
    Tsp_Axis axis(flags);
    if (flags & Vertical)
        axis.SetLinePos(50, 80, 30);
    else
        axis.SetLinePos(20, 50, 30);
    axis.LineAttr()->setWidth(width);
    axis.LineAttr()->setColor(0x0000FF); // red in the low byte

    QImage image = blank();
    {
        QPainter painter(&image);
        axis.DrawAxisLine(painter, 1, 2);
    }
    QCOMPARE(inkBox(image, image.rect()), expected);
    QCOMPARE(inkCount(image), expected.width() * expected.height()); // solid, no gaps
    if (!expected.isEmpty())
        QCOMPARE(image.pixel(expected.topLeft()), qRgb(255, 0, 0));

    axis.LineAttr()->setVisible(false);
    QImage hidden = blank();
    QPainter painter(&hidden);
    axis.DrawAxisLine(painter, 1, 2);
    QCOMPARE(inkCount(hidden), 0);
}

void TestAxis::ticksAndLabels_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<QRect>("tickMark"); // of the middle tick, at pixel 60
    QTest::addColumn<QRect>("labelRoom"); // where its label "5" must lie, w = 2

    // Vertical line at x = 100 from y = 110 up 100 pixels; horizontal at y = 100 from
    // x = 10 along 100 pixels; range 0 to 10 with the ticks 0, 5 and 10.
    const QFontMetrics metrics(labelFont());
    const int h = metrics.height();
    const int width5 = metrics.horizontalAdvance(QStringLiteral("5"));
    QTest::newRow("left") << Vertical << QRect(95, 60, 4, 1)
                          << QRect(93 - width5, 60 - h / 2, width5, h);
    QTest::newRow("right") << (Vertical | Opposite) << QRect(102, 60, 4, 1)
                           << QRect(107, 60 - h / 2, width5, h);
    QTest::newRow("below") << 0u << QRect(60, 102, 1, 4) << QRect(60 - width5 / 2, 107, width5, h);
    QTest::newRow("above") << Opposite << QRect(60, 95, 1, 4)
                           << QRect(60 - width5 / 2, 93 - h, width5, h);
}

void TestAxis::ticksAndLabels()
{
    QFETCH(quint32, flags);
    QFETCH(QRect, tickMark);
    QFETCH(QRect, labelRoom);
    Tsp_Axis axis(flags);
    axis.setTicksCount(3);
    if (flags & Vertical)
        axis.SetLinePos(100, 110, 100);
    else
        axis.SetLinePos(10, 100, 100);
    axis.LineAttr()->setWidth(2);
    QCOMPARE(axis.tickPixel(1), 60);

    const auto draw = [&axis] {
        QImage image = blank();
        QPainter painter(&image);
        painter.setFont(labelFont());
        painter.setPen(Qt::black);
        axis.DrawTicksAndLabels(painter);
        return image;
    };
    // The mark starts at the line's outer edge and is 4 pixels long. (Without labels
    // the ticks are evenly spaced; the middle one stays at 60.)
    axis.setNoTicksLabel(true);
    QImage marks = draw();
    QCOMPARE(inkBox(marks, tickMark.adjusted(-2, -2, 2, 2)), tickMark);

    axis.setTicksLines(false);
    axis.setNoTicksLabel(false);
    QCOMPARE(axis.ticksCount(), 3); // labels shown: the ticks are adjusted again
    QImage labels = draw();
    const QRect label = inkBox(labels, labelRoom.adjusted(-3, -3, 3, 3));
    QVERIFY2(labelRoom.contains(label) && !label.isEmpty(),
        qPrintable(QStringLiteral("label ink at %1,%2 %3x%4")
                       .arg(label.x())
                       .arg(label.y())
                       .arg(label.width())
                       .arg(label.height())));

    axis.setNoTicksLabel(true); // neither marks nor labels: nothing at all
    QCOMPARE(inkCount(draw()), 0);
}

void TestAxis::lineAttr()
{
    Tsp_LineAttr attr;
    QCOMPARE(attr.color(), 0u);
    QCOMPARE(attr.width(), 1);
    QVERIFY(attr.visible());
    QSignalSpy changes(&attr, &Tsp_LineAttr::changed);
    attr.setWidth(70000);
    QCOMPARE(attr.width(), 0xFFFF);
    attr.setWidth(3);
    attr.setStyle(Tsp_LineAttr::psDot);
    attr.setColor(0x00FF00);
    QCOMPARE(changes.count(), 4);

    Tsp_LineAttr copy(0x808080, false);
    QSignalSpy copyChanges(&copy, &Tsp_LineAttr::changed);
    copy.Assign(attr);
    QCOMPARE(copyChanges.count(), 1);
    QCOMPARE(changes.count(), 4);
    QCOMPARE(copy.pen().color(), QColor(0, 255, 0));
    QCOMPARE(copy.pen().style(), Qt::DotLine);
    QCOMPARE(copy.pen().width(), 3);
    QVERIFY(copy.visible());
    copy.setStyle(Tsp_LineAttr::psClear);
    QCOMPARE(copy.pen().style(), Qt::NoPen);

    QImage image = blank();
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Xor);
    attr.applyTo(painter);
    QCOMPARE(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    QCOMPARE(painter.pen().width(), 3);
}

void TestAxis::repaintRequests()
{
    FakePlot plot;
    Tsp_Axis axis(Vertical, &plot);
    axis.SetMinMax(0, 5); // the plot's own range changes request nothing
    axis.SetLinePos(1, 2, 3);
    QCOMPARE(plot.repaints, QList<bool>());

    axis.setMin(1);
    axis.setTicksCount(7);
    axis.setMargin(6);
    axis.setLabelFormat(QStringLiteral("0.0"));
    axis.setInversed(true);
    axis.LineAttr()->setWidth(2);
    QCOMPARE(plot.repaints, QList<bool>(6, false));
    axis.setMargin(6); // unchanged
    axis.setTicksCount(7);
    QCOMPARE(plot.repaints.size(), 6);

    plot.repaints.clear();
    axis.GridAttr()->setVisible(true);
    QCOMPARE(plot.repaints, QList<bool>({ true }));

    plot.repaints.clear();
    axis.setAutoMax(true);
    QCOMPARE(plot.autoscales, 1);
    QCOMPARE(plot.repaints, QList<bool>()); // it did not apply
    plot.autoscaleApplies = true;
    axis.setAutoMin(true);
    QCOMPARE(plot.autoscales, 2);
    QCOMPARE(plot.repaints, QList<bool>({ false }));

    QCOMPARE(axis.Thickness(6, 12), 2 + 3 * 6 + 5); // line width, "5.0" to "1.4", gap
}

void TestAxis::assign()
{
    FakePlot plot;
    FakePlot otherPlot;
    Tsp_Axis axis(0, &plot);
    Tsp_Axis other(Vertical | Opposite, &otherPlot);
    other.setTicksCount(11);
    other.SetMinMax(0, 348.5);
    other.SetLinePos(5, 300, 200);
    other.setMargin(9);
    other.setCaption(QStringLiteral("y"));
    other.setLabelFormat(QStringLiteral("0.0"));
    other.LineAttr()->setWidth(3);
    other.GridAttr()->setVisible(true);
    axis.SaveRange();

    plot.repaints.clear();
    axis.Assign(other);
    QCOMPARE(axis.flags(), other.flags());
    QCOMPARE(axis.min(), 0.0);
    QCOMPARE(axis.max(), 348.5);
    QCOMPARE(axis.lineLength(), 200);
    QCOMPARE(axis.ticksCount(), 12);
    QCOMPARE(axis.GetTickLabel(1), "30.0");
    QCOMPARE(axis.margin(), 9);
    QCOMPARE(axis.caption(), "y");
    QCOMPARE(axis.LineAttr()->width(), 3);
    QVERIFY(axis.GridAttr()->visible());
    QVERIFY(!axis.hasSavedRange());
    QVERIFY(!plot.repaints.isEmpty());

    // The listeners stay each axis's own.
    plot.repaints.clear();
    otherPlot.repaints.clear();
    axis.GridAttr()->setColor(0);
    QCOMPARE(plot.repaints, QList<bool>({ true }));
    QCOMPARE(otherPlot.repaints, QList<bool>());
}

QTEST_MAIN(TestAxis)
#include "tst_sgr_defaxis.moc"
