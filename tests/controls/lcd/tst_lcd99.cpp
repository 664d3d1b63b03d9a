#include "controls/lcd/Lcd99.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

const QColor Background(Qt::white);
const QColor Lit(Qt::black);
const QColor Unlit(128, 128, 128);

// Segments 1 to 8 of a blank cell, and of the characters the tests show.
const QString BlankCell = QStringLiteral("00000000");
const QString Zero = QStringLiteral("11101110");
const QString One = QStringLiteral("00100100");
const QString Two = QStringLiteral("10111010");
const QString Five = QStringLiteral("11010110");
const QString Seven = QStringLiteral("10100100");
const QString Colon = QStringLiteral("00000001");
const QString LetterA = QStringLiteral("11111100");

// The time bar's display, with unlit segments in a colour of their own so that a
// pixel tells lit, unlit and background apart.
void applyTimeBarLayout(TLCD99 &lcd)
{
    lcd.resize(73, 22);
    lcd.setDigitNum(5);
    lcd.setDigitSpacing(3);
    lcd.setGapX(1);
    lcd.setGapY(1);
    lcd.setAnimation(TLCD99::anDown);
    lcd.setColor(Background);
    lcd.setOffColor(Unlit);
    lcd.setOnColor(Lit);
}

// On that layout cells are 10 pixels wide at a pitch of 14, starting at x = 4.
int cellLeft(int k)
{
    return 4 + (k - 1) * 14;
}

// A pixel well inside segment n of cell k (segment 8: the colon's upper dot).
QPoint segmentProbe(int k, int segment)
{
    const int x = cellLeft(k);
    static const QPoint offsets[]
        = { { 5, 1 }, { 1, 5 }, { 9, 5 }, { 5, 10 }, { 1, 15 }, { 9, 15 }, { 5, 20 }, { 4, 6 } };
    return QPoint(x, 0) + offsets[segment - 1];
}

QPoint decimalPointPixel(int k)
{
    return { cellLeft(k) - 2, 20 };
}

char state(const QImage &image, QPoint at)
{
    const QColor c = image.pixelColor(at);
    if (c == Lit)
        return '1';
    if (c == Unlit)
        return '0';
    return c == Background ? ' ' : '?';
}

QString cellPattern(const QImage &image, int k)
{
    QString pattern;
    for (int segment = 1; segment <= 8; ++segment)
        pattern += QLatin1Char(state(image, segmentProbe(k, segment)));
    return pattern;
}

QStringList cellPatterns(const QImage &image)
{
    QStringList patterns;
    for (int k = 1; k <= 5; ++k)
        patterns << cellPattern(image, k);
    return patterns;
}

QString pointMarks(const QImage &image)
{
    QString marks;
    for (int k = 1; k <= 5; ++k)
        marks += state(image, decimalPointPixel(k)) == '1' ? u'.' : u' ';
    return marks;
}

QImage rendered(TLCD99 &lcd)
{
    return lcd.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Notes how long each paint took and whether it was running when a probe looked.
class TimedLcd final : public TLCD99
{
public:
    bool inPaint = false;
    qint64 longestPaint = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QElapsedTimer clock;
        clock.start();
        inPaint = true;
        TLCD99::paintEvent(event);
        inPaint = false;
        longestPaint = std::max(longestPaint, clock.elapsed());
    }
};

} // namespace

class TestLcd99 final : public QObject
{
    Q_OBJECT

private slots:
    void startsWithCreationDefaults();
    void workedExampleShapes_data();
    void workedExampleShapes();
    void ellipseRows_data();
    void ellipseRows();
    void workedExamplePixels_data();
    void workedExamplePixels();
    void showsValue_data();
    void showsValue();
    void acceptsValue_data();
    void acceptsValue();
    void splitsCellsAndPoints_data();
    void splitsCellsAndPoints();
    void segmentTable_data();
    void segmentTable();
    void segmentOrdersDrawEverySegmentOnce_data();
    void segmentOrdersDrawEverySegmentOnce();
    void clampsSetters_data();
    void clampsSetters();
    void extremeLayoutsPaint();
    void reportsShownTextToAccessibility_data();
    void reportsShownTextToAccessibility();
    void equalValueDoesNotRepaint();
    void offColorEqualToColorHidesUnlitSegments();
    void colourChangeRedrawsEverything();
    void everyOrderAndBufferGiveTheSamePicture_data();
    void everyOrderAndBufferGiveTheSamePicture();
    void paintNeverWaits_data();
    void paintNeverWaits();
    void animatedChangeKeepsEventLoopRunning();
    void valueAssignedDuringAnimationIsDrawnAfterwards();
    void destroyedDuringAnimation();
};

