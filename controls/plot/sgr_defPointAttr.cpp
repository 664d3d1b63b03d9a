#include "controls/plot/sgr_defPointAttr.h"

#include "platform/SystemColors.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

Tsp_PointAttr::Tsp_PointAttr(QObject *parent)
    : QObject(parent)
{ }

void Tsp_PointAttr::setColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    emit changed();
}

void Tsp_PointAttr::setStyle(Qt::BrushStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    emit changed();
}

void Tsp_PointAttr::setKind(TPointKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit changed();
}

// An even size reads back one larger: the marker needs a centre pixel.
void Tsp_PointAttr::setHSize(int size)
{
    const int left = std::max(size, 1) / 2;
    if (left == m_left)
        return;
    m_left = left;
    m_right = left + 1;
    emit changed();
}

void Tsp_PointAttr::setVSize(int size)
{
    const int up = std::max(size, 1) / 2;
    if (up == m_up)
        return;
    m_up = up;
    m_down = up + 1;
    emit changed();
}

void Tsp_PointAttr::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit changed();
}

// A border wider than the half-extents would swallow the fill.
void Tsp_PointAttr::setBorderWidth(int width)
{
    const int stored = std::min({ width < 0 ? 1 : width, m_left, m_up });
    if (stored == m_borderWidth)
        return;
    m_borderWidth = stored;
    emit changed();
}

void Tsp_PointAttr::setBorderColor(ColorValue color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    emit changed();
}

void Tsp_PointAttr::Assign(const Tsp_PointAttr &other)
{
    if (&other == this)
        return;
    setKind(other.m_kind);
    setVisible(other.m_visible);
    setHSize(other.hSize());
    setVSize(other.vSize());
    setColor(other.m_color);
    setStyle(other.m_style);
}

void Tsp_PointAttr::applyTo(QPainter &painter) const
{
    QPen pen(SystemColors::resolve(m_borderColor));
    pen.setWidth(m_borderWidth);
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(QBrush(SystemColors::resolve(m_color), m_style));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace PointMarker {

void draw(QPainter &painter, Tsp_PointAttr::TPointKind kind, int x, int y, int left, int up)
{
    using K = Tsp_PointAttr;
    // Qt's rectangles and ellipses include their far edge with the outline
    // pen, so the box is one pixel smaller than the exclusive GDI box.
    const QRect box(x - left, y - up, 2 * left, 2 * up);
    switch (kind) {
    case K::ptRectangle:
        painter.drawRect(box);
        break;
    case K::ptEllipse:
        painter.drawEllipse(box);
        break;
    case K::ptDiamond:
        painter.drawPolygon(
            QPolygon({ { x, y - up }, { x + left, y }, { x, y + up }, { x - left, y } }));
        break;
    case K::ptCross:
        painter.drawLine(x - left, y, x + left, y);
        painter.drawLine(x, y - up, x, y + up);
        break;
    case K::ptTriangle:
        painter.drawPolygon(
            QPolygon({ { x, y - up }, { x + left, y + up }, { x - left, y + up } }));
        break;
    case K::ptDownTriangle:
        painter.drawPolygon(
            QPolygon({ { x - left, y - up }, { x + left, y - up }, { x, y + up } }));
        break;
    case K::ptCustom:
        break; // drawn only by the custom-point event, which nothing assigns
    }
}

} // namespace PointMarker
