#pragma once

#include "core/programstate.h"
#include "flight/flightsummary.h"

#include <QString>
#include <QStringList>
#include <vector>

// Flight summaries as text, every form built from the table of summary
// fields and printed locale-free.

// The command-line table: a row of headings, a row of units, one row per
// summary; columns as wide as their widest entry, numbers right-aligned,
// "-" for an absent value, the log last so that a long path pushes nothing.
QString summaryTable(const std::vector<FlightSummary>& summaries);

// One JSON object on one line (no line end): every field by its key in table
// order, null where the value is absent, dates as ISO 8601 strings.
QString summaryJson(const FlightSummary& summary);

// CSV as spreadsheets read it: ',' between fields, CR LF line ends, quotes
// only where a text needs them, an empty field where a value is absent.
QString summaryCsvHeader();
QString summaryCsvRow(const FlightSummary& summary);
