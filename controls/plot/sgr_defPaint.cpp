#include "controls/plot/sgr_def.h"

#include "controls/plot/sgr_defMemBitmap.h"
#include "controls/plot/sgr_defSeries.h"
#include "platform/SystemColors.h"

#include <QPainter>

namespace {

// GDI rectangles exclude their right and bottom edges; Qt's outline includes them.
void outline(QPainter &painter, int left, int top, int right, int bottom)
{
    painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}

} // namespace

void Tsp_XYPlot::paintEvent(QPaintEvent *)
{
    if (size() != m_paintSize) {
        m_paintSize = size();
        m_layoutValid = m_frameValid = m_fieldValid = false;
    }
    if (m_bitmap && m_bitmap->Valid()) {
        if (m_bitmap->Width() != width() || m_bitmap->Height() != height()) {
            m_bitmap->Resize(width(), height());
            m_layoutValid = m_frameValid = m_fieldValid = false;
        }
    }
    m_updatePending = false;
    if (!m_bitmap || !m_bitmap->Valid()) {
        QPainter painter(this);
        paintDirect(painter);
        return;
    }
    {
        QPainter painter(&m_bitmap->pixmap());
        paintLayers(painter);
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, m_bitmap->pixmap(), 0, 0, width(), height());
}

void Tsp_XYPlot::paintLayers(QPainter &painter)
{
    if (!m_layoutValid) {
        painter.setFont(font());
        settleLayout();
    }
    if (!m_frameValid) {
        DrawFrame(painter);
        m_frameValid = true;
    }
    if (!m_fieldValid) {
        DrawField(painter);
        m_fieldValid = true;
    }
    DrawBorder(painter);
}

void Tsp_XYPlot::paintDirect(QPainter &painter)
{
    if (!m_layoutValid) {
        painter.setFont(font());
        settleLayout();
    }
    DrawFrame(painter);
    DrawField(painter);
    DrawBorder(painter);
}

void Tsp_XYPlot::DrawFrame(QPainter &painter)
{
    ++m_frameDraws;
    const int w = width();
    const int h = height();
    const Field f = m_field;
    const QColor color = SystemColors::resolve(m_color);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(QRect(0, 0, w, f.top), color);
    painter.fillRect(QRect(0, f.bottom + 1, w, h - f.bottom - 1), color);
    painter.fillRect(QRect(0, f.top, f.left, f.bottom + 1 - f.top), color);
    painter.fillRect(QRect(f.right, f.top, w - f.right, f.bottom + 1 - f.top), color);

    // Each line is lengthened by the width of the one it meets, so the corners close.
    auto widthIfShown = [](const Tsp_Axis &axis) {
        return axis.LineAttr()->visible() ? axis.LineAttr()->width() : 0;
    };
    const Tsp_Axis &left = *m_axes[Left];
    const Tsp_Axis &right = *m_axes[Right];
    const Tsp_Axis &bottom = *m_axes[Bottom];
    const Tsp_Axis &top = *m_axes[Top];
    painter.setBrush(Qt::NoBrush);
    top.DrawAxisLine(painter, 0, widthIfShown(right));
    right.DrawAxisLine(painter, widthIfShown(bottom), 0);
    bottom.DrawAxisLine(painter, widthIfShown(left), 0);
    left.DrawAxisLine(painter, 0, widthIfShown(top));

    QPen pen(palette().color(QPalette::WindowText));
    pen.setWidth(1);
    painter.setPen(pen);
    painter.setFont(font());
    top.DrawTicksAndLabels(painter);
    right.DrawTicksAndLabels(painter);
    left.DrawTicksAndLabels(painter);
    bottom.DrawTicksAndLabels(painter);
    DrawBorder(painter);
}

void Tsp_XYPlot::DrawField(QPainter &painter)
{
    ++m_fieldDraws;
    const Field f = m_field;
    const QRect fieldRect(f.left, f.top, f.right - f.left, f.bottom - f.top);
    painter.save();
    painter.setClipRect(fieldRect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (m_fieldColor != ColorNames::ColorNone)
        painter.fillRect(fieldRect, SystemColors::resolve(m_fieldColor));
    painter.setBrush(Qt::NoBrush);
    for (const int axis : { Left, Bottom, Right, Top })
        drawGridLines(painter, *m_axes[axis]);
    for (Tsp_DataSeries *series : std::as_const(m_series)) {
        if (series->active())
            series->Draw(painter);
    }
    painter.restore();
}

// Ticks on the field's first or last row or column get no grid line: it
// would merge with the axis line.
void Tsp_XYPlot::drawGridLines(QPainter &painter, const Tsp_Axis &axis)
{
    if (!axis.GridAttr()->visible() || axis.ticksCount() == 0)
        return;
    axis.GridAttr()->applyTo(painter);
    const Field f = m_field;
    for (int i = 0; i < axis.ticksCount(); ++i) {
        const int p = axis.tickPixel(i);
        if (axis.vertical()) {
            if (f.top < p && p < f.bottom - 1)
                painter.drawLine(f.left, p, f.right - 1, p);
        } else if (f.left < p && p < f.right - 1) {
            painter.drawLine(p, f.top, p, f.bottom - 1);
        }
    }
}

// Only the flat border is drawn; the control's two outermost rings end in its colour.
void Tsp_XYPlot::DrawBorder(QPainter &painter)
{
    const int w = width();
    const int h = height();
    painter.setBrush(Qt::NoBrush);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    QPen pen = painter.pen();
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(1);
    painter.setPen(pen);
    outline(painter, 1, 1, w - 1, h - 1);
    pen.setColor(SystemColors::resolve(m_color));
    painter.setPen(pen);
    outline(painter, 0, 0, w, h);
    outline(painter, 1, 1, w - 1, h - 1);
}
