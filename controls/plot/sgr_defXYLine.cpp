#include "controls/plot/sgr_defSeries.h"

#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"
#include "controls/plot/sgr_defClip.h"

#include <QImage>
#include <QPainter>
#include <QSet>

#include <cmath>

namespace {

// Beyond this a pixel coordinate counts as far from the field.
constexpr double FarPixels = 16000;
// Clipped segments end this far outside the field, so the rounding of their
// new ends cannot tilt what shows inside it.
constexpr double ClipGuard = 64;

// The unclamped pixel coordinate, as the axis maps before it clamps and rounds.
double exactPixel(const Tsp_Axis &axis, double value)
{
    return (value - axis.originValue()) * axis.pixelsPerUnit() + axis.originPixel();
}

QPoint rounded(const QPointF &p)
{
    return QPoint(int(std::nearbyint(p.x())), int(std::nearbyint(p.y())));
}

// Every segment is painted with the same solid pen, so what shows is the union
// of the segments; a chain of vertical (or horizontal) segments on one pixel
// column (row) covers exactly the one segment from its lowest to its highest
// end. Thousands of points per column thus cost one line each. Dashed pens
// restart their pattern at every segment and are drawn one by one.
class SegmentPainter
{
public:
    SegmentPainter(QPainter &painter, bool merge)
        : m_painter(painter)
        , m_merge(merge)
    { }
    ~SegmentPainter() { flush(); }
    SegmentPainter(const SegmentPainter &) = delete;
    SegmentPainter &operator=(const SegmentPainter &) = delete;

    void add(const QLine &s)
    {
        if (!m_merge) {
            m_painter.drawLine(s);
            return;
        }
        const bool vertical = s.x1() == s.x2();
        const bool horizontal = !vertical && s.y1() == s.y2();
        const int at = vertical ? s.x1() : s.y1();
        const int lo = vertical ? std::min(s.y1(), s.y2()) : std::min(s.x1(), s.x2());
        const int hi = vertical ? std::max(s.y1(), s.y2()) : std::max(s.x1(), s.x2());
        if (m_open && (vertical || horizontal) && vertical == m_vertical && at == m_at && lo <= m_hi
            && hi >= m_lo) {
            m_lo = std::min(m_lo, lo);
            m_hi = std::max(m_hi, hi);
            return;
        }
        flush();
        if (!vertical && !horizontal) {
            m_painter.drawLine(s);
            return;
        }
        m_open = true;
        m_vertical = vertical;
        m_at = at;
        m_lo = lo;
        m_hi = hi;
    }

    void flush()
    {
        if (!m_open)
            return;
        m_open = false;
        if (m_vertical)
            m_painter.drawLine(m_at, m_lo, m_at, m_hi);
        else
            m_painter.drawLine(m_lo, m_at, m_hi, m_at);
    }

private:
    QPainter &m_painter;
    const bool m_merge;
    bool m_open = false;
    bool m_vertical = false;
    int m_at = 0;
    int m_lo = 0;
    int m_hi = 0;
};

} // namespace

Tsp_XYLine::Tsp_XYLine(QObject *parent)
    : Tsp_XYDataSeries(parent)
    , m_pointAttr(std::make_unique<Tsp_PointAttr>())
{
    connect(m_pointAttr.get(), &Tsp_PointAttr::changed, this,
        [this] { AttrChanged(m_pointAttr.get()); });
}

Tsp_XYLine::~Tsp_XYLine()
{
    disconnect(m_pointAttr.get(), nullptr, this, nullptr);
}

void Tsp_XYLine::Draw(QPainter &painter)
{
    Tsp_XYPlot *p = plot();
    const bool lineShown = LineAttr().visible() && LineAttr().style() != Tsp_LineAttr::psClear;
    if (Count() < 1 || !p || (!m_pointAttr->visible() && (!LineAttr().visible() || Count() == 1)))
        return;
    const Tsp_Axis &xAxis = *xAxisOf(*p);
    const Tsp_Axis &yAxis = *yAxisOf(*p);
    if (*GetXMin() > xAxis.max() || *GetXMax() < xAxis.min() || *GetYMin() > yAxis.max()
        || *GetYMax() < yAxis.min())
        return;
    if (Count() > 1 && lineShown)
        drawLine(painter, xAxis, yAxis, 0);
    if (m_pointAttr->visible())
        drawMarkers(painter, xAxis, yAxis, 0);
}

