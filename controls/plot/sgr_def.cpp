#include "controls/plot/sgr_def.h"

#include "controls/plot/sgr_defAccessible.h"
#include "controls/plot/sgr_defMemBitmap.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/settings/ColorNames.h"

#include <QEvent>
#include <QFontMetrics>
#include <QResizeEvent>

#include <algorithm>
#include <optional>

namespace {
constexpr QSize InitialSize(180, 120);
constexpr int MinFieldExtent = 3;
// The field depends on the labels and the labels on the field only through
// the overhangs, so a layout settles within a couple of rounds.
constexpr int MaxLayoutRounds = 4;
} // namespace

Tsp_XYPlot::Tsp_XYPlot(QWidget *parent)
    : QWidget(parent)
    , m_color(ColorNames::clBtnFace)
{
    installXYPlotAccessibility();
    // Every pixel is painted here; nothing needs the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(InitialSize);
    createAxes();
}

Tsp_XYPlot::~Tsp_XYPlot()
{
    for (Tsp_DataSeries *series : std::as_const(m_series))
        series->plotDestroyed();
    m_series.clear();
}

void Tsp_XYPlot::createAxes()
{
    using S = Tsp_Scale;
    m_axes[Left] = std::make_unique<Tsp_Axis>(S::sfVertical, this);
    m_axes[Right] = std::make_unique<Tsp_Axis>(
        S::sfVertical | S::sfNoTicksLines | S::sfNoTicksLabel | S::sfOppositeSide, this);
    m_axes[Bottom] = std::make_unique<Tsp_Axis>(0u, this);
    m_axes[Top] = std::make_unique<Tsp_Axis>(
        S::sfNoTicksLines | S::sfNoTicksLabel | S::sfOppositeSide, this);
    m_axes[Left]->GridAttr()->setVisible(true);
    m_axes[Bottom]->GridAttr()->setVisible(true);
}

void Tsp_XYPlot::setLeftAxis(const Tsp_Axis &axis)
{
    m_axes[Left]->Assign(axis);
}
void Tsp_XYPlot::setRightAxis(const Tsp_Axis &axis)
{
    m_axes[Right]->Assign(axis);
}
void Tsp_XYPlot::setBottomAxis(const Tsp_Axis &axis)
{
    m_axes[Bottom]->Assign(axis);
}
void Tsp_XYPlot::setTopAxis(const Tsp_Axis &axis)
{
    m_axes[Top]->Assign(axis);
}

int Tsp_XYPlot::indexOf(const Tsp_Axis *axis) const
{
    for (int i = 0; i < AxisCount; ++i) {
        if (m_axes[i].get() == axis)
            return i;
    }
    return -1;
}

bool Tsp_XYPlot::bufferedDisplay() const
{
    return m_bitmap != nullptr;
}

void Tsp_XYPlot::setBufferedDisplay(bool buffered)
{
    if (buffered == bufferedDisplay())
        return;
    if (buffered)
        m_bitmap = std::make_unique<Tsp_MemBitmap>(width(), height());
    else
        m_bitmap.reset();
    repaintAll();
}

void Tsp_XYPlot::setFieldColor(ColorValue color)
{
    if (color == m_fieldColor)
        return;
    m_fieldColor = color;
    repaintField();
}

void Tsp_XYPlot::setColor(ColorValue color)
{
    if (color == m_color)
        return;
    m_color = color;
    repaintAll();
}

void Tsp_XYPlot::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    repaintAll();
}

void Tsp_XYPlot::repaintAll()
{
    m_layoutValid = m_frameValid = m_fieldValid = false;
    m_updatePending = true;
    update();
}

void Tsp_XYPlot::repaintField()
{
    m_fieldValid = false;
    m_updatePending = true;
    update();
}

void Tsp_XYPlot::Update()
{
    if (m_updatePending && isVisible())
        repaint();
}

void Tsp_XYPlot::AttachSeries(Tsp_DataSeries *series)
{
    if (!series || m_series.contains(series))
        return;
    m_series.append(series);
    if (series->active())
        SeriesChanged(series, scData);
}

void Tsp_XYPlot::DetachSeries(Tsp_DataSeries *series)
{
    if (!m_series.removeOne(series))
        return;
    if (series->active())
        AutoscaleFor(series); // its data no longer counts
}

void Tsp_XYPlot::SeriesChanged(Tsp_DataSeries *series, SeriesChange kind)
{
    if (!series->active() || !m_series.contains(series))
        return;
    if (kind == scAppearance)
        repaintField();
    else
        AutoscaleFor(series);
}

void Tsp_XYPlot::AutoscaleFor(Tsp_DataSeries *series)
{
    // Both axes are rescaled even when the first one applied.
    const bool xApplied
        = Autoscale(series->XAxis() == Tsp_DataSeries::dsxBottom ? *BottomAxis() : *TopAxis());
    const bool yApplied
        = Autoscale(series->YAxis() == Tsp_DataSeries::dsyLeft ? *LeftAxis() : *RightAxis());
    if (xApplied || yApplied)
        repaintAll();
    else
        repaintField();
}

