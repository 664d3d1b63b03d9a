#include "controls/plot/sgr_defLineAttr.h"

#include "platform/SystemColors.h"

#include <QPainter>

#include <algorithm>

Tsp_CustomLineAttr::Tsp_CustomLineAttr(QObject *parent)
    : QObject(parent)
{ }

Tsp_CustomLineAttr::Tsp_CustomLineAttr(ColorValue color, bool visible, QObject *parent)
    : QObject(parent)
    , m_color(color)
    , m_visible(visible)
{ }

void Tsp_CustomLineAttr::setColor(ColorValue color)
{
    m_color = color;
    Changed();
}

void Tsp_CustomLineAttr::setStyle(TPenStyle style)
{
    m_style = style;
    Changed();
}

void Tsp_CustomLineAttr::setWidth(int width)
{
    m_width = static_cast<quint16>(std::clamp(width, 0, 0xFFFF));
    Changed();
}

void Tsp_CustomLineAttr::setVisible(bool visible)
{
    m_visible = visible;
    Changed();
}

void Tsp_CustomLineAttr::Assign(const Tsp_CustomLineAttr &other)
{
    m_color = other.m_color;
    m_style = other.m_style;
    m_width = other.m_width;
    m_visible = other.m_visible;
    Changed();
}

Qt::PenStyle Tsp_CustomLineAttr::qtPenStyle(TPenStyle style)
{
    switch (style) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    case psSolid:
    case psInsideFrame:
        break;
    }
    return Qt::SolidLine;
}

QPen Tsp_CustomLineAttr::pen() const
{
    QPen pen(SystemColors::resolve(m_color));
    pen.setStyle(qtPenStyle(m_style));
    pen.setWidth(m_width);
    return pen;
}

void Tsp_CustomLineAttr::applyTo(QPainter &painter) const
{
    painter.setPen(pen());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
