#include "logbook/logbookschema.h"

namespace LogbookSchema {

// The tables of version 1; a new logbook is brought up to date by the same
// upgrade steps as an old one. Dates are seconds since the epoch; figures a
// log may not have are NULL.
QStringList create() {
    return {QStringLiteral("CREATE TABLE entries ("
                           " id INTEGER PRIMARY KEY,"
                           " file_name TEXT NOT NULL,"
                           " sha256 TEXT NOT NULL UNIQUE,"
                           " file_size INTEGER NOT NULL,"
                           " date INTEGER NOT NULL,"
                           " imported_at INTEGER NOT NULL,"
                           " firmware TEXT NOT NULL,"
                           " model TEXT NOT NULL DEFAULT '',"
                           " site TEXT NOT NULL DEFAULT '',"
                           " note TEXT NOT NULL DEFAULT '',"
                           " flight_time REAL NOT NULL,"
                           " launches INTEGER NOT NULL,"
                           " log_time REAL NOT NULL,"
                           " segments INTEGER NOT NULL,"
                           " data_lines INTEGER NOT NULL,"
                           " position_lines INTEGER NOT NULL,"
                           " skipped_lines INTEGER NOT NULL,"
                           " start_altitude REAL, max_altitude REAL, min_altitude REAL,"
                           " altitude_gain REAL, max_gps_altitude REAL, max_climb REAL,"
                           " max_sink REAL, max_speed REAL, track_distance REAL,"
                           " max_start_distance REAL)")};
}

QStringList upgradeFrom(int version) {
    switch (version) {
    case 1:
        // The file's own date beside the date the pilot may correct; the
        // model index for the filters and totals by model.
        return {QStringLiteral("ALTER TABLE entries ADD COLUMN file_date INTEGER NOT NULL "
                               "DEFAULT 0"),
                QStringLiteral("UPDATE entries SET file_date = date"),
                QStringLiteral("CREATE INDEX entries_model ON entries (model)")};
    case 2:
        // The thermals of each flight, as the flight summary finds them. NULL
        // where the log could not be read again; the figures of the entries
        // already there are computed from their copies after these.
        return {QStringLiteral("ALTER TABLE entries ADD COLUMN thermal_count INTEGER"),
                QStringLiteral("ALTER TABLE entries ADD COLUMN circling_share REAL"),
                QStringLiteral("ALTER TABLE entries ADD COLUMN thermal_climb REAL"),
                QStringLiteral("ALTER TABLE entries ADD COLUMN best_thermal_climb REAL"),
                QStringLiteral("ALTER TABLE entries ADD COLUMN best_thermal_gain REAL"),
                QStringLiteral("ALTER TABLE entries ADD COLUMN thermal_source TEXT")};
    default:
        return {};
    }
}

} // namespace LogbookSchema
