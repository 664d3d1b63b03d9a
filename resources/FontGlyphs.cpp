#include "resources/FontGlyphs.h"

#include <QPainter>

namespace FontGlyphs {

namespace {
// A block capital T whose top-left corner is at (x, y): 7 wide, 9 high.
void drawT(QPainter &p, int x, int y, const QColor &color)
{
    p.fillRect(x, y, 7, 2, color);
    p.fillRect(x + 2, y, 3, 9, color);
}

QPixmap trueTypeGlyph()
{
    QPixmap pixmap(Width, Height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    drawT(p, 1, 1, QColor(0x80, 0x80, 0x80));
    drawT(p, 5, 3, QColor(0x00, 0x00, 0x80));
    return pixmap;
}

// A small printer: paper over a body with a paper slot.
QPixmap deviceGlyph()
{
    QPixmap pixmap(Width, Height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(5, 0, 8, 5, Qt::white);
    p.setPen(Qt::black);
    p.drawRect(5, 0, 7, 4);
    p.fillRect(2, 5, 15, 6, QColor(0x80, 0x80, 0x80));
    p.drawRect(2, 5, 14, 5);
    p.fillRect(13, 7, 2, 1, Qt::green);
    return pixmap;
}
} // namespace

QPixmap glyph(const QString &name)
{
    if (name == QLatin1String("TRUETYPE_FNT"))
        return trueTypeGlyph();
    if (name == QLatin1String("DEVICE_FNT"))
        return deviceGlyph();
    return QPixmap();
}

} // namespace FontGlyphs
