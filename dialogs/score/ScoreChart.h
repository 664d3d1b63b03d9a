#pragma once

#include <QString>

class QObject;
class Tsp_XYLine;
class Tsp_XYPlot;

// The look the score chart and the practice history share, so the two read
// alike: a white field with a grey grid, the left axis growing to the highest
// score, the bottom axis counting from 1, and the scores as a thick green line
// with yellow round markers.
namespace ScoreChart {

// Up to this many points the bottom axis gets a tick for each; more would crowd
// the labels.
constexpr int MaxBottomTicks = 21;

// Axes and colours; the bottom axis runs from 1 to bottomMax.
void style(Tsp_XYPlot &plot, double bottomMax);

// A line of scores in that look, owned by owner and drawn on plot.
Tsp_XYLine *addScoreLine(Tsp_XYPlot &plot, QObject *owner, const QString &legend);

} // namespace ScoreChart
