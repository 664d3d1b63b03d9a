#include "controls/plot/sgr_defSeries.h"

#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"

Tsp_DataSeries::Tsp_DataSeries(QObject *parent)
    : QObject(parent)
{ }

Tsp_DataSeries::~Tsp_DataSeries()
{
    if (m_plot)
        m_plot->DetachSeries(this);
}

void Tsp_DataSeries::setPlot(Tsp_XYPlot *plot)
{
    if (plot == m_plot)
        return;
    if (m_plot)
        m_plot->DetachSeries(this);
    m_plot = plot;
    if (m_plot)
        m_plot->AttachSeries(this);
}

void Tsp_DataSeries::setLegend(const QString &legend)
{
    if (legend == m_legend)
        return;
    m_legend = legend;
    LegendChanged();
}

// Switching off must rescale too: the series' data stops counting.
void Tsp_DataSeries::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (m_plot)
        m_plot->AutoscaleFor(this);
}

Tsp_Axis *Tsp_DataSeries::xAxisOf(const Tsp_XYPlot &plot) const
{
    return m_xAxis == dsxBottom ? plot.BottomAxis() : plot.TopAxis();
}

Tsp_Axis *Tsp_DataSeries::yAxisOf(const Tsp_XYPlot &plot) const
{
    return m_yAxis == dsyLeft ? plot.LeftAxis() : plot.RightAxis();
}

Tsp_XYDataSeries::Tsp_XYDataSeries(QObject *parent)
    : Tsp_DataSeries(parent)
    , m_lineAttr(std::make_unique<Tsp_LineAttr>())
{
    m_x.reserve(CapacityStep);
    m_y.reserve(CapacityStep);
    connect(m_lineAttr.get(), &Tsp_CustomLineAttr::changed, this,
        [this] { AttrChanged(m_lineAttr.get()); });
}

Tsp_XYDataSeries::~Tsp_XYDataSeries()
{
    disconnect(m_lineAttr.get(), nullptr, this, nullptr);
}

void Tsp_XYDataSeries::setLineAttr(const Tsp_CustomLineAttr &attr)
{
    m_lineAttr->Assign(attr);
}

void Tsp_XYDataSeries::AddXY(double x, double y)
{
    if (Count() >= m_capacity)
        m_capacity += CapacityStep;
    if (m_x.empty()) {
        m_xMin = m_xMax = x;
        m_yMin = m_yMax = y;
        m_extremesValid = true;
    } else if (m_extremesValid) {
        if (x < m_xMin)
            m_xMin = x;
        else if (x > m_xMax)
            m_xMax = x;
        if (y < m_yMin)
            m_yMin = y;
        else if (y > m_yMax)
            m_yMax = y;
    }
    m_x.push_back(x);
    m_y.push_back(y);
    if (Tsp_XYPlot *p = plot()) {
        if (active())
            p->SeriesChanged(this, Tsp_XYPlot::scData);
        p->Update();
    }
}

void Tsp_XYDataSeries::recomputeExtremes()
{
    if (m_x.empty())
        return;
    m_xMin = m_xMax = m_x[0];
    m_yMin = m_yMax = m_y[0];
    for (size_t i = 1; i < m_x.size(); ++i) {
        m_xMin = std::min(m_xMin, m_x[i]);
        m_xMax = std::max(m_xMax, m_x[i]);
        m_yMin = std::min(m_yMin, m_y[i]);
        m_yMax = std::max(m_yMax, m_y[i]);
    }
    m_extremesValid = true;
}

// One of the extremes, brought up to date first; none without points.
std::optional<double> Tsp_XYDataSeries::extreme(const double &value)
{
    if (m_x.empty())
        return std::nullopt;
    if (!m_extremesValid)
        recomputeExtremes();
    return value;
}

std::optional<double> Tsp_XYDataSeries::GetXMin()
{
    return extreme(m_xMin);
}

std::optional<double> Tsp_XYDataSeries::GetXMax()
{
    return extreme(m_xMax);
}

std::optional<double> Tsp_XYDataSeries::GetYMin()
{
    return extreme(m_yMin);
}

std::optional<double> Tsp_XYDataSeries::GetYMax()
{
    return extreme(m_yMax);
}

void Tsp_XYDataSeries::AttrChanged(QObject *)
{
    if (plot() && active())
        plot()->repaintField();
}
