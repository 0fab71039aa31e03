#pragma once

#include "core/programstate.h"
#include "core/result.h"
#include "log/logreader.h"

#include <QDateTime>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

// A log read for viewing: one sample per readable Data line, held in columns
// of single-precision values so that a long log stays compact. Lines the view
// cannot read are skipped and counted instead of stopping the whole flight.
struct FlightLog {
    QString path;
    // The name the pilot knows the log by: its file name, unless it was read
    // from a copy kept under another name (the logbook names them by hash).
    QString name;
    FirmwareVariant firmware;
    // The log file's modification date, as the GPX export takes it.
    QDateTime logDate;

    // --- per sample, in log order ---
    std::vector<qint32> elapsed;     // s, as logged (field 2)
    std::vector<float> baroAltitude; // m (field 4; the Duo logs tenths)
    // NaN where the line has no position (latitude or longitude "0").
    std::vector<float> latitude;    // degrees, south negative
    std::vector<float> longitude;   // degrees, west negative
    std::vector<float> gpsAltitude; // m
    std::vector<float> speed;       // km/h; NaN throughout in 13-field logs

    // --- derived ---
    std::vector<float> climb;         // m/s from the barometric altitude
    std::vector<float> trackDistance; // m along the track up to this sample
    std::vector<float> startDistance; // m from the first position; NaN before it
    std::vector<float> east, north;   // m from the first position; NaN without one

    // A log restarted by the device: elapsed seconds that go backwards begin a
    // new segment. On the shared time axis the segments follow one another
    // with a gap, so the axis time never goes back.
    struct Segment {
        size_t begin;      // first sample
        size_t end;        // one past the last sample
        double axisOffset; // axis time = elapsed + axisOffset
    };
    std::vector<Segment> segments;

    // The last position of the log in full precision: where the model came down.
    struct Place {
        double latitude, longitude; // degrees, south and west negative
    };
    std::optional<Place> lastPosition;

    // --- line counts ---
    qint64 dataLines = 0;        // lines of this variant's layout
    qint64 otherLayoutLines = 0; // lines of the other variant's layout (wrong firmware?)
    qint64 positionLines = 0;    // of those, the samples with a position
    qint64 skippedLines = 0;     // Data lines the view could not read
    qint64 firstSkippedLine = 0; // 1-based line number; 0 when none

    size_t size() const { return elapsed.size(); }
    bool empty() const { return elapsed.empty(); }
    // Shown under another name than its file's: a kept copy, whose folder is
    // not the pilot's.
    bool isRenamedCopy() const;
    // The sample's time on the shared axis (s); non-decreasing over the log.
    double axisTime(size_t sample) const;
    // The segment that holds the sample.
    const Segment& segmentOf(size_t sample) const;
};

// Reads the log with the firmware variant's Data line test and field rules.
// Fails only when the file cannot be opened or read.
Result<FlightLog> readFlightLog(const QString& path, const FirmwareVariant& firmware);

// The same for a log's bytes read already from the file at `path`.
Result<FlightLog> readFlightLog(const QString& path, const LogFileBytes& file,
                                const FirmwareVariant& firmware);

// Reads the log with `chosen`, or, when it holds only lines of the other
// layout, again with the layout it has (fittingFirmware()); the log's
// `firmware` says which it was read with.
Result<FlightLog> readFlightLogFitting(const QString& path, const FirmwareVariant& chosen);
Result<FlightLog> readFlightLogFitting(const QString& path, const LogFileBytes& file,
                                       const FirmwareVariant& chosen);
