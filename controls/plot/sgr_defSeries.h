#pragma once

#include "controls/plot/sgr_defPointAttr.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QPainter;
class Tsp_Axis;
class Tsp_CustomLineAttr;
class Tsp_LineAttr;
class Tsp_XYPlot;

// A set of data that draws itself into a plot's field through two of the
// plot's axes. The plot asks it for its extremes (automatic ranges) and tells
// it to draw; the series tells the plot when its data or look changes.
class Tsp_DataSeries : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Legend READ legend WRITE setLegend)
    Q_PROPERTY(bool Active READ active WRITE setActive)

public:
    enum XAxisChoice { dsxBottom, dsxTop };
    enum YAxisChoice { dsyLeft, dsyRight };
    Q_ENUM(XAxisChoice)
    Q_ENUM(YAxisChoice)

    explicit Tsp_DataSeries(QObject *parent = nullptr);
    ~Tsp_DataSeries() override;

    Tsp_XYPlot *plot() const { return m_plot; }
    XAxisChoice XAxis() const { return m_xAxis; }
    YAxisChoice YAxis() const { return m_yAxis; }
    QString legend() const { return m_legend; }
    bool active() const { return m_active; }

    void setPlot(Tsp_XYPlot *plot);
    void setXAxis(XAxisChoice axis) { m_xAxis = axis; }
    void setYAxis(YAxisChoice axis) { m_yAxis = axis; }
    void setLegend(const QString &legend);
    void setActive(bool active);

    virtual void LegendChanged() { }
    // Called by the plot while it draws its field, on the field's painter with
    // the field clip in force.
    virtual void Draw(QPainter &painter) = 0;
    // Each extreme exists only when the series has points.
    virtual std::optional<double> GetXMin() = 0;
    virtual std::optional<double> GetXMax() = 0;
    virtual std::optional<double> GetYMin() = 0;
    virtual std::optional<double> GetYMax() = 0;
    virtual void DrawLegendSample(QPainter &, const QRect &) { }
    virtual int pointCount() const { return 0; }

    // The plot is going away; forget it without telling it anything.
    void plotDestroyed() { m_plot = nullptr; }

protected:
    Tsp_Axis *xAxisOf(const Tsp_XYPlot &plot) const;
    Tsp_Axis *yAxisOf(const Tsp_XYPlot &plot) const;

private:
    Tsp_XYPlot *m_plot = nullptr;
    XAxisChoice m_xAxis = dsxBottom;
    YAxisChoice m_yAxis = dsyLeft;
    QString m_legend;
    bool m_active = true;
};

// Points kept in two flat arrays, with their extremes maintained on every
// addition so that the plot's automatic range never scans them.
class Tsp_XYDataSeries : public Tsp_DataSeries
{
    Q_OBJECT

public:
    static constexpr int CapacityStep = 32;

    explicit Tsp_XYDataSeries(QObject *parent = nullptr);
    ~Tsp_XYDataSeries() override;

    int Count() const { return int(m_x.size()); }
    int pointCount() const override { return Count(); }
    // Room for points, in whole steps of 32.
    int Capacity() const { return m_capacity; }
    double X(int i) const { return m_x[size_t(i)]; }
    double Y(int i) const { return m_y[size_t(i)]; }
    Tsp_LineAttr &LineAttr() { return *m_lineAttr; }
    void setLineAttr(const Tsp_CustomLineAttr &attr);

    void AddXY(double x, double y);

    std::optional<double> GetXMin() override;
    std::optional<double> GetXMax() override;
    std::optional<double> GetYMin() override;
    std::optional<double> GetYMax() override;

    virtual void AttrChanged(QObject *attr);

protected:
    const std::vector<double> &xValues() const { return m_x; }
    const std::vector<double> &yValues() const { return m_y; }

private:
    void recomputeExtremes();
    std::optional<double> extreme(const double &value); // value: one of m_xMin ... m_yMax

    // Storage grows geometrically; `m_capacity` keeps the 32-point steps that
    // callers see, without copying the arrays again every 32 points.
    std::vector<double> m_x;
    std::vector<double> m_y;
    int m_capacity = CapacityStep;
    double m_xMin = 0, m_xMax = 0, m_yMin = 0, m_yMax = 0;
    bool m_extremesValid = false;
    std::unique_ptr<Tsp_LineAttr> m_lineAttr;
};

// A polyline through the points in the order they were added, with a marker
// at each point that falls inside the field.
class Tsp_XYLine : public Tsp_XYDataSeries
{
    Q_OBJECT

public:
    explicit Tsp_XYLine(QObject *parent = nullptr);
    ~Tsp_XYLine() override;

    Tsp_PointAttr &PointAttr() { return *m_pointAttr; }
    void setPointAttr(const Tsp_PointAttr &attr) { m_pointAttr->Assign(attr); }

    void Draw(QPainter &painter) override;
    void DrawLegendSample(QPainter &painter, const QRect &rect) override;

private:
    void drawLine(QPainter &painter, const Tsp_Axis &xAxis, const Tsp_Axis &yAxis, int from);
    void drawMarkers(QPainter &painter, const Tsp_Axis &xAxis, const Tsp_Axis &yAxis, int from);

    std::unique_ptr<Tsp_PointAttr> m_pointAttr;
};
