#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>

// True for a device log's name (without folder): "LOG", five characters and
// ".CSV", in any letter case, as FAT cards show names (log00001.csv).
bool isLogFileName(const QString& name);

// The logs that a command-line argument names: a folder gives every log file
// in it (by isLogFileName) in name order, ignoring letter case; anything else
// is taken as one log, to be opened and reported by the conversion. A folder
// that cannot be read or holds no log is a failure.
Result<QStringList> logFilesNamedBy(const QString& argument);
