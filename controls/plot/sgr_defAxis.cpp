#include "controls/plot/sgr_defAxis.h"

#include "core/settings/ColorNames.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int TickMarkLength = 4;
constexpr int LabelGap = 5; // between the line's outer edge and a label

// An axis-parallel line whose end point is left out, as the platform's line
// drawing does; a line of no length draws nothing.
void drawSpan(QPainter &painter, QPoint from, QPoint end)
{
    if (from == end)
        return;
    const QPoint towards(
        (end.x() > from.x()) - (end.x() < from.x()), (end.y() > from.y()) - (end.y() < from.y()));
    painter.drawLine(from, end - towards);
}

} // namespace

Tsp_Axis::Tsp_Axis(quint32 flags, Tsp_AxisPlot *plot)
    : Tsp_Scale(flags)
    , m_plot(plot)
    , m_lineAttr(std::make_unique<Tsp_LineAttr>(ColorNames::clBlack, true))
    , m_gridAttr(std::make_unique<Tsp_LineAttr>(ColorNames::clGray, false))
{
    QObject::connect(
        m_lineAttr.get(), &Tsp_LineAttr::changed, m_lineAttr.get(), [this] { RequestRepaint(); });
    QObject::connect(m_gridAttr.get(), &Tsp_LineAttr::changed, m_gridAttr.get(),
        [this] { requestFieldRepaint(); });
}

Tsp_Axis::~Tsp_Axis() = default;

void Tsp_Axis::setMargin(int pixels)
{
    if (pixels == m_margin)
        return;
    m_margin = pixels;
    RequestRepaint();
}

void Tsp_Axis::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    RequestRepaint();
}

QString Tsp_Axis::GetTickLabel(int index) const
{
    const QString text = Tsp_Scale::GetTickLabel(index);
    return m_plot ? m_plot->AxisTickLabel(*this, index, text) : text;
}

int Tsp_Axis::Thickness(int W, int H) const
{
    return m_lineAttr->width() + ticksRoom(W, H);
}

void Tsp_Axis::Assign(const Tsp_Axis &other)
{
    if (&other == this)
        return;
    assignScale(other);
    m_margin = other.m_margin;
    m_caption = other.m_caption;
    m_lineAttr->Assign(*other.m_lineAttr);
    m_gridAttr->Assign(*other.m_gridAttr);
    RequestRepaint();
}

void Tsp_Axis::FlagChanged(int bit, bool)
{
    const quint32 mask = 1u << bit;
    if (mask & (sfAutoMin | sfAutoMax)) {
        if (m_plot && m_plot->Autoscale(*this))
            m_plot->AxisChanged(*this, false);
        return;
    }
    RequestRepaint();
}

void Tsp_Axis::RequestRepaint()
{
    if (m_plot)
        m_plot->AxisChanged(*this, false);
}

void Tsp_Axis::requestFieldRepaint()
{
    if (m_plot)
        m_plot->AxisChanged(*this, true);
}

void Tsp_Axis::DrawAxisLine(QPainter &painter, int startLengthening, int endLengthening) const
{
    if (!m_lineAttr->visible())
        return;
    QPen pen = m_lineAttr->pen();
    pen.setWidth(1);
    painter.setPen(pen);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    const int outwards = oppositeSide() ? 1 : -1; // vertical: left is normal
    for (int k = 0; k < m_lineAttr->width(); ++k) {
        if (vertical()) {
            const int x = lineX() + outwards * k;
            drawSpan(painter, QPoint(x, lineY() - lineLength() - endLengthening),
                QPoint(x, lineY() + 1 + startLengthening));
        } else {
            const int y = lineY() - outwards * k; // horizontal: downwards is normal
            drawSpan(painter, QPoint(lineX() - startLengthening, y),
                QPoint(lineX() + lineLength() + 1 + endLengthening, y));
        }
    }
}

void Tsp_Axis::DrawTicksAndLabels(QPainter &painter) const
{
    if (ticksCount() == 0 || (!ticksLines() && noTicksLabel()))
        return;
    if (ticksLines())
        drawTickMarks(painter);
    if (!noTicksLabel())
        drawLabels(painter);
}

void Tsp_Axis::drawTickMarks(QPainter &painter) const
{
    const int w = m_lineAttr->width();
    const int X = lineX();
    const int Y = lineY();
    for (int i = 0; i < ticksCount(); ++i) {
        const int p = tickPixel(i);
        if (vertical() && oppositeSide())
            drawSpan(painter, QPoint(X + w, p), QPoint(X + w + TickMarkLength, p));
        else if (vertical())
            drawSpan(painter, QPoint(X - w, p), QPoint(X - w - TickMarkLength, p));
        else if (oppositeSide())
            drawSpan(painter, QPoint(p, Y - w), QPoint(p, Y - w - TickMarkLength));
        else
            drawSpan(painter, QPoint(p, Y + w), QPoint(p, Y + w + TickMarkLength));
    }
}

void Tsp_Axis::drawLabels(QPainter &painter) const
{
    const QFontMetrics metrics(painter.font());
    const int textHeight = metrics.height(); // the height of "8", as of any text
    const int w = m_lineAttr->width();
    const int X = lineX();
    const int Y = lineY();
    for (int i = 0; i < ticksCount(); ++i) {
        const QString label = GetTickLabel(i);
        const int width = metrics.horizontalAdvance(label);
        const int p = tickPixel(i);
        int left = 0;
        int top = 0;
        if (vertical()) {
            left = oppositeSide() ? X + w + LabelGap : X - w - LabelGap - width;
            top = p - textHeight / 2;
        } else {
            left = p - width / 2;
            top = oppositeSide() ? Y - w - textHeight - LabelGap : Y + w + LabelGap;
        }
        painter.drawText(QPoint(left, top + metrics.ascent()), label);
    }
}
