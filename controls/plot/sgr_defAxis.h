#pragma once

#include "controls/plot/sgr_defLineAttr.h"
#include "core/plot/PlotScale.h"

#include <QString>

#include <memory>

class QPainter;
class Tsp_Axis;

// What an axis asks of the plot that owns it. The plot implements this and links
// each of its axes to itself; an axis without a plot asks nothing.
class Tsp_AxisPlot
{
public:
    // Run the automatic range for this axis; true when it applied.
    virtual bool Autoscale(Tsp_Axis &axis) = 0;
    // Repaint everything, or only the field (a grid attribute changed).
    virtual void AxisChanged(Tsp_Axis &axis, bool fieldOnly) = 0;
    // The plot's optional say on a tick's label text.
    virtual QString AxisTickLabel(const Tsp_Axis &axis, int index, const QString &text) const
    {
        Q_UNUSED(axis)
        Q_UNUSED(index)
        return text;
    }

protected:
    ~Tsp_AxisPlot() = default;
};

// One of the plot's four axes: the scale, plus the margin to the control's edge,
// the look of its line and grid lines, and the drawing of line, tick marks and
// labels beside the plot's field.
class Tsp_Axis : public Tsp_Scale
{
public:
    explicit Tsp_Axis(quint32 flags = 0, Tsp_AxisPlot *plot = nullptr);
    ~Tsp_Axis() override;

    Tsp_AxisPlot *plot() const { return m_plot; }
    void setPlot(Tsp_AxisPlot *plot) { m_plot = plot; }

    int margin() const { return m_margin; }
    QString caption() const { return m_caption; }
    void setMargin(int pixels);
    void setCaption(const QString &caption);

    Tsp_LineAttr *LineAttr() const { return m_lineAttr.get(); }
    Tsp_LineAttr *GridAttr() const { return m_gridAttr.get(); }
    void setLineAttr(const Tsp_CustomLineAttr &attr) { m_lineAttr->Assign(attr); }
    void setGridAttr(const Tsp_CustomLineAttr &attr) { m_gridAttr->Assign(attr); }

    QString GetTickLabel(int index) const override;

    // Room beside the line: its width (drawn or not) and the ticks' room.
    int Thickness(int W, int H) const;

    // LineAttr.Width parallel one-pixel lines growing outwards from the line position,
    // lengthened at the start and end so that adjoining lines close their corners.
    void DrawAxisLine(QPainter &painter, int startLengthening, int endLengthening) const;
    // With the pen and font the plot has set.
    void DrawTicksAndLabels(QPainter &painter) const;

    // Copies everything but the listeners and the saved range.
    void Assign(const Tsp_Axis &other);

protected:
    void FlagChanged(int bit, bool value) override;
    void RequestRepaint() override;

private:
    void requestFieldRepaint();
    void drawTickMarks(QPainter &painter) const;
    void drawLabels(QPainter &painter) const;

    Tsp_AxisPlot *m_plot = nullptr;
    int m_margin = 4;
    QString m_caption;
    std::unique_ptr<Tsp_LineAttr> m_lineAttr;
    std::unique_ptr<Tsp_LineAttr> m_gridAttr;
};
