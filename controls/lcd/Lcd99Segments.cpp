#include "controls/lcd/Lcd99.h"

#include "core/Rounding.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Lcd99 {

namespace {

// One row per character: digits 0-9, minus, colon, then A-Z. Read a row left to
// right as segments 1 to 8: top, upper left, upper right, middle, lower left,
// lower right, bottom, colon.
constexpr std::array<quint8, 38> SegmentTable = {
    0b1110'1110, // 0
    0b0010'0100, // 1
    0b1011'1010, // 2
    0b1011'0110, // 3
    0b0111'0100, // 4
    0b1101'0110, // 5
    0b1101'1110, // 6
    0b1010'0100, // 7
    0b1111'1110, // 8
    0b1111'0110, // 9
    0b0001'0000, // -
    0b0000'0001, // :
    0b1111'1100, // A
    0b0101'1110, // B
    0b1100'1010, // C
    0b0011'1110, // D
    0b1101'1010, // E
    0b1101'1000, // F
    0b1101'1110, // G
    0b0101'1100, // H
    0b0010'0100, // I
    0b0010'0110, // J
    0b0111'1100, // K
    0b0100'1010, // L
    0b0001'1100, // M
    0b0001'1100, // N
    0b0001'1110, // O
    0b1111'1000, // P
    0b1111'0100, // Q
    0b0001'1000, // R
    0b1101'0110, // S
    0b0101'1000, // T
    0b0110'1110, // U
    0b0110'1110, // V
    0b0110'1110, // W
    0b0111'1100, // X
    0b0111'0100, // Y
    0b1011'1010, // Z
};

constexpr std::array<std::array<int, SegmentCount>, 5> SegmentOrders = { {
    { 8, 4, 2, 1, 3, 6, 7, 5 }, // spiral: colon and middle bar outward
    { 7, 6, 5, 8, 4, 3, 2, 1 }, // up
    { 1, 2, 3, 8, 4, 5, 6, 7 }, // down
    { 6, 3, 7, 8, 4, 1, 5, 2 }, // left: right-hand bars first
    { 2, 5, 1, 8, 4, 7, 3, 6 }, // right
} };

int tableRow(QChar cell)
{
    const char16_t c = cell.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c == u'-')
        return 10;
    if (c == u':')
        return 11;
    if (c >= u'A' && c <= u'Z')
        return 12 + (c - u'A');
    return -1;
}

bool isAccepted(QChar c)
{
    return tableRow(c) >= 0 || c == u' ' || c == u'.';
}

// Segments 1 and 7. The outer edge (at y0) is longer than the inner one; t grows the
// bar downward when positive, and the points sit a quarter of the thickness in.
QPolygon bevelledHorizontalBar(int x0, int y0, int length, int t, int T)
{
    const int c = y0 + roundHalfEven(t / 4.0);
    return QPolygon({ { x0, c }, { x0 + T / 2, y0 }, { x0 + length - T / 2, y0 },
        { x0 + length, c }, { x0 + length - T, y0 + t }, { x0 + T, y0 + t } });
}

// Segments 2, 3, 5 and 6, the horizontal bar turned on its side: t grows rightward.
QPolygon bevelledVerticalBar(int x0, int y0, int length, int t, int T)
{
    const int c = x0 + roundHalfEven(t / 4.0);
    return QPolygon({ { c, y0 }, { x0, y0 + T / 2 }, { x0, y0 + length - T / 2 },
        { c, y0 + length }, { x0 + t, y0 + length - T }, { x0 + t, y0 + T } });
}

// Segment 4, pointed at both ends and centred on the middle line.
QPolygon symmetricHorizontalBar(int x0, int mid, int length, int T)
{
    const int y0 = mid - T / 2;
    const int c = y0 + roundHalfEven(T / 2.0);
    return QPolygon({ { x0, c }, { x0 + T, y0 }, { x0 + length - T, y0 }, { x0 + length, c },
        { x0 + length - T, y0 + T }, { x0 + T, y0 + T } });
}

} // namespace

Geometry Geometry::of(
    QSize size, int digitNum, int digitSpacing, int gapX, int gapY, int segmentSize)
{
    Geometry g;
    g.digitNum = digitNum;
    g.digitSpacing = digitSpacing;
    g.gapX = gapX;
    g.gapY = gapY;
    g.pitch = digitSpacing + 1;
    g.digitWidth = (size.width() - 1 - digitNum * g.pitch) / digitNum;
    g.ymax = size.height() - 1;
    g.mid = g.ymax / 2;
    g.horizontalLength = g.digitWidth - 2 * gapX;
    g.verticalLength = g.mid - 2 * gapY;
    g.thickness = segmentSize;
    return g;
}

int Geometry::cellLeft(int k) const
{
    return (k - 1) * digitWidth + k * pitch;
}