void TestLcd99::startsWithCreationDefaults()
{
    TLCD99 lcd;
    QCOMPARE(lcd.size(), QSize(92, 34));
    QCOMPARE(lcd.property("Value").toString(), QString());
    QCOMPARE(lcd.property("DigitNum").toInt(), 4);
    QCOMPARE(lcd.property("DigitSpacing").toInt(), 5);
    QCOMPARE(lcd.property("GapX").toInt(), 2);
    QCOMPARE(lcd.property("GapY").toInt(), 2);
    QCOMPARE(lcd.property("SegmentSize").toInt(), 2);
    QCOMPARE(lcd.property("OnColor").value<QColor>(), QColor(0, 255, 0));
    QCOMPARE(lcd.property("OffColor").value<QColor>(), QColor(Qt::black));
    QCOMPARE(lcd.property("Color").value<QColor>(), QColor(Qt::black));
    QCOMPARE(lcd.property("Animation").value<TLCD99::TLCDAnimation>(), TLCD99::anNone);
    QCOMPARE(lcd.property("AnimationDelay").toInt(), 0);
    QCOMPARE(lcd.property("DoubleBuffer").toBool(), true);
    QVERIFY(!lcd.metaObject()
                 ->property(lcd.metaObject()->indexOfProperty("PaintDuration"))
                 .isWritable());
}

void TestLcd99::workedExampleShapes_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<QPolygon>("corners");

    QTest::newRow("top") << 1
                         << QPolygon(
                                { { 5, 0 }, { 6, 0 }, { 12, 0 }, { 13, 0 }, { 11, 2 }, { 7, 2 } });
    QTest::newRow("bottom") << 7
                            << QPolygon({ { 5, 21 }, { 6, 21 }, { 12, 21 }, { 13, 21 }, { 11, 19 },
                                   { 7, 19 } });
    QTest::newRow("middle") << 4
                            << QPolygon({ { 5, 10 }, { 7, 9 }, { 11, 9 }, { 13, 10 }, { 11, 11 },
                                   { 7, 11 } });
    QTest::newRow("upper left") << 2
                                << QPolygon({ { 4, 1 }, { 4, 2 }, { 4, 8 }, { 4, 9 }, { 6, 7 },
                                       { 6, 3 } });
    QTest::newRow("upper right") << 3
                                 << QPolygon({ { 14, 1 }, { 14, 2 }, { 14, 8 }, { 14, 9 },
                                        { 12, 7 }, { 12, 3 } });
    QTest::newRow("lower left") << 5
                                << QPolygon({ { 4, 11 }, { 4, 12 }, { 4, 18 }, { 4, 19 }, { 6, 17 },
                                       { 6, 13 } });
}

void TestLcd99::workedExampleShapes()
{
    QFETCH(int, segment);
    QFETCH(QPolygon, corners);

    const auto g = Lcd99::Geometry::of({ 73, 22 }, 5, 3, 1, 1, 2);
    QCOMPARE(g.digitWidth, 10);
    QCOMPARE(g.mid, 10);
    for (int k = 1; k <= 5; ++k)
        QCOMPARE(g.cellLeft(k), cellLeft(k));
    QCOMPARE(Lcd99::segmentPolygon(g, 1, segment), corners);
    // Every cell has the same shapes, moved by the pitch.
    QCOMPARE(Lcd99::segmentPolygon(g, 5, segment), corners.translated(56, 0));
    QCOMPARE(Lcd99::colonDotRect(g, 1, true), QRect(QPoint(8, 6), QPoint(9, 7)));
    QCOMPARE(Lcd99::colonDotRect(g, 1, false), QRect(QPoint(8, 12), QPoint(9, 13)));
    QCOMPARE(Lcd99::decimalPointRect(g, 1), QRect(QPoint(2, 20), QPoint(2, 20)));
}

