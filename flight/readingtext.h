#pragma once

#include "flight/flightsummary.h"

#include <QLocale>
#include <QString>

// Figures as a pilot reads them, in the view, its readout and the
// command-line table (JSON and CSV keep seconds and metres): durations as
// h:mm:ss, distances in km with two decimals, one number of decimals per kind
// of value, counts such as line numbers without group separators.

// A value of the unit ("s", "m", "m/s", "km/h"; "" for a count) with at most
// `decimals`; `distance` marks metres along the ground. In a column all
// values of a field read alike; a single value (`single`) keeps seconds and
// metres while they are short.
QString readingText(double value, const char* unit, int decimals, bool distance,
                    const QLocale& locale, bool single = false);
// The unit a column of such values is headed with.
QString readingUnit(const char* unit, bool distance);

// A summary field in that form; empty when absent.
QString summaryReading(const SummaryField& field, const FlightSummary& summary,
                       const QLocale& locale);
QString summaryReadingUnit(const SummaryField& field);
