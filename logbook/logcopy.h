#pragma once

#include "core/result.h"

#include <QByteArrayView>
#include <QString>
#include <sys/stat.h>

// Where a logbook keeps its copies: the folder "logs" in the logbook's
// folder, each copy named by the SHA-256 of its bytes.
QString logCopiesFolder(const QString& logbookFolder);
QString logCopyIn(const QString& copies, const QString& sha256);

// Writes the logbook's copy of a log: atomically, with the original's
// modification time (the log date), and synced with its folder, so that a
// copy that exists is whole and survives a power cut.
Status writeLogCopy(const QString& path, QByteArrayView bytes, const struct stat& original);

// Syncs a folder's entries (a rename or an unlink in it) to the disk.
Status syncFolder(const QString& folder);