void TestLcd99::ellipseRows_data()
{
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("colon dot") << QRect(8, 6, 2, 2) << QStringList { "##", "##" };
    QTest::newRow("one pixel") << QRect(3, 3, 1, 1) << QStringList { "#" };
    QTest::newRow("wide") << QRect(0, 0, 6, 4)
                          << QStringList { " #### ", "######", "######", " #### " };
    QTest::newRow("tall") << QRect(5, 1, 3, 5) << QStringList { " # ", "###", "###", "###", " # " };
    QTest::newRow("empty") << QRect(1, 1, 0, 3) << QStringList { "", "", "" };
}

void TestLcd99::ellipseRows()
{
    QFETCH(QRect, bounds);
    QFETCH(QStringList, rows);

    QStringList drawn;
    for (int y = 0; y < bounds.height(); ++y)
        drawn << QString(bounds.width(), u' ');
    for (const QRect &row : Lcd99::ellipseRows(bounds)) {
        QCOMPARE(row.height(), 1);
        QVERIFY(bounds.contains(row));
        QString &line = drawn[row.top() - bounds.top()];
        for (int x = row.left(); x <= row.right(); ++x)
            line[x - bounds.left()] = u'#';
    }
    QCOMPARE(drawn, rows);
}

void TestLcd99::workedExamplePixels_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("expected");

    // Corners of the first cell's segments: the 0 lights all bars but the middle one.
    for (const QPoint corner : { QPoint(5, 0), QPoint(13, 0), QPoint(11, 2), QPoint(7, 2) })
        QTest::addRow("top %d,%d", corner.x(), corner.y()) << corner << Lit;
    for (const QPoint corner : { QPoint(5, 21), QPoint(13, 21), QPoint(11, 19), QPoint(7, 19) })
        QTest::addRow("bottom %d,%d", corner.x(), corner.y()) << corner << Lit;
    for (const QPoint corner : { QPoint(4, 1), QPoint(4, 9), QPoint(6, 7), QPoint(6, 3) })
        QTest::addRow("upper left %d,%d", corner.x(), corner.y()) << corner << Lit;
    for (const QPoint corner : { QPoint(14, 1), QPoint(14, 9), QPoint(12, 7), QPoint(12, 3) })
        QTest::addRow("upper right %d,%d", corner.x(), corner.y()) << corner << Lit;
    for (const QPoint corner : { QPoint(4, 11), QPoint(4, 19), QPoint(6, 17), QPoint(6, 13) })
        QTest::addRow("lower left %d,%d", corner.x(), corner.y()) << corner << Lit;
    for (const QPoint corner : { QPoint(5, 10), QPoint(7, 9), QPoint(11, 9), QPoint(13, 10),
             QPoint(11, 11), QPoint(7, 11) })
        QTest::addRow("middle %d,%d", corner.x(), corner.y()) << corner << Unlit;
    // The colon cell: both dots lit, the bars around them unlit.
    for (const QPoint dot : { QPoint(36, 6), QPoint(37, 7), QPoint(36, 12), QPoint(37, 13) })
        QTest::addRow("colon %d,%d", dot.x(), dot.y()) << dot << Lit;
    QTest::newRow("colon cell top") << QPoint(37, 1) << Unlit;
    QTest::newRow("right of upper dot") << QPoint(38, 6) << Background;
    QTest::newRow("below upper dot") << QPoint(36, 8) << Background;
    // Every decimal point unlit, a single pixel at the foot of the spacing.
    for (int k = 1; k <= 5; ++k)
        QTest::addRow("point %d", k) << decimalPointPixel(k) << Unlit;
    QTest::newRow("right of point") << QPoint(3, 20) << Background;
    QTest::newRow("below point") << QPoint(2, 21) << Background;
    QTest::newRow("spacing") << QPoint(0, 0) << Background;
    QTest::newRow("right of top bar") << QPoint(14, 0) << Background;
    QTest::newRow("between bars") << QPoint(9, 5) << Background;
}

void TestLcd99::workedExamplePixels()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, expected);

    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setValue(QStringLiteral("00:00"));
    QCOMPARE(rendered(lcd).pixelColor(pixel), expected);
}

