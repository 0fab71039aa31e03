#pragma once

#include "flight/flightsummary.h"

#include <QByteArray>
#include <span>

// The summaries of several flights as CSV: a head of the summary fields' keys,
// then one row per flight; values as the C locale writes them ('.' decimals,
// ISO dates), absent values empty, texts quoted where they hold a ',', a '"'
// or a line break. Lines end with CR LF like the tool's other text files.
QByteArray summaryCsv(std::span<const FlightSummary> summaries);