QPolygon segmentPolygon(const Geometry &g, int k, int segment)
{
    const int x = g.cellLeft(k);
    const int T = g.thickness;
    switch (segment) {
    case 1:
        return bevelledHorizontalBar(x + g.gapX, 0, g.horizontalLength, T, T);
    case 7:
        return bevelledHorizontalBar(x + g.gapX, g.ymax, g.horizontalLength, -T, T);
    case 4:
        return symmetricHorizontalBar(x + g.gapX, g.mid, g.horizontalLength, T);
    case 2:
        return bevelledVerticalBar(x, g.gapY, g.verticalLength, T, T);
    case 5:
        return bevelledVerticalBar(x, g.mid + g.gapY, g.verticalLength, T, T);
    case 3:
        return bevelledVerticalBar(x + g.digitWidth, g.gapY, g.verticalLength, -T, T);
    case 6:
        return bevelledVerticalBar(x + g.digitWidth, g.mid + g.gapY, g.verticalLength, -T, T);
    default:
        return {};
    }
}

QRect colonDotRect(const Geometry &g, int k, bool upper)
{
    const int cw = g.horizontalLength / 3;
    const int ch = g.verticalLength / 3;
    const int cx = g.cellLeft(k) + (g.digitWidth - cw) / 2;
    const int top = upper ? g.mid - 2 * ch : g.mid + ch;
    return QRect(QPoint(cx, top), QSize(cw, ch));
}

QRect decimalPointRect(const Geometry &g, int k)
{
    // At the foot of the spacing to the left of cell k.
    const int x1 = g.cellLeft(k) - g.pitch + 2;
    const int side = g.digitSpacing - 2;
    return QRect(QPoint(x1, g.ymax - side), QSize(side, side));
}

QList<QRect> ellipseRows(const QRect &bounds)
{
    // Qt's own ellipse at this size rounds to odd shapes: taking every pixel whose
    // centre lies inside fills a 2 x 2 box whole and nothing outside it.
    QList<QRect> rows;
    if (bounds.isEmpty())
        return rows;
    const double rx = bounds.width() / 2.0;
    const double ry = bounds.height() / 2.0;
    for (int row = 0; row < bounds.height(); ++row) {
        const double dy = (row + 0.5 - ry) / ry;
        const double halfWidth = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        const int first = int(std::ceil(rx - halfWidth - 0.5));
        const int last = int(std::floor(rx + halfWidth - 0.5));
        if (first <= last)
            rows << QRect(bounds.left() + first, bounds.top() + row, last - first + 1, 1);
    }
    return rows;
}

bool lightsSegment(QChar cell, int segment)
{
    const int row = tableRow(cell);
    if (row < 0 || segment < 1 || segment > SegmentCount)
        return false;
    return (SegmentTable[row] >> (SegmentCount - segment)) & 1;
}

const std::array<int, SegmentCount> &segmentOrder(TLCD99::TLCDAnimation animation)
{
    switch (animation) {
    case TLCD99::anSpiral:
        return SegmentOrders[0];
    case TLCD99::anUp:
        return SegmentOrders[1];
    case TLCD99::anLeft:
        return SegmentOrders[3];
    case TLCD99::anRight:
        return SegmentOrders[4];
    default: // anDown, and the order of a pass that is not animated
        return SegmentOrders[2];
    }
}

QString acceptedValue(const QString &text)
{
    QString accepted = text;
    for (QChar &c : accepted) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
        if (!isAccepted(c))
            return {};
    }
    if (accepted.endsWith(u'.'))
        accepted.chop(1);
    return accepted;
}

CellString splitCells(const QString &value)
{
    CellString split;
    bool afterPoint = false;
    int pointAt = 0;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'.') {
            split.points += u'.';
            if (afterPoint) {
                // A second point in a row marks a blank cell of its own.
                split.cells += u' ';
                split.starts += pointAt;
            }
            afterPoint = true;
            pointAt = i;
        } else {
            split.cells += c;
            split.starts += afterPoint ? pointAt : i;
            if (!afterPoint)
                split.points += u' ';
            afterPoint = false;
        }
    }
    // A point with nothing after it still needs a cell to stand before; without one
    // the point string would be a mark longer and every point would shift a cell left.
    if (afterPoint) {
        split.cells += u' ';
        split.starts += pointAt;
    }
    return split;
}

CellString rightAligned(CellString split, int digitNum)
{
    const qsizetype padding = digitNum - split.cells.size();
    if (padding > 0) {
        split.cells = split.cells.rightJustified(digitNum, u' ');
        split.points = split.points.rightJustified(digitNum, u' ');
        split.starts.insert(0, padding, 0);
    }
    return split;
}

void drawSegment(
    QPainter &painter, const Geometry &geometry, int k, int segment, const QColor &color)
{
    if (segment == ColonSegment) {
        drawColon(painter, geometry, k, color);
        return;
    }
    const QPolygon corners = segmentPolygon(geometry, k, segment);
    painter.setPen(QPen(color, 1));
    painter.setBrush(color);
    painter.drawPolygon(corners);
    // Qt's outline can leave out a corner where two edges meet at a slant; the
    // shape's corners are part of it.
    painter.drawPoints(corners);
}

void drawColon(QPainter &painter, const Geometry &geometry, int k, const QColor &color)
{
    for (bool upper : { true, false }) {
        for (const QRect &row : ellipseRows(colonDotRect(geometry, k, upper)))
            painter.fillRect(row, color);
    }
}

void drawDecimalPoint(QPainter &painter, const Geometry &geometry, int k, const QColor &color)
{
    const QRect square = decimalPointRect(geometry, k);
    if (!square.isEmpty())
        painter.fillRect(square, color);
}

} // namespace Lcd99