void TestLcd99::showsValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("points");

    const QString b = BlankCell;
    QTest::newRow("time") << "00:00"
                          << "00:00" << QStringList { Zero, Zero, Colon, Zero, Zero } << "     ";
    QTest::newRow("right-aligned") << "7"
                                   << "7" << QStringList { b, b, b, b, Seven } << "     ";
    QTest::newRow("longer than the cells")
        << "100:00"
        << "100:00" << QStringList { One, Zero, Zero, Colon, Zero } << "     ";
    QTest::newRow("decimal point") << "12.5"
                                   << "12.5" << QStringList { b, b, One, Two, Five } << "    .";
    QTest::newRow("leading point") << ".5"
                                   << ".5" << QStringList { b, b, b, b, Five } << "    .";
    QTest::newRow("two points") << "1..2"
                                << "1..2" << QStringList { b, b, One, b, Two } << "   ..";
    QTest::newRow("trailing point dropped") << "12."
                                            << "12" << QStringList { b, b, b, One, Two } << "     ";
    // One of two trailing points stays; it marks the blank cell after the 1, not the 1.
    QTest::newRow("two trailing points") << "1.."
                                         << "1." << QStringList { b, b, b, One, b } << "    .";
    QTest::newRow("lower case") << "12a"
                                << "12A" << QStringList { b, b, One, Two, LetterA } << "     ";
    QTest::newRow("slash") << "1/2"
                           << "" << QStringList { b, b, b, b, b } << "     ";
    QTest::newRow("accented letter") << "12\u00e9"
                                     << "" << QStringList { b, b, b, b, b } << "     ";
    QTest::newRow("double-byte") << "1\u3042"
                                 << "" << QStringList { b, b, b, b, b } << "     ";
    QTest::newRow("full-width digit") << "\uff11"
                                      << "" << QStringList { b, b, b, b, b } << "     ";
}

void TestLcd99::showsValue()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(QStringList, cells);
    QFETCH(QString, points);

    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    // Something shown first, so that a refused value has to blank it.
    lcd.setValue(QStringLiteral("88:88"));
    rendered(lcd);
    lcd.setValue(text);
    QCOMPARE(lcd.value(), value);
    const QImage image = rendered(lcd);
    QCOMPARE(cellPatterns(image), cells);
    QCOMPARE(pointMarks(image), points);
}

void TestLcd99::acceptsValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("accepted");

    QTest::newRow("every accepted sign") << "-: .9Z"
                                         << "-: .9Z";
    QTest::newRow("a to z") << "abcxyz"
                            << "ABCXYZ";
    QTest::newRow("one trailing point") << "1.2."
                                        << "1.2";
    QTest::newRow("point alone") << "."
                                 << "";
    QTest::newRow("tab") << "1\t2"
                         << "";
    QTest::newRow("comma") << "1,2"
                           << "";
    QTest::newRow("plus") << "+1"
                          << "";
    QTest::newRow("sharp s does not upper-case") << "\u00df"
                                                 << "";
    QTest::newRow("emoji") << "1\U0001F600"
                           << "";
}

void TestLcd99::acceptsValue()
{
    QFETCH(QString, text);
    QFETCH(QString, accepted);

    QCOMPARE(Lcd99::acceptedValue(text), accepted);
}

void TestLcd99::splitsCellsAndPoints_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QList<int>>("starts");

    QTest::newRow("no point") << "12:5"
                              << "12:5"
                              << "    " << QList<int> { 0, 1, 2, 3 };
    QTest::newRow("inner point") << "12.5"
                                 << "125"
                                 << "  ." << QList<int> { 0, 1, 2 };
    QTest::newRow("leading point") << ".5"
                                   << "5"
                                   << "." << QList<int> { 0 };
    QTest::newRow("two points") << "1..2"
                                << "1 2"
                                << " .." << QList<int> { 0, 1, 2 };
    QTest::newRow("three points") << "1...2"
                                  << "1  2"
                                  << " ..." << QList<int> { 0, 1, 2, 3 };
    QTest::newRow("trailing point") << "1."
                                    << "1 "
                                    << " ." << QList<int> { 0, 1 };
}

