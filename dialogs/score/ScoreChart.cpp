#include "dialogs/score/ScoreChart.h"

#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defAxis.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/settings/ColorNames.h"

namespace {

struct AxisSettings
{
    int ticks;
    bool grid;
    quint32 flags;
    double min, max;
};

void configure(Tsp_Axis &axis, const AxisSettings &s)
{
    axis.setMargin(4);
    axis.setTicksCount(s.ticks);
    axis.LineAttr()->setColor(ColorNames::clBlack);
    axis.LineAttr()->setVisible(true);
    axis.GridAttr()->setColor(ColorNames::clGray);
    axis.GridAttr()->setVisible(s.grid);
    axis.setLabelFormat(QStringLiteral("###0.##"));
    axis.setFlags(s.flags);
    axis.SetMinMax(s.min, s.max);
}
} // namespace

namespace ScoreChart {

void style(Tsp_XYPlot &plot, double bottomMax)
{
    using S = Tsp_Scale;
    constexpr quint32 hidden = S::sfNoTicksLines | S::sfNoTicksLabel | S::sfOppositeSide;
    configure(*plot.LeftAxis(), { 11, true, S::sfVertical | S::sfAutoMax, 0, 10.25 });
    configure(*plot.RightAxis(), { 5, false, S::sfVertical | hidden, 0, 10 });
    configure(*plot.BottomAxis(), { 10, true, S::sfNoTicksLines, 1, bottomMax });
    configure(*plot.TopAxis(), { 5, false, hidden, 0, 10 });
    plot.setBorderStyle(Tsp_XYPlot::bs_None);
    plot.setFieldColor(ColorNames::clWhite);
    plot.setColor(ColorNames::clBtnFace);
    plot.setBufferedDisplay(true);
}

Tsp_XYLine *addScoreLine(Tsp_XYPlot &plot, QObject *owner, const QString &legend)
{
    auto *line = new Tsp_XYLine(owner);
    line->setLegend(legend);
    line->LineAttr().setColor(ColorNames::clGreen);
    line->LineAttr().setWidth(3);
    line->LineAttr().setVisible(true);
    Tsp_PointAttr &markers = line->PointAttr();
    markers.setKind(Tsp_PointAttr::ptEllipse);
    markers.setHSize(9);
    markers.setVSize(9);
    markers.setColor(ColorNames::clYellow);
    markers.setVisible(true);
    line->setPlot(&plot);
    return line;
}

} // namespace ScoreChart
