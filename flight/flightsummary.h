#pragma once

#include "flight/flightlog.h"
#include "flight/thermals.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

// The figures of one flight. Values the log does not have (no position, no
// speed, no sample at all) are absent, never zero.
struct FlightSummary {
    QString logFile; // the log's path as it was given
    QDateTime logDate;
    double duration = 0; // s: the segments' spans, the gaps between them not counted
    qint64 segments = 0;
    qint64 dataLines = 0;
    qint64 positionLines = 0;
    qint64 skippedLines = 0;
    qint64 firstSkippedLine = 0; // 0 when none

    // A value and the axis time (s) at which the log first reaches it.
    struct Extreme {
        double value;
        double time;
    };
    std::optional<double> startAltitude; // m, barometric, of the first sample
    std::optional<Extreme> maxAltitude;
    std::optional<Extreme> minAltitude;
    std::optional<double> altitudeGain; // m, the highest over the start
    std::optional<Extreme> maxGpsAltitude;
    std::optional<Extreme> maxClimb;         // m/s; absent when the log never climbs
    std::optional<Extreme> maxSink;          // m/s, counted positive; absent when it never sinks
    std::optional<Extreme> maxSpeed;         // km/h, 17-field logs only
    std::optional<double> trackDistance;     // m along the track
    std::optional<Extreme> maxStartDistance; // m, the farthest from the first position

    ThermalSource thermalSource = ThermalSource::ClimbNoPosition;
    std::vector<Thermal> thermals;
    std::optional<double> circlingShare; // of the duration, 0 to 1; absent when it is 0
    std::optional<double> thermalClimb;  // m/s, the average in the thermals
    std::optional<size_t> bestThermal;   // the thermal of the strongest climb

    std::optional<FlightLog::Place> landing; // the last position of the log
};

FlightSummary summarizeFlight(const FlightLog& log);

// A summary value: absent, text, a date, a count or a measure.
using SummaryValue = std::variant<std::monostate, QString, QDateTime, qint64, double>;

// One row of the table of summary fields. The command-line table and JSON,
// the view's summary panel, its comparison table and CSV export all read it;
// the view's captions of the rows are in the caption tables, by key.
struct SummaryField {
    const char* key;    // JSON member and CSV column
    const char* unit;   // "s", "m", "m/s", "km/h", "°", or "" for counts, shares, text, dates
    const char* column; // heading in the command-line table; nullptr when not shown there
    int decimals;       // the most decimals printed; trailing zeros are dropped
    SummaryValue (*value)(const FlightSummary&);
};

std::span<const SummaryField> summaryFields();
// Nothing when no field has that key.
const SummaryField* summaryFieldNamed(std::string_view key);

// The value as text, empty when absent. In the C locale (the default, for the
// command line, JSON and CSV): '.' decimals, no group separators, the date in
// ISO 8601 with its offset. In another locale: its decimal point and groups,
// its short date format.
QString summaryText(const SummaryField& field, const FlightSummary& summary,
                    const QLocale& locale = QLocale::c());
// The value as a number for sorting and comparing (a date as seconds since the
// epoch); nothing when absent or text.
std::optional<double> summaryNumber(const SummaryField& field, const FlightSummary& summary);
// A measure as summaryText prints it in the C locale.
QString plainMeasureText(double value, int decimals);
// How the thermals were found, one word for scripts.
QString thermalSourceKey(ThermalSource source);