void TestLcd99::splitsCellsAndPoints()
{
    QFETCH(QString, value);
    QFETCH(QString, cells);
    QFETCH(QString, points);
    QFETCH(QList<int>, starts);

    const Lcd99::CellString split = Lcd99::splitCells(value);
    QCOMPARE(split.cells, cells);
    QCOMPARE(split.points, points);
    QCOMPARE(split.starts, starts);

    const Lcd99::CellString aligned = Lcd99::rightAligned(split, 6);
    QCOMPARE(aligned.cells, cells.rightJustified(6));
    QCOMPARE(aligned.points, points.rightJustified(6));
}

void TestLcd99::segmentTable_data()
{
    QTest::addColumn<QChar>("character");
    QTest::addColumn<QString>("segments");

    const char *const rows[][2] = { { "0", "11101110" }, { "1", "00100100" }, { "2", "10111010" },
        { "3", "10110110" }, { "4", "01110100" }, { "5", "11010110" }, { "6", "11011110" },
        { "7", "10100100" }, { "8", "11111110" }, { "9", "11110110" }, { "-", "00010000" },
        { ":", "00000001" }, { "A", "11111100" }, { "B", "01011110" }, { "C", "11001010" },
        { "D", "00111110" }, { "E", "11011010" }, { "F", "11011000" }, { "G", "11011110" },
        { "H", "01011100" }, { "I", "00100100" }, { "J", "00100110" }, { "K", "01111100" },
        { "L", "01001010" }, { "M", "00011100" }, { "N", "00011100" }, { "O", "00011110" },
        { "P", "11111000" }, { "Q", "11110100" }, { "R", "00011000" }, { "S", "11010110" },
        { "T", "01011000" }, { "U", "01101110" }, { "V", "01101110" }, { "W", "01101110" },
        { "X", "01111100" }, { "Y", "01110100" }, { "Z", "10111010" }, { " ", "00000000" },
        { ".", "00000000" }, { "a", "00000000" } };
    for (const auto &row : rows)
        QTest::addRow("'%s'", row[0])
            << QChar(QLatin1Char(row[0][0])) << QString::fromLatin1(row[1]);
}

void TestLcd99::segmentTable()
{
    QFETCH(QChar, character);
    QFETCH(QString, segments);

    QString lit;
    for (int segment = 1; segment <= 8; ++segment)
        lit += Lcd99::lightsSegment(character, segment) ? u'1' : u'0';
    QCOMPARE(lit, segments);
}

void TestLcd99::segmentOrdersDrawEverySegmentOnce_data()
{
    QTest::addColumn<TLCD99::TLCDAnimation>("animation");
    QTest::addColumn<int>("first");

    // anDown starts at the top bar, anUp at the bottom one.
    QTest::newRow("spiral") << TLCD99::anSpiral << 8;
    QTest::newRow("up") << TLCD99::anUp << 7;
    QTest::newRow("down") << TLCD99::anDown << 1;
    QTest::newRow("left") << TLCD99::anLeft << 6;
    QTest::newRow("right") << TLCD99::anRight << 2;
}

void TestLcd99::segmentOrdersDrawEverySegmentOnce()
{
    QFETCH(TLCD99::TLCDAnimation, animation);
    QFETCH(int, first);

    auto order = Lcd99::segmentOrder(animation);
    QCOMPARE(order.front(), first);
    std::sort(order.begin(), order.end());
    QCOMPARE(order, (std::array<int, 8> { 1, 2, 3, 4, 5, 6, 7, 8 }));
}

