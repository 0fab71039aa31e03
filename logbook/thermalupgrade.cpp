#include "logbook/thermalupgrade.h"

#include "logbook/logbookdatabase.h"
#include "logbook/logcopy.h"
#include "logbook/logfigures.h"

Status fillThermalFigures(LogbookDatabase& db) {
    auto entries = db.entries();
    if (!entries)
        return entries.failure();
    const QString copies = logCopiesFolder(db.folder());
    for (const LogbookEntry& entry : *entries) {
        // A copy that cannot be read (gone, damaged, changed by hand) leaves
        // this entry's thermal figures empty, and the upgrade goes on: an
        // upgrade never loses an entry, nor any figure it had.
        LogbookEntry read = entry;
        if (readLogFigures(logCopyIn(copies, entry.sha256), entry.firmware, read).outcome !=
            FiguresOutcome::Read)
            continue;
        if (auto failure = db.storeThermals(read))
            return failure;
    }
    return {};
}
