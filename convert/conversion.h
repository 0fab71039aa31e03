#pragma once

#include "convert/outputsofrun.h"
#include "core/programstate.h"
#include "core/result.h"
#include "log/datalines.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <sys/stat.h>

// The five log conversions. Each reads the log once, line by line, and writes
// its output next to the log (or into the folder asked for) through a
// temporary file that replaces the target only when the conversion has
// finished.

// What a caller may ask of a conversion beyond the log and the variant.
struct ConversionOptions {
    // The folder for the output; empty: the log's own folder.
    QString outputFolder;
    // A log that gave no track point but holds lines of the other firmware's
    // layout fails with FailureKind::WrongFirmware, and no output replaces an
    // older file of that name (for scripts, which have no second box to read).
    bool refuseWrongFirmware = false;
    // When given: the output is recorded there, and one this run wrote from
    // another log is not replaced (FailureKind::OutputOfRun).
    OutputsOfRun* run = nullptr;
};

// What a finished conversion wrote.
struct Conversion {
    // Full path of the output.
    QString outputPath;
    // GPX only: the log file date (local time, even second) the point times
    // start from; shown in the completion message.
    QDateTime logDate;
    // Track points written (plotter records for the plotter format).
    qint64 trackPoints = 0;
    // Lines with the ';' count of the other firmware layout, skipped as the
    // variant's Data line test demands, and the variant whose layout they have.
    qint64 otherLayoutLines = 0;
    FirmwareVariant otherLayout;

    // The log was written under the other firmware: nothing of it reached the
    // track, though it has lines of the other layout.
    bool wrongFirmware() const { return wrongFirmwareLikely(trackPoints, otherLayoutLines); }
};

// KML 2.0 path: 2D (clampedToGround), 3D barometric (relativeToGround) or 3D
// with the GPS altitude (absolute).
Result<Conversion> ConvertToKml(const QString& logPath, bool Is3D, bool UseGpsAltitude,
                                const FirmwareVariant& firmware,
                                const ConversionOptions& options = {});
// GPX 1.1 track with GPS elevation, UTC point times and a descriptive name.
Result<Conversion> ConvertToGpx(const QString& logPath, const FirmwareVariant& firmware,
                                const ConversionOptions& options = {});
// The semicolon text format of the Trakmond plotting program.
Result<Conversion> ConvertToTrakmond(const QString& logPath, const FirmwareVariant& firmware,
                                     const ConversionOptions& options = {});

// Output names without folder: LOG00012.CSV gives LOG00012.kml, LOG00012.GPX
// and TMD00012.CSV.
QString kmlOutputName(const QString& logName);
QString gpxOutputName(const QString& logName);
QString trakmondOutputName(const QString& logName);

// "Keine Trackpunkte: die Log-Datei hat Zeilen mit 17 Feldern": the start of
// every report of a conversion that met only the other firmware's lines.
QString wrongFirmwareText(const Conversion& conversion);

// What the window's box says of a failed conversion. The box has no other
// place for the line, so a message of this tool's own about a line's shape
// names it ("Zeile 3: nur 9 Felder ..."); the number messages keep the words
// the pilot knows from the platform, without a line.
QString conversionFailureText(const Failure& failure);