// Segment by segment. Where both ends map to ordinary pixels the segment
// joins the rounded pixels; where an end lies far outside (a deep zoom), the
// segment is first clipped to the field in floating point, so that it keeps
// its slope and is not lost when both ends are far but it crosses the field.
void Tsp_XYLine::drawLine(QPainter &painter, const Tsp_Axis &xAxis, const Tsp_Axis &yAxis, int from)
{
    LineAttr().applyTo(painter);
    QPen pen = painter.pen();
    pen.setCapStyle(Qt::RoundCap); // wide lines end round, as the desktop draws them
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const Tsp_XYPlot::Field f = plot()->field();
    const QRectF guard(QPointF(f.left - ClipGuard, f.top - ClipGuard),
        QPointF(f.right + ClipGuard, f.bottom + ClipGuard));
    const std::vector<double> &xs = xValues();
    const std::vector<double> &ys = yValues();

    auto exact = [&](int i) {
        return QPointF(exactPixel(xAxis, xs[size_t(i)]), exactPixel(yAxis, ys[size_t(i)]));
    };
    auto isFar = [](const QPointF &q) {
        return std::abs(q.x()) > FarPixels || std::abs(q.y()) > FarPixels || !std::isfinite(q.x())
            || !std::isfinite(q.y());
    };
    QPointF prev = exact(from);
    bool prevFar = isFar(prev);
    QPoint prevPixel(xAxis.ValueToPixel(xs[size_t(from)]), yAxis.ValueToPixel(ys[size_t(from)]));
    QLine lastDrawn;
    SegmentPainter segments(painter, pen.style() == Qt::SolidLine);
    for (int i = from + 1; i < Count(); ++i) {
        const QPointF cur = exact(i);
        const bool curFar = isFar(cur);
        const QPoint curPixel(xAxis.ValueToPixel(xs[size_t(i)]), yAxis.ValueToPixel(ys[size_t(i)]));
        QLine segment(prevPixel, curPixel);
        bool draw = true;
        if (prevFar || curFar) {
            const auto clipped = SegmentClip::clip(QLineF(prev, cur), guard);
            draw = clipped.has_value();
            if (draw)
                segment = QLine(rounded(clipped->p1()), rounded(clipped->p2()));
        }
        // Drawing the same pixels twice in a row changes nothing.
        if (draw && segment != lastDrawn) {
            segments.add(segment);
            lastDrawn = segment;
        }
        prev = cur;
        prevFar = curFar;
        prevPixel = curPixel;
    }
}

void Tsp_XYLine::drawMarkers(
    QPainter &painter, const Tsp_Axis &xAxis, const Tsp_Axis &yAxis, int from)
{
    if (m_pointAttr->kind() == Tsp_PointAttr::ptCustom)
        return; // drawn only by a custom-point event, which nothing assigns
    m_pointAttr->applyTo(painter);
    const Tsp_XYPlot::Field f = plot()->field();
    const int left = m_pointAttr->halfWidth();
    const int up = m_pointAttr->halfHeight();
    std::vector<QPoint> shown;
    shown.reserve(size_t(Count() - from));
    for (int i = from; i < Count(); ++i) {
        const int px = xAxis.ValueToPixel(X(i));
        const int py = yAxis.ValueToPixel(Y(i));
        if (px >= f.left && px < f.right && py >= f.top && py < f.bottom)
            shown.push_back({ px, py });
    }
    // A marker that a later one covers exactly (same place, same look) is
    // never seen: only the last marker at each place is drawn.
    std::vector<bool> covered(shown.size(), false);
    QSet<QPoint> later;
    later.reserve(qsizetype(shown.size()));
    for (size_t i = shown.size(); i-- > 0;) {
        if (later.contains(shown[i]))
            covered[i] = true;
        else
            later.insert(shown[i]);
    }
    // A solid marker is drawn once into a small transparent image and then
    // copied to each place: the same pixels, at a fraction of the cost.
    // Patterned fills are aligned to the canvas and are drawn in place.
    const bool stamp = m_pointAttr->style() == Qt::SolidPattern;
    const int pad = m_pointAttr->borderWidth() + 1;
    QImage sprite;
    if (stamp) {
        sprite
            = QImage(2 * (left + pad) + 1, 2 * (up + pad) + 1, QImage::Format_ARGB32_Premultiplied);
        sprite.fill(Qt::transparent);
        QPainter spritePainter(&sprite);
        m_pointAttr->applyTo(spritePainter);
        PointMarker::draw(spritePainter, m_pointAttr->kind(), left + pad, up + pad, left, up);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        if (covered[i])
            continue;
        if (stamp)
            painter.drawImage(shown[i].x() - left - pad, shown[i].y() - up - pad, sprite);
        else
            PointMarker::draw(painter, m_pointAttr->kind(), shown[i].x(), shown[i].y(), left, up);
    }
}

void Tsp_XYLine::DrawLegendSample(QPainter &painter, const QRect &rect)
{
    const int middle = rect.top() + rect.height() / 2;
    if (LineAttr().visible()) {
        LineAttr().applyTo(painter);
        painter.drawLine(rect.left(), middle, rect.right(), middle);
    }
    if (m_pointAttr->visible() && m_pointAttr->kind() != Tsp_PointAttr::ptCustom) {
        m_pointAttr->applyTo(painter);
        PointMarker::draw(painter, m_pointAttr->kind(), rect.left() + rect.width() / 2, middle,
            m_pointAttr->halfWidth(), m_pointAttr->halfHeight());
    }
}