void TestLcd99::clampsSetters_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("assigned");
    QTest::addColumn<int>("stored");

    QTest::newRow("no cells") << QByteArray("DigitNum") << 0 << 1;
    QTest::newRow("negative cells") << QByteArray("DigitNum") << -3 << 1;
    QTest::newRow("one cell") << QByteArray("DigitNum") << 1 << 1;
    QTest::newRow("most cells") << QByteArray("DigitNum") << TLCD99::MaxDigitNum
                                << TLCD99::MaxDigitNum;
    QTest::newRow("too many cells") << QByteArray("DigitNum") << INT_MAX << TLCD99::MaxDigitNum;
    QTest::newRow("negative spacing") << QByteArray("DigitSpacing") << -1 << -1;
    QTest::newRow("huge spacing") << QByteArray("DigitSpacing") << INT_MAX << TLCD99::MaxExtent;
    QTest::newRow("huge negative gap") << QByteArray("GapX") << INT_MIN << -TLCD99::MaxExtent;
    QTest::newRow("huge gap") << QByteArray("GapY") << INT_MAX << TLCD99::MaxExtent;
    QTest::newRow("thick") << QByteArray("SegmentSize") << TLCD99::MaxExtent << TLCD99::MaxExtent;
    QTest::newRow("too thick") << QByteArray("SegmentSize") << TLCD99::MaxExtent + 1
                               << TLCD99::MaxExtent;
}

void TestLcd99::clampsSetters()
{
    QFETCH(QByteArray, property);
    QFETCH(int, assigned);
    QFETCH(int, stored);

    TLCD99 lcd;
    QVERIFY(lcd.setProperty(property, assigned));
    QCOMPARE(lcd.property(property).toInt(), stored);
}

void TestLcd99::extremeLayoutsPaint()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setValue(QStringLiteral("8.8.8.8.8.8"));
    const QImage reference = rendered(lcd);
    // Cells narrower than nothing, and bars far larger than the control: drawn
    // without overflowing, and the control still answers afterwards.
    lcd.setDigitNum(INT_MAX);
    lcd.setSegmentSize(INT_MAX);
    lcd.setGapX(INT_MIN);
    lcd.setGapY(INT_MAX);
    lcd.setDigitSpacing(INT_MIN);
    QCOMPARE(rendered(lcd).size(), QSize(73, 22));
    lcd.resize(1, 1);
    QCOMPARE(rendered(lcd).size(), QSize(1, 1));

    lcd.resize(73, 22);
    applyTimeBarLayout(lcd);
    lcd.setSegmentSize(2);
    QCOMPARE(rendered(lcd), reference);
}

void TestLcd99::reportsShownTextToAccessibility_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fits") << "12:34" << 5 << "12:34";
    QTest::newRow("short") << "7" << 5 << "7";
    QTest::newRow("cut") << "100:00" << 5 << "100:0";
    QTest::newRow("points before dropped cells go too") << "1.2.3.4.5.6" << 5 << "1.2.3.4.5";
    QTest::newRow("point of a blank cell") << "1..2" << 1 << "1";
    QTest::newRow("refused") << "1/2" << 5 << "";
}

void TestLcd99::reportsShownTextToAccessibility()
{
    QFETCH(QString, value);
    QFETCH(int, digits);
    QFETCH(QString, shown);

    TLCD99 lcd;
    lcd.setDigitNum(digits);
    lcd.setValue(value);
    QCOMPARE(lcd.shownText(), shown);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&lcd);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::StaticText);
    QCOMPARE(accessible->text(QAccessible::Value), shown);
}

void TestLcd99::equalValueDoesNotRepaint()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setValue(QStringLiteral("12a"));
    lcd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lcd));
    PaintCounter counter;
    lcd.installEventFilter(&counter);
    QSignalSpy changes(&lcd, &TLCD99::valueChanged);

    lcd.setValue(QStringLiteral("12A"));
    lcd.setDigitNum(5);
    lcd.setOnColor(Lit);
    QTest::qWait(100);
    QCOMPARE(counter.paints, 0);
    QCOMPARE(changes.count(), 0);

    // Differs only in case: a new assignment, though the shown value stays 12A.
    lcd.setValue(QStringLiteral("12a"));
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(changes.count(), 0);

    lcd.setValue(QStringLiteral("12"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("12"));
}

void TestLcd99::offColorEqualToColorHidesUnlitSegments()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setValue(QStringLiteral("7"));
    // With an unlit colour of its own, a blank cell shows as an 8 with a colon.
    QCOMPARE(cellPattern(rendered(lcd), 1), QStringLiteral("00000000"));

    lcd.setOffColor(Background);
    const QImage image = rendered(lcd);
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (x < cellLeft(5) - 4)
                QCOMPARE(c, Background);
            else if (c == Lit)
                ++lit;
            else
                QCOMPARE(c, Background);
        }
    }
    QVERIFY(lit > 0);
    QCOMPARE(cellPattern(image, 5), QStringLiteral("1 1  1  "));
}

