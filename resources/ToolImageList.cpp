#include "resources/ToolImageList.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <initializer_list>

namespace {

const QColor Ink(0x30, 0x30, 0x30);
const QColor PageEdge(0x5a, 0x5f, 0x66);
const QColor TextLine(0x8c, 0x94, 0x9e);
const QColor Paper(Qt::white);

// All images are designed on a 16 x 16 grid. Outlines are one device pixel wide
// and sit just inside each shape's edge, so edges placed on whole units land on
// pixel borders at 16 px and the 32 px images get finer lines and extra detail
// instead of doubled pixels.
struct Canvas
{
    QPainter &p;
    qreal px; // one device pixel in grid units
    bool large; // enough pixels for secondary detail

    qreal thick() const { return large ? 1.5 : 2.0; }

    void shape(const QPainterPath &path, const QColor &fill, const QColor &line) const
    {
        p.save();
        p.fillPath(path, fill);
        p.setClipPath(path, Qt::IntersectClip);
        p.strokePath(path, QPen(line, 2 * px, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.restore();
    }

    void rect(const QRectF &r, const QColor &fill, const QColor &line) const
    {
        QPainterPath path;
        path.addRect(r);
        shape(path, fill, line);
    }

    void poly(std::initializer_list<QPointF> points, const QColor &fill, const QColor &line) const
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(points)));
        path.closeSubpath();
        shape(path, fill, line);
    }

    void ellipse(const QRectF &r, const QColor &fill, const QColor &line) const
    {
        QPainterPath path;
        path.addEllipse(r);
        shape(path, fill, line);
    }

    void stroke(const QPainterPath &path, const QColor &color, qreal width,
        Qt::PenCapStyle cap = Qt::FlatCap) const
    {
        p.strokePath(path, QPen(color, width, Qt::SolidLine, cap, Qt::RoundJoin));
    }

    // Ragged rows suggest prose; 32 px fits more, thinner rows.
    void textLines(const QRectF &area, const QColor &color = TextLine) const
    {
        const qreal step = large ? 1.5 : 2.0;
        int row = 0;
        for (qreal y = area.top(); y + px <= area.bottom() + 0.01; y += step, ++row) {
            const qreal right = (row % 3 == 2) ? area.left() + area.width() * 0.6 : area.right();
            p.fillRect(QRectF(area.left(), y, right - area.left(), px), color);
        }
    }
};

void drawNewPage(const Canvas &c)
{
    c.poly({ { 3, 1 }, { 10, 1 }, { 13, 4 }, { 13, 15 }, { 3, 15 } }, Paper, PageEdge);
    c.poly({ { 10, 1 }, { 10, 4 }, { 13, 4 } }, QColor(0xd5, 0xd9, 0xde), PageEdge);
}

void drawFolder(const Canvas &c)
{
    const QColor edge(0x8a, 0x62, 0x00);
    c.poly({ { 1, 2 }, { 6, 2 }, { 7, 3 }, { 14, 3 }, { 14, 14 }, { 1, 14 } },
        QColor(0xe0, 0xa8, 0x10), edge);
    c.rect(QRectF(3, 5, 9, 4), Paper, PageEdge);
    c.poly({ { 1, 14 }, { 3, 7 }, { 16, 7 }, { 14, 14 } }, QColor(0xf8, 0xcf, 0x4a), edge);
}

void drawFloppyDisk(const Canvas &c)
{
    const QColor edge(0x1c, 0x3a, 0x66);
    c.poly(
        { { 1, 1 }, { 14, 1 }, { 15, 2 }, { 15, 15 }, { 1, 15 } }, QColor(0x2f, 0x5f, 0xa7), edge);
    c.rect(QRectF(4, 1, 8, 5), QColor(0xc8, 0xcc, 0xd2), QColor(0x6b, 0x70, 0x78));
    c.p.fillRect(QRectF(9, 2, 2, 3), edge);
    c.rect(QRectF(3, 8, 10, 7), Paper, edge);
    c.textLines(QRectF(5, 10, 6, 4));
}

void drawPrinter(const Canvas &c)
{
    const QColor edge(0x4a, 0x4f, 0x55);
    c.rect(QRectF(4, 1, 8, 6), Paper, PageEdge);
    c.rect(QRectF(1, 6, 14, 7), QColor(0xa4, 0xaa, 0xb1), edge);
    c.p.fillRect(QRectF(3, 10, 10, 1), edge);
    c.rect(QRectF(4, 10, 8, 5), Paper, PageEdge);
    c.textLines(QRectF(5, 12, 6, 2));
    c.p.fillRect(QRectF(12, 7.5, c.large ? 1.5 : 1, 1), QColor(0x2e, 0xb8, 0x3e));
}

