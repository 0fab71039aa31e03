#include "logbook/thermalupgrade.h"

#include "logbook/logbookdatabase.h"
#include "logbook/logcopy.h"
#include "logbook/logdigest.h"
#include "logbook/logfigures.h"
#include "logbook/preparedlog.h"

Status fillThermalFigures(LogbookDatabase& db) {
    auto entries = db.entries();
    if (!entries)
        return entries.failure();
    const QString copies = logCopiesFolder(db.folder());
    for (const LogbookEntry& entry : *entries) {
        // A copy that cannot be read (gone, damaged, changed by hand) leaves
        // this entry's thermal figures empty, and the upgrade goes on: an
        // upgrade never loses an entry, nor any figure it had.
        const QString copy = logCopyIn(copies, entry.sha256);
        // It must hold the bytes its name promises: figures read from anything
        // else would not be this flight's.
        QString reason;
        const auto file = readLogFile(copy, reason);
        LogbookEntry read = entry;
        if (!file || logDigest(file->bytes) != entry.sha256 ||
            readLogFigures(copy, file->view(), entry.firmware, read).outcome !=
                FiguresOutcome::Read)
            continue;
        if (auto failure = db.storeThermals(read))
            return failure;
    }
    return {};
}