void TestLcd99::colourChangeRedrawsEverything()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setValue(QStringLiteral("00:00"));
    rendered(lcd);
    lcd.setOnColor(Qt::red);
    lcd.setColor(Qt::blue);
    const QImage image = rendered(lcd);
    for (int k : { 1, 2, 4, 5 })
        QCOMPARE(image.pixelColor(segmentProbe(k, 1)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(segmentProbe(3, 8)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(segmentProbe(1, 4)), Unlit);
}

void TestLcd99::everyOrderAndBufferGiveTheSamePicture_data()
{
    QTest::addColumn<TLCD99::TLCDAnimation>("animation");
    QTest::addColumn<bool>("doubleBuffer");

    const QMetaEnum names = QMetaEnum::fromType<TLCD99::TLCDAnimation>();
    for (int i = 0; i < names.keyCount(); ++i) {
        const auto animation = TLCD99::TLCDAnimation(names.value(i));
        QTest::addRow("%s buffered", names.key(i)) << animation << true;
        QTest::addRow("%s direct", names.key(i)) << animation << false;
    }
}

void TestLcd99::everyOrderAndBufferGiveTheSamePicture()
{
    QFETCH(TLCD99::TLCDAnimation, animation);
    QFETCH(bool, doubleBuffer);

    TLCD99 reference;
    applyTimeBarLayout(reference);
    reference.setValue(QStringLiteral("-3:4.A"));

    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setAnimation(animation);
    lcd.setDoubleBuffer(doubleBuffer);
    lcd.setValue(QStringLiteral("12.5"));
    rendered(lcd);
    lcd.setValue(QStringLiteral("-3:4.A"));
    QCOMPARE(rendered(lcd), rendered(reference));
    // A repaint with nothing changed keeps the picture.
    lcd.update();
    QCOMPARE(rendered(lcd), rendered(reference));
}

void TestLcd99::paintNeverWaits_data()
{
    QTest::addColumn<int>("delay");
    QTest::addColumn<bool>("stepping");
    QTest::addColumn<QString>("firstFrame"); // the last cell as the first paint leaves it

    QTest::newRow("no delay: drawn at once") << 0 << false << One;
    QTest::newRow("700 ms: top bar first") << 700 << true << QStringLiteral("01101110");
}

void TestLcd99::paintNeverWaits()
{
    QFETCH(int, delay);
    QFETCH(bool, stepping);
    QFETCH(QString, firstFrame);

    TimedLcd lcd;
    applyTimeBarLayout(lcd);
    lcd.setAnimationDelay(delay);
    lcd.setValue(QStringLiteral("00:00"));
    lcd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lcd));
    QTRY_VERIFY_WITH_TIMEOUT(!lcd.isPainting() && cellPattern(rendered(lcd), 5) == Zero, 5000);

    bool timerFiredInsidePaint = false;
    QTimer probe;
    probe.setInterval(1);
    connect(&probe, &QTimer::timeout, &lcd, [&] { timerFiredInsidePaint |= lcd.inPaint; });
    probe.start();
    lcd.longestPaint = 0;
    lcd.setValue(QStringLiteral("00:01"));
    lcd.repaint();
    QCOMPARE(lcd.isPainting(), stepping);
    QCOMPARE(cellPattern(rendered(lcd), 5), firstFrame);
    QTRY_VERIFY_WITH_TIMEOUT(!lcd.isPainting(), 5000);
    QCOMPARE(cellPatterns(rendered(lcd)), QStringList({ Zero, Zero, Colon, Zero, One }));
    // A step waits a seventh of the delay, 100 ms here; no paint comes near that.
    QVERIFY2(lcd.longestPaint < 50, qPrintable(QString::number(lcd.longestPaint)));
    QVERIFY(!timerFiredInsidePaint);
}

