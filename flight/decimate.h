#pragma once

#include "flight/flightlog.h"

#include <QPointF>
#include <cstddef>
#include <limits>
#include <vector>

// What the flight view draws of a log: few enough points to redraw at once,
// however long the log, yet the same picture as every sample would give.

// One series (one value per sample of the log, NaN where a sample has none)
// over the plot's x range [from, to], for a plot `columns` pixels wide. x is
// the axis time plus `shift` (several logs aligned at their starts).
//
// Each pixel column keeps its first, lowest, highest and last sample in log
// order, so no extreme is lost and the line joins the columns as the whole
// series would. A break in the series (a sample without a value, the end of
// a segment) is a point of NaN y, which the plot leaves as a gap; a column
// that breaks several times keeps its first and last run and merges the ones
// between, so the points stay bounded: at most 12 and 3 breaks per column.
// The sample just outside either end of the range is kept as well, so the
// line runs on to the edge of the plot.
std::vector<QPointF> decimateSeries(const FlightLog& log, const std::vector<float>& values,
                                    double from, double to, int columns, double shift = 0);