void Tsp_XYPlot::AxisChanged(Tsp_Axis &, bool fieldOnly)
{
    if (fieldOnly)
        repaintField();
    else
        repaintAll();
}

int Tsp_XYPlot::pointCount() const
{
    int count = 0;
    for (const Tsp_DataSeries *series : m_series) {
        if (series->active())
            count += series->pointCount();
    }
    return count;
}

bool Tsp_XYPlot::Autoscale(Tsp_Axis &axis)
{
    const int index = indexOf(&axis);
    if (index < 0 || !(axis.autoMin() || axis.autoMax()))
        return false;
    std::optional<double> low;
    std::optional<double> high;
    for (Tsp_DataSeries *series : std::as_const(m_series)) {
        if (!series->active())
            continue;
        const bool horizontal = index == Bottom || index == Top;
        const bool uses = horizontal
            ? (series->XAxis() == Tsp_DataSeries::dsxBottom) == (index == Bottom)
            : (series->YAxis() == Tsp_DataSeries::dsyLeft) == (index == Left);
        if (!uses)
            continue;
        if (axis.autoMin()) {
            if (const auto v = horizontal ? series->GetXMin() : series->GetYMin())
                low = low ? std::min(*low, *v) : *v;
        }
        if (axis.autoMax()) {
            if (const auto v = horizontal ? series->GetXMax() : series->GetYMax())
                high = high ? std::max(*high, *v) : *v;
        }
    }
    if (!low && !high)
        return false;
    // The bound that is not automatic is the configured one, not whatever an
    // earlier automatic range left: the result cannot depend on the data's order.
    double lo = low.value_or(axis.configuredMin());
    double hi = high.value_or(axis.configuredMax());
    const double pad = (hi - lo) * 0.025;
    if (low)
        lo -= pad;
    if (high)
        hi += pad;
    if (lo != axis.min() || hi != axis.max())
        axis.SetAutoMinMax(lo, hi);
    return true;
}

void Tsp_XYPlot::Layout(int w, int h)
{
    struct Room
    {
        int thickness, start, end;
    };
    std::array<Room, AxisCount> room;
    for (int i = 0; i < AxisCount; ++i) {
        const Tsp_Axis &axis = *m_axes[i];
        room[i] = { axis.Thickness(w, h), axis.StartOverhang(w, h), axis.EndOverhang(w, h) };
    }
    const int leftSpace = std::max({ room[Top].start, room[Bottom].start, room[Left].thickness })
        + m_axes[Left]->margin();
    const int bottomSpace
        = std::max({ room[Right].start, room[Left].start, room[Bottom].thickness })
        + m_axes[Bottom]->margin();
    const int rightSpace = std::max({ room[Top].end, room[Bottom].end, room[Right].thickness })
        + m_axes[Right]->margin();
    const int topSpace = std::max({ room[Right].end, room[Left].end, room[Top].thickness })
        + m_axes[Top]->margin();

    const QSize paintSize = size();
    Field f { leftSpace, topSpace, paintSize.width() - rightSpace,
        paintSize.height() - bottomSpace };
    f.right = std::max(f.right, f.left + MinFieldExtent);
    f.bottom = std::max(f.bottom, f.top + MinFieldExtent);
    m_field = f;

    m_axes[Left]->SetLinePos(f.left - 1, f.bottom - 1, f.bottom - f.top - 1);
    m_axes[Right]->SetLinePos(f.right, f.bottom - 1, f.bottom - f.top - 1);
    m_axes[Bottom]->SetLinePos(f.left, f.bottom, f.right - f.left - 1);
    m_axes[Top]->SetLinePos(f.left, f.top - 1, f.right - f.left - 1);
    m_layoutValid = true;
}

// The overhangs use each axis's mapping from before the layout, so one
// round may leave the field where the new mapping would not: lay out again
// until the field stays put.
void Tsp_XYPlot::settleLayout()
{
    const QFontMetrics metrics(font());
    const int w = metrics.horizontalAdvance(QLatin1Char('0'));
    const int h = font().pixelSize() > 0 ? font().pixelSize() : metrics.height();
    for (int round = 0; round < MaxLayoutRounds; ++round) {
        const Field before = m_field;
        Layout(w, h);
        if (round > 0 && m_field == before)
            break;
    }
}

void Tsp_XYPlot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size() != m_paintSize) // a late event for the size already painted changes nothing
        repaintAll();
}

void Tsp_XYPlot::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        repaintAll();
    else if (event->type() == QEvent::PaletteChange) {
        if (m_bitmap)
            m_bitmap->Resize(width(), height()); // system colours may have changed
        repaintAll();
    }
}
