#pragma once

#include "logbook/logbookentry.h"

#include <QJsonObject>
#include <QString>
#include <vector>

// The logbook's entries and totals as the command line prints them: plain
// tables with a heading row, and JSON with the members scripts read.

QString entryTable(const std::vector<LogbookEntry>& entries);
QString totalsTable(const std::vector<LogbookTotals>& totals, const QString& keyHeading);
// Every stored field, one "name: value" line each.
QString entryDetails(const LogbookEntry& entry);

QJsonObject entryJson(const LogbookEntry& entry);
QJsonObject totalsJson(const LogbookTotals& totals);

// "1:02:03": hours, minutes and seconds.
QString durationText(double seconds);
// The local date and time with its offset, ISO 8601.
QString isoDateText(const QDateTime& date);
