#include "logbook/logfigures.h"

#include "flight/flightsummary.h"
#include "log/logfields.h"
#include "log/logreader.h"
#include "logbook/airborne.h"

#include <cmath>
#include <string>

FirmwareVariant importVariant(const QString& path, FirmwareChoice choice) {
    switch (choice) {
    case FirmwareChoice::V407:
        return {407, 0};
    case FirmwareChoice::V500:
        return {500, 0};
    case FirmwareChoice::Auto:
    case FirmwareChoice::Duo:
        break;
    }
    const FirmwareVariant longLayout{500, choice == FirmwareChoice::Duo ? 1 : 0};
    const FirmwareVariant shortLayout{407, 0};
    LogReader reader;
    if (reader.open(path))
        return shortLayout; // the read for the figures reports it
    std::string line;
    while (reader.readLine(line)) {
        if (IsLogDataLine(line, longLayout))
            return longLayout;
        if (IsLogDataLine(line, shortLayout))
            return shortLayout;
    }
    return shortLayout;
}

namespace {

// The figures come from single-precision samples: kept to a millimetre (or a
// millisecond), so that stored and printed values carry no float noise.
double rounded(double value) {
    return std::round(value * 1000) / 1000;
}

std::optional<double> rounded(const std::optional<double>& value) {
    return value ? std::optional<double>(rounded(*value)) : std::nullopt;
}

std::optional<double> valueOf(const std::optional<FlightSummary::Extreme>& extreme) {
    return extreme ? std::optional<double>(rounded(extreme->value)) : std::nullopt;
}

} // namespace

LogFigures readLogFigures(const QString& path, const FirmwareVariant& firmware,
                          LogbookEntry& entry) {
    const Result<FlightLog> log = readFlightLog(path, firmware);
    if (!log)
        return {FiguresOutcome::Failed, log.failure().message};
    if (log->dataLines == 0) {
        if (log->otherLayoutLines == 0)
            return {FiguresOutcome::NoData, QStringLiteral("keine Datenzeile")};
        return {FiguresOutcome::Failed,
                QStringLiteral("keine Datenzeile für Firmware %1: die Log-Datei hat Zeilen mit "
                               "%2 Feldern")
                    .arg(firmwareKey(firmware))
                    .arg(firmware.otherLayout().logFieldCount())};
    }
    if (log->empty())
        return {FiguresOutcome::Failed,
                QStringLiteral("keine lesbare Datenzeile (die erste in Zeile %1)")
                    .arg(log->firstSkippedLine)};

    const FlightSummary summary = summarizeFlight(*log);
    const AirborneFigures airborne = airborneFigures(*log);
    entry.firmware = firmware;
    entry.flightTime = rounded(airborne.flightTime);
    entry.launches = airborne.launches;
    entry.logTime = rounded(summary.duration);
    entry.segments = summary.segments;
    entry.dataLines = summary.dataLines;
    entry.positionLines = summary.positionLines;
    entry.skippedLines = summary.skippedLines;
    entry.startAltitude = rounded(summary.startAltitude);
    entry.maxAltitude = valueOf(summary.maxAltitude);
    entry.minAltitude = valueOf(summary.minAltitude);
    entry.altitudeGain = rounded(summary.altitudeGain);
    entry.maxGpsAltitude = valueOf(summary.maxGpsAltitude);
    entry.maxClimb = valueOf(summary.maxClimb);
    entry.maxSink = valueOf(summary.maxSink);
    entry.maxSpeed = valueOf(summary.maxSpeed);
    entry.trackDistance = rounded(summary.trackDistance);
    entry.maxStartDistance = valueOf(summary.maxStartDistance);
    return {FiguresOutcome::Read, {}};
}
