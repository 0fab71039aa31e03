#pragma once

#include <QtGlobal>
#include <sys/stat.h>

// The log file date (seconds since the epoch), from which the GPX point times
// and the flight's date are counted: the log's modification time taken down
// to an even second of local time, the resolution of the card's file dates.
qint64 logDateInstant(const struct stat& logStatus);
