#pragma once

#include "logbook/logbook.h"

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// The part of a log's import that needs no database: read, hashed, its
// figures read, and its copy written and synced. Logs are prepared on worker
// threads while the entries of earlier ones are committed, so that the disk
// syncs of several copies overlap.
struct PreparedLog {
    ImportedLog result;     // Failed or Skipped here; else decided at the commit
    LogbookEntry entry;     // fileName, sha256, fileSize, dates, firmware, figures
    bool read = false;      // the figures are read and the copy is written
    bool copyFound = false; // only hashed: its copy was there
};

// `copies` is the folder of the copies. A log whose copy is there already is
// only hashed: it is most likely in the logbook, which the commit tells.
PreparedLog prepareLog(const QString& path, const ImportOptions& options, const QString& copies);

// Reads the figures and writes the copy of a log prepared only in part; the
// bytes (and the file's status) when they are at hand, else read again.
void completeLog(PreparedLog& log, const ImportOptions& options, const QString& copies,
                 const QByteArray* bytes = nullptr, const struct stat* status = nullptr);
