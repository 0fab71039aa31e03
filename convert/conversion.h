#pragma once

#include "app/programstate.h"
#include "app/result.h"

#include <QDateTime>
#include <QString>
#include <optional>

// The five log conversions. Each reads the log once, line by line, and writes
// its output next to the log through a temporary file that replaces the target
// only when the conversion has finished.

struct ConversionResult {
    Status failure;
    // Full path of the output (also set when the conversion failed after the
    // name was derived).
    QString outputPath;
    // GPX only: the log file date (local time, even second) the point times
    // start from; shown in the completion message.
    QDateTime logDate;

    bool ok() const { return !failure; }
};

// KML 2.0 path: 2D (clampedToGround), 3D barometric (relativeToGround) or 3D
// with the GPS altitude (absolute).
ConversionResult ConvertToKml(const QString& logPath, bool Is3D, bool UseGpsAltitude,
                              const FirmwareVariant& firmware);
// GPX 1.1 track with GPS elevation, UTC point times and a descriptive name.
ConversionResult ConvertToGpx(const QString& logPath, const FirmwareVariant& firmware);
// The semicolon text format of the Trakmond plotting program.
ConversionResult ConvertToTrakmond(const QString& logPath, const FirmwareVariant& firmware);

// Output names without folder: LOG00012.CSV gives LOG00012.kml, LOG00012.GPX
// and TMD00012.CSV.
QString kmlOutputName(const QString& logName);
QString gpxOutputName(const QString& logName);
QString trakmondOutputName(const QString& logName);
