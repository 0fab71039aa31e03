#include "logbook/logfigures.h"

#include "flight/flightsummary.h"
#include "log/datalines.h"
#include "logbook/airborne.h"

#include <cmath>
#include <string>

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

LogFigures figuresOf(const Result<FlightLog>& log, LogbookEntry& entry) {
    if (!log)
        return {FiguresOutcome::Failed, log.failure().message};
    if (log->dataLines == 0) {
        if (log->otherLayoutLines == 0)
            return {FiguresOutcome::NoData, QStringLiteral("keine Datenzeile")};
        return {FiguresOutcome::Failed,
                QStringLiteral("keine Datenzeile für Firmware %1: %2")
                    .arg(firmwareKey(log->firmware), otherLayoutText(log->firmware.otherLayout()))};
    }
    if (log->empty())
        return {FiguresOutcome::Failed,
                QStringLiteral("keine lesbare Datenzeile (die erste in Zeile %1)")
                    .arg(log->firstSkippedLine)};

    const FlightSummary summary = summarizeFlight(*log);
    const AirborneFigures airborne = airborneFigures(*log);
    entry.firmware = log->firmware;
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
    entry.thermalCount = qint64(summary.thermals.size());
    entry.circlingShare = rounded(summary.circlingShare);
    entry.thermalClimb = rounded(summary.thermalClimb);
    entry.bestThermalClimb = entry.bestThermalGain = std::nullopt;
    if (summary.bestThermal) {
        const Thermal& best = summary.thermals[*summary.bestThermal];
        entry.bestThermalClimb = rounded(best.climb);
        entry.bestThermalGain = rounded(best.gain);
    }
    entry.thermalSource = thermalSourceKey(summary.thermalSource);
    return {FiguresOutcome::Read, {}};
}

// The variant the import's choice reads a log with.
struct Reading {
    FirmwareVariant firmware;
    bool layoutDecides;
};

Reading readingFor(FirmwareChoice choice) {
    switch (choice) {
    case FirmwareChoice::V407:
        return {FirmwareVariant{407, 0}, false};
    case FirmwareChoice::V500:
        return {FirmwareVariant{500, 0}, false};
    case FirmwareChoice::Auto:
    case FirmwareChoice::Duo:
        break;
    }
    // The layout decides; a long-layout log is the Duo's only when chosen.
    return {FirmwareVariant{500, choice == FirmwareChoice::Duo ? 1 : 0}, true};
}

} // namespace

LogFigures readLogFigures(const QString& path, const FirmwareVariant& firmware,
                          LogbookEntry& entry) {
    return figuresOf(readFlightLog(path, firmware), entry);
}

LogFigures readLogFigures(const QString& path, const LogFileBytes& file,
                          const FirmwareVariant& firmware, LogbookEntry& entry) {
    return figuresOf(readFlightLog(path, file, firmware), entry);
}

LogFigures readLogFigures(const QString& path, const LogFileBytes& file, FirmwareChoice choice,
                          LogbookEntry& entry) {
    const Reading reading = readingFor(choice);
    return figuresOf(reading.layoutDecides ? readFlightLogFitting(path, file, reading.firmware)
                                           : readFlightLog(path, file, reading.firmware),
                     entry);
}