void TestLcd99::animatedChangeKeepsEventLoopRunning()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setAnimationDelay(700);
    lcd.setValue(QStringLiteral("00:00"));
    lcd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lcd));
    // The first value is a change of every cell, and is animated too.
    QTRY_VERIFY_WITH_TIMEOUT(!lcd.isPainting() && cellPattern(rendered(lcd), 5) == Zero, 5000);
    QTRY_VERIFY(!lcd.isPainting());

    QStringList lastCellFrames;
    int ticksWhilePainting = 0;
    bool otherCellsKept = true;
    QTimer probe;
    probe.setInterval(15);
    connect(&probe, &QTimer::timeout, &lcd, [&] {
        if (!lcd.isPainting())
            return;
        ++ticksWhilePainting;
        const QImage frame = rendered(lcd);
        const QStringList cells = cellPatterns(frame);
        otherCellsKept
            = otherCellsKept && cells.mid(0, 4) == QStringList({ Zero, Zero, Colon, Zero });
        if (lastCellFrames.isEmpty() || lastCellFrames.last() != cells.at(4))
            lastCellFrames << cells.at(4);
    });
    probe.start();

    QElapsedTimer clock;
    clock.start();
    lcd.setValue(QStringLiteral("00:01"));
    // The steps run from the event loop while the test waits, so only the probe sees them.
    QTRY_VERIFY_WITH_TIMEOUT(ticksWhilePainting > 0 && !lcd.isPainting(), 10000);
    const qint64 took = clock.elapsed();
    probe.stop();

    QVERIFY2(took >= 600, qPrintable(QString::number(took)));
    QVERIFY(lcd.paintDuration() >= 600);
    QVERIFY2(ticksWhilePainting >= 10, qPrintable(QString::number(ticksWhilePainting)));
    QVERIFY(otherCellsKept);
    // From the top down, 0 turns into 1: top bar, upper left, lower left, bottom bar.
    const QStringList steps { Zero, QStringLiteral("01101110"), QStringLiteral("00101110"),
        QStringLiteral("00100110"), One };
    qsizetype at = 0;
    for (const QString &frame : std::as_const(lastCellFrames)) {
        const qsizetype found = steps.indexOf(frame, at);
        QVERIFY2(found >= 0, qPrintable(lastCellFrames.join(u',')));
        at = found;
    }
    QVERIFY2(lastCellFrames.contains(steps.at(1)), qPrintable(lastCellFrames.join(u',')));
    QVERIFY2(lastCellFrames.contains(steps.at(2)), qPrintable(lastCellFrames.join(u',')));
    QCOMPARE(cellPatterns(rendered(lcd)), QStringList({ Zero, Zero, Colon, Zero, One }));
}

void TestLcd99::valueAssignedDuringAnimationIsDrawnAfterwards()
{
    TLCD99 lcd;
    applyTimeBarLayout(lcd);
    lcd.setAnimationDelay(350);
    lcd.setAnimation(TLCD99::anRandom);
    lcd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lcd));
    bool assignedWhilePainting = false;
    QTimer::singleShot(100, &lcd, [&] {
        assignedWhilePainting = lcd.isPainting();
        lcd.setValue(QStringLiteral("00:02"));
    });
    lcd.setValue(QStringLiteral("00:01"));
    QTRY_VERIFY(assignedWhilePainting);
    QTRY_COMPARE_WITH_TIMEOUT(
        cellPatterns(rendered(lcd)), QStringList({ Zero, Zero, Colon, Zero, Two }), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!lcd.isPainting(), 10000);
    QCOMPARE(cellPatterns(rendered(lcd)), QStringList({ Zero, Zero, Colon, Zero, Two }));
}

void TestLcd99::destroyedDuringAnimation()
{
    QPointer<TLCD99> lcd = new TLCD99;
    applyTimeBarLayout(*lcd);
    lcd->setAnimationDelay(700);
    lcd->show();
    QVERIFY(QTest::qWaitForWindowExposed(lcd));
    bool deletedWhilePainting = false;
    QTimer::singleShot(200, [&] {
        deletedWhilePainting = lcd->isPainting();
        delete lcd;
    });
    lcd->setValue(QStringLiteral("88:88"));
    QTRY_VERIFY(lcd.isNull());
    QVERIFY(deletedWhilePainting);
    QTest::qWait(800);
}

QTEST_MAIN(TestLcd99)
#include "tst_lcd99.moc"