void drawScissors(const Canvas &c)
{
    const QColor blade(0x60, 0x66, 0x6e);
    QPainterPath blades;
    blades.moveTo(5, 1);
    blades.lineTo(10, 10);
    blades.moveTo(11, 1);
    blades.lineTo(6, 10);
    c.stroke(blades, blade, c.large ? 1.5 : 1.0, Qt::RoundCap);
    QPainterPath rings;
    rings.addEllipse(QRectF(2, 9.5, 4.5, 4.5));
    rings.addEllipse(QRectF(9.5, 9.5, 4.5, 4.5));
    c.stroke(rings, QColor(0xc0, 0x28, 0x28), c.large ? 1.0 : 1.5);
}

void drawCopy(const Canvas &c)
{
    c.rect(QRectF(1, 1, 9, 10), Paper, PageEdge);
    c.textLines(QRectF(3, 3, 5, 2));
    c.rect(QRectF(6, 5, 9, 10), Paper, PageEdge);
    c.textLines(QRectF(8, 7, 5, 6));
}

void drawPaste(const Canvas &c)
{
    c.rect(QRectF(2, 2, 11, 13), QColor(0xb0, 0x7a, 0x3c), QColor(0x6e, 0x48, 0x1e));
    c.rect(QRectF(5, 1, 5, 3), QColor(0xc8, 0xcc, 0xd2), QColor(0x6b, 0x70, 0x78));
    c.rect(QRectF(7, 6, 8, 9), Paper, PageEdge);
    c.textLines(QRectF(9, 8, 4, 5));
}

// Redo is undo mirrored left to right.
void drawTurnArrow(const Canvas &c, bool mirrored)
{
    c.p.save();
    if (mirrored) {
        c.p.translate(16, 0);
        c.p.scale(-1, 1);
    }
    const QColor blue(0x2a, 0x62, 0xb8);
    QPainterPath curve;
    curve.moveTo(5, 6);
    curve.cubicTo(11, 6, 15, 9, 11, 14);
    c.stroke(curve, blue, c.thick());
    c.poly({ { 1, 6 }, { 6, 1.5 }, { 6, 10.5 } }, blue, blue.darker(130));
    c.p.restore();
}

void drawUndo(const Canvas &c)
{
    drawTurnArrow(c, false);
}
void drawRedo(const Canvas &c)
{
    drawTurnArrow(c, true);
}

void drawMagnifier(const Canvas &c)
{
    QPainterPath handle;
    handle.moveTo(9.5, 9.5);
    handle.lineTo(14.5, 14.5);
    c.stroke(handle, QColor(0x5a, 0x3c, 0x1e), c.thick() + 0.5, Qt::RoundCap);
    c.ellipse(QRectF(1, 1, 10, 10), QColor(0xcf, 0xe6, 0xfa), Ink);
    c.ellipse(QRectF(1 + c.thick() / 2, 1 + c.thick() / 2, 10 - c.thick(), 10 - c.thick()),
        QColor(0xcf, 0xe6, 0xfa), QColor(0x6a, 0x70, 0x78));
}

void drawReplace(const Canvas &c)
{
    c.p.save();
    c.p.scale(0.625, 0.625);
    drawMagnifier(Canvas { c.p, c.px / 0.625, c.large });
    c.p.restore();
    const QColor orange(0xe0, 0x78, 0x10);
    c.p.fillRect(QRectF(4, 12, 6, 2), orange);
    c.poly({ { 10, 10 }, { 15, 13 }, { 10, 16 } }, orange, orange.darker(130));
}

void drawBold(const Canvas &c)
{
    QPainterPath outer;
    outer.addRoundedRect(QRectF(3, 2, 8, 6.5), 3, 3);
    QPainterPath lower;
    lower.addRoundedRect(QRectF(3, 7, 9, 7), 3.5, 3.5);
    QPainterPath stem;
    stem.addRect(QRectF(3, 2, 4, 12));
    QPainterPath holes;
    holes.addRect(QRectF(7, 4, 1.5, 2.5));
    holes.addRect(QRectF(7, 9, 2, 3));
    c.p.fillPath(outer.united(lower).united(stem).subtracted(holes), Ink);
}

void drawItalic(const Canvas &c)
{
    c.p.fillRect(QRectF(7, 2, 6, 2), Ink);
    c.p.fillRect(QRectF(3, 12, 6, 2), Ink);
    c.poly({ { 9, 4 }, { 11, 4 }, { 7, 12 }, { 5, 12 } }, Ink, Ink);
}

void drawUnderline(const Canvas &c)
{
    QPainterPath u;
    u.moveTo(5, 2);
    u.lineTo(5, 7.5);
    u.arcTo(QRectF(5, 4.5, 6, 6), 180, 180);
    u.lineTo(11, 2);
    c.stroke(u, Ink, 2);
    c.p.fillRect(QRectF(3, 13, 10, c.large ? 1.5 : 1), QColor(0x2a, 0x62, 0xb8));
}

