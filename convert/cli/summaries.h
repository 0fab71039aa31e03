#pragma once

#include "core/firmwaretable.h"

#include <QStringList>
#include <cstdio>

// `altorin-convert --summary`: reads each log and prints its summary on
// `out`, as one table once all logs are read or as one JSON line per log as
// it is read. A log that cannot be read is reported on `err` as
// "LOGFILE: message" and the next one goes on. A log of the other layout is
// read with the layout it has, and when `sayLayout`, "LOGFILE: gelesen als
// CAPTION" on `err` names the firmware menu item that fits it. Returns the
// exit status: 0, or 1 when a log could not be read.
enum class SummaryForm { Table, Json };
int printSummaries(const QStringList& logs, const FirmwareVariant& firmware, SummaryForm form,
                   std::FILE* out, std::FILE* err, bool sayLayout = true);
