#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QString>

// The variant a log is read with on import: the choice, and where it leaves
// the layout open, the layout of the log's first Data line. A log without a
// Data line of either layout gets the choice's own (407 for Auto).
FirmwareVariant importVariant(const QString& path, FirmwareChoice choice);

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
