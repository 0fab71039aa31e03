#pragma once

#include "core/result.h"
#include "log/logreader.h"
#include "logbook/logbookentry.h"

#include <QString>

// What reading a log for its figures gave.
enum class FiguresOutcome { Read, NoData, Failed };

struct LogFigures {
    FiguresOutcome outcome = FiguresOutcome::Failed;
    QString reason; // NoData and Failed
};

// Reads the log with `firmware` and fills the entry's firmware and figures;
// the rest of the entry stays.
LogFigures readLogFigures(const QString& path, const FirmwareVariant& firmware,
                          LogbookEntry& entry);
// The same from the log's bytes, read already from the file at `path`.
LogFigures readLogFigures(const QString& path, const LogFileBytes& file,
                          const FirmwareVariant& firmware, LogbookEntry& entry);
// The same with the import's choice: Auto and Duo read a log with the layout
// it has (the Duo's for 17 fields when the Duo is chosen), V407 and V500
// with that variant whatever the log.
LogFigures readLogFigures(const QString& path, const LogFileBytes& file, FirmwareChoice choice,
                          LogbookEntry& entry);
