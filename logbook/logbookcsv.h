#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QByteArray>
#include <vector>

// The entries as CSV for a spreadsheet: a heading row, then one row per entry
// with every stored figure; '.' decimals, ISO dates, absent values empty, CR LF
// line ends as spreadsheets read them.
QByteArray logbookCsv(const std::vector<LogbookEntry>& entries);
// The same written atomically to `path`, which must lie outside the logbook's
// own folder `logbookFolder`: the export would replace the database or a
// kept log.
Status writeLogbookCsv(const QString& path, const std::vector<LogbookEntry>& entries,
                       const QString& logbookFolder);