void drawHelp(const Canvas &c)
{
    c.ellipse(QRectF(1, 1, 14, 14), QColor(0x2f, 0x6f, 0xd0), QColor(0x1c, 0x44, 0x88));
    QPainterPath hook;
    hook.arcMoveTo(QRectF(5.5, 3.5, 5, 5), 160);
    hook.arcTo(QRectF(5.5, 3.5, 5, 5), 160, -250);
    hook.lineTo(8, 9.5);
    c.stroke(hook, Paper, c.thick());
    c.p.fillRect(QRectF(7, 11, 2, 2), Paper);
}

// Shared by both timer images so start and stop read as a pair.
void drawClock(const Canvas &c)
{
    // Odd diameter puts the centre mid-pixel, so one-unit hands fall on whole pixels.
    c.ellipse(QRectF(0, 0, 9, 9), Paper, Ink);
    if (c.large) {
        for (int i = 0; i < 4; ++i) {
            c.p.save();
            c.p.translate(4.5, 4.5);
            c.p.rotate(90 * i);
            c.p.fillRect(QRectF(-0.5, -4, 1, 1), TextLine);
            c.p.restore();
        }
    }
    c.p.fillRect(QRectF(4, 1.5, 1, 3.5), Ink);
    c.p.fillRect(QRectF(4, 4, 3, 1), Ink);
}

void drawTimerStart(const Canvas &c)
{
    drawClock(c);
    c.poly(
        { { 6, 5 }, { 15, 10.5 }, { 6, 16 } }, QColor(0x2e, 0xa8, 0x3e), QColor(0x17, 0x66, 0x22));
}

void drawTimerStop(const Canvas &c)
{
    drawClock(c);
    QPainterPath square;
    square.addRoundedRect(QRectF(6, 6, 10, 10), c.large ? 1.5 : 1, c.large ? 1.5 : 1);
    c.shape(square, QColor(0xd8, 0x26, 0x26), QColor(0x80, 0x10, 0x10));
}

// Window with a title bar; returns the client area left for the panes.
QRectF drawWindowFrame(const Canvas &c)
{
    c.rect(QRectF(1, 2, 14, 12), Paper, QColor(0x3d, 0x4a, 0x5c));
    c.p.fillRect(QRectF(2, 3, 12, 2), QColor(0x3b, 0x6f, 0xc4));
    return QRectF(2, 5, 12, 8);
}

void drawOnePane(const Canvas &c)
{
    const QRectF client = drawWindowFrame(c);
    c.textLines(client.adjusted(1, 1, -1, -1));
}

void drawTwoPanes(const Canvas &c)
{
    const QRectF client = drawWindowFrame(c);
    const QColor splitter(0xb4, 0xbc, 0xc8);
    c.p.fillRect(QRectF(7, client.top(), 2, client.height()), splitter);
    if (c.large) {
        // Edges keep the bar from merging into the title bar as one "T" shape.
        const QColor edge(0x70, 0x7a, 0x88);
        c.p.fillRect(QRectF(7, client.top(), c.px, client.height()), edge);
        c.p.fillRect(QRectF(9 - c.px, client.top(), c.px, client.height()), edge);
    }
    c.textLines(QRectF(client.left() + 1, client.top() + 1, 3, client.height() - 2));
    c.textLines(QRectF(10, client.top() + 1, 3, client.height() - 2));
}

using DrawFunction = void (*)(const Canvas &);

constexpr std::array<DrawFunction, ToolImageList::Count> Drawers = {
    drawNewPage,
    drawFolder,
    drawFloppyDisk,
    drawPrinter,
    drawScissors,
    drawCopy,
    drawPaste,
    drawUndo,
    drawRedo,
    drawMagnifier,
    drawReplace,
    drawBold,
    drawItalic,
    drawUnderline,
    drawHelp,
    drawTimerStart,
    drawTimerStop,
    drawOnePane,
    drawTwoPanes,
};

bool validIndex(int index)
{
    return index >= 0 && index < ToolImageList::Count;
}

} // namespace

QPixmap ToolImageList::pixmap(int index, int size)
{
    if (!validIndex(index) || size < 1 || size > 256)
        return {};

    QPixmap result(size, size);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    Drawers[index](Canvas { painter, 16.0 / size, size >= 32 });
    return result;
}

QIcon ToolImageList::icon(int index)
{
    if (!validIndex(index))
        return {};

    QIcon result;
    result.addPixmap(pixmap(index, 16));
    result.addPixmap(pixmap(index, 32));
    return result;
}
