#pragma once

#include "core/programstate.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// One imported log as the logbook keeps it. The figures are those of the
// flight summary (values only; the times at which they were reached are read
// again from the copy when a flight is opened) and the airborne figures.
struct LogbookEntry {
    qint64 id = 0;
    QString fileName; // the original name, without folder (LOG00012.CSV)
    QString sha256;   // of the log's bytes, lower-case hex; names the copy
    qint64 fileSize = 0;
    // The log date (the file's date, as the GPX export takes it), local time;
    // the pilot may correct it. fileDate keeps the date the file had.
    QDateTime date;
    QDateTime fileDate;
    QDateTime importedAt;
    FirmwareVariant firmware; // the variant the figures were read with
    QString model;            // empty until the pilot sets one
    QString site;
    QString note;

    // --- airborne figures ---
    double flightTime = 0; // s in the air, the sum of the launches' stretches
    qint64 launches = 0;

    // --- the flight summary's figures ---
    double logTime = 0; // s, the segments' spans
    qint64 segments = 0;
    qint64 dataLines = 0;
    qint64 positionLines = 0;
    qint64 skippedLines = 0;
    std::optional<double> startAltitude; // m, barometric
    std::optional<double> maxAltitude;   // m, barometric
    std::optional<double> minAltitude;
    std::optional<double> altitudeGain;
    std::optional<double> maxGpsAltitude;
    std::optional<double> maxClimb;         // m/s
    std::optional<double> maxSink;          // m/s, positive
    std::optional<double> maxSpeed;         // km/h
    std::optional<double> trackDistance;    // m
    std::optional<double> maxStartDistance; // m

    // --- the thermals, as the flight summary finds them; all absent for an
    // entry whose copy an upgrade could not read ---
    std::optional<qint64> thermalCount;
    std::optional<double> circlingShare;    // of the log time, 0 to 1
    std::optional<double> thermalClimb;     // m/s, the average in the thermals
    std::optional<double> bestThermalClimb; // m/s, of the strongest thermal
    std::optional<double> bestThermalGain;  // m, of the same thermal
    QString thermalSource;                  // thermalSourceKey(); empty when absent
};

// Which entries a list or a total takes. Every part left empty takes all.
struct LogbookFilter {
    std::optional<QString> model; // exactly this model ("" for entries without one)
    std::optional<QDate> from;    // local dates, both ends included
    std::optional<QDate> to;
    double minFlightTime = 0; // s
    QString text;             // in the site or the note, any letter case

    bool takes(const LogbookEntry& entry) const;
};

enum class TotalsGrouping { All, Model, Month, Year };

// The sums over a group of entries.
struct LogbookTotals {
    QString key;        // the model, "2026-07", "2026", or "" for All
    qint64 flights = 0; // entries
    qint64 launches = 0;
    double flightTime = 0;             // s
    double logTime = 0;                // s
    std::optional<double> maxAltitude; // m, the highest of the group
    double trackDistance = 0;          // m
};

// The totals of `entries` by group, groups in key order (All: one row, also
// for no entries).
std::vector<LogbookTotals> totalsOf(const std::vector<LogbookEntry>& entries,
                                    TotalsGrouping grouping);

// What an import does with a log of the long layout and which variant a
// later change names. Auto: the layout tells 407 from 500; Duo: as Auto, but
// a long-layout log is read as the Duo (the Duo and the 500 share a layout,
// so only the pilot can tell); V407 and V500: that variant, whatever the log.
enum class FirmwareChoice { Auto, V407, V500, Duo };

// The stored name of a variant, as the command line names it: "407", "500"
// or "duo"; and back (nothing for another text).
QString firmwareKey(const FirmwareVariant& firmware);
std::optional<FirmwareVariant> firmwareOfKey(const QString& key);

// The import's choice for the variant chosen in the window: the layout
// decides, and a long-layout log is the Duo's when the Duo is chosen.
inline FirmwareChoice importChoiceFor(const FirmwareVariant& chosen) {
    return chosen.isDuo() ? FirmwareChoice::Duo : FirmwareChoice::Auto;
}
