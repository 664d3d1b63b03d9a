#pragma once

class Tsp_XYPlot;
class QString;

// Lets screen readers and tests read the plot: a chart whose value names
// the four axes' ranges and the number of points. Safe to call more than once.
void installXYPlotAccessibility();

// The text the plot reports as its value.
QString xyPlotDescription(const Tsp_XYPlot &plot);
