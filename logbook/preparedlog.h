#pragma once

#include "log/logreader.h"
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

// A log file read whole.
struct LogFile {
    QByteArray bytes;
    struct stat status {};
    LogFileBytes view() const { return {bytes, status}; }
};

// The log's bytes; the reason it failed otherwise.
std::optional<LogFile> readLogFile(const QString& path, QString& reason);

// `copies` is the folder of the copies. A log whose copy is there already is
// only hashed: it is most likely in the logbook, which the commit tells.
PreparedLog prepareLog(const QString& path, const ImportOptions& options, const QString& copies);

// Reads the figures and writes the copy of a log prepared only in part: from
// its bytes when they are at hand, else from the file read again (which must
// still hold the bytes hashed).
void completeLog(PreparedLog& log, const ImportOptions& options, const QString& copies,
                 const LogFileBytes* file = nullptr);
