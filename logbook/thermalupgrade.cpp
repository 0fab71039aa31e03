#include "logbook/thermalupgrade.h"

#include "logbook/logbookdatabase.h"
#include "logbook/logcopy.h"
#include "logbook/logfigures.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// The copy holds the bytes its name promises: figures read from anything
// else would not be this flight's.
bool isWhole(const QString& copy, const QString& sha256) {
    QFile file(copy);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) &&
           hash.result().toHex() == sha256.toLatin1();
}

} // namespace

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
        LogbookEntry read = entry;
        if (!isWhole(copy, entry.sha256) ||
            readLogFigures(copy, entry.firmware, read).outcome != FiguresOutcome::Read)
            continue;
        if (auto failure = db.storeThermals(read))
            return failure;
    }
    return {};
}
