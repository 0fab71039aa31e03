#pragma once

#include "core/firmwaretable.h"

#include <QStringList>
#include <cstdio>

// `altorin-convert --summary`: reads each log and prints its summary on
// `out`, as one table once all logs are read or as one JSON line per log as
// it is read. A log that cannot be read is reported on `err` as
// "LOGFILE: message" and the next one goes on. Returns the exit status: 0,
// or 1 when a log could not be read.
enum class SummaryForm { Table, Json };
int printSummaries(const QStringList& logs, const FirmwareVariant& firmware, SummaryForm form,
                   std::FILE* out, std::FILE* err);
