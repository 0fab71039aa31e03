#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QByteArray>
#include <vector>

// The entries as CSV for a spreadsheet: a heading row, then one row per entry
// with every stored figure; '.' decimals, ISO dates, absent values empty, CR LF
// line ends as spreadsheets read them.
QByteArray logbookCsv(const std::vector<LogbookEntry>& entries);
// The same written atomically to `path`.
Status writeLogbookCsv(const QString& path, const std::vector<LogbookEntry>& entries);
