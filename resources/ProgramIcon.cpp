#include "resources/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace {
// Coordinates are in a 256-unit square, as in vemitrainer.svg.
constexpr qreal Units = 256.0;
const QColor Tile(0x00, 0x80, 0x80);
const QColor KeyboardBody(0xF4, 0xF4, 0xF0);
const QColor Key(0x40, 0x48, 0x50);
const QColor Watch(0xF0, 0x8C, 0x1E);

void drawKeyboard(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(KeyboardBody);
    p.drawRoundedRect(QRectF(24, 120, 208, 112), 16, 16);
    p.setBrush(Key);
    for (int row = 0; row < 3; ++row) {
        const qreal y = 136 + row * 28;
        const qreal indent = row * 10;
        for (int col = 0; col < 6 - row; ++col)
            p.drawRoundedRect(QRectF(40 + indent + col * 30, y, 22, 20), 4, 4);
    }
    p.drawRoundedRect(QRectF(72, 216, 112, 12), 4, 4); // space bar
}

void drawStopwatch(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Watch);
    p.drawRect(QRectF(120, 16, 16, 16)); // crown
    p.drawEllipse(QPointF(128, 72), 48, 48);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(128, 72), 36, 36);
    QPen hand(Key, 8, Qt::SolidLine, Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(QPointF(128, 72), QPointF(128, 46));
    p.drawLine(QPointF(128, 72), QPointF(148, 82));
}
} // namespace

QImage ProgramIcon::image(int size)
{
    if (size < 1 || size > 256)
        return QImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / Units, size / Units);
    p.setPen(Qt::NoPen);
    p.setBrush(Tile);
    p.drawRoundedRect(QRectF(0, 0, Units, Units), 40, 40);
    drawStopwatch(p);
    drawKeyboard(p);
    return image;
}

QPixmap ProgramIcon::pixmap(int size)
{
    return QPixmap::fromImage(image(size));
}

QIcon ProgramIcon::icon()
{
    QIcon icon;
    for (int size : { 16, 32, 48, 256 })
        icon.addPixmap(pixmap(size));
    return icon;
}
