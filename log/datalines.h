#pragma once

#include "core/firmwaretable.h"
#include "core/result.h"
#include "log/logfields.h"
#include "log/logreader.h"

#include <QString>
#include <string>

// How a log's lines fell under the variant's Data line test.
struct LayoutCounts {
    qint64 dataLines = 0;        // lines of the variant's layout
    qint64 otherLayoutLines = 0; // lines of the other layout, skipped but counted
};

// The one loop over a log's lines, for the conversions and the flight view
// alike: calls `onDataLine(line)` (std::string&, may be changed) for each Data
// line of `firmware`'s layout and skips every other line. Lines of the other
// layout are counted, since a log of the other firmware would otherwise pass
// for an empty flight. `onDataLine` returns false to stop early. Gives the
// reader's failure, if it could not read on.
template <typename OnDataLine>
Status forEachDataLine(LogReader& reader, const FirmwareVariant& firmware, LayoutCounts& counts,
                       OnDataLine&& onDataLine) {
    const FirmwareVariant other = firmware.otherLayout();
    std::string line;
    while (reader.readLine(line)) {
        if (!IsLogDataLine(line, firmware)) {
            counts.otherLayoutLines += IsLogDataLine(line, other);
            continue;
        }
        ++counts.dataLines;
        if (!onDataLine(line))
            return std::nullopt;
    }
    return reader.failure();
}

// The one wrong-firmware rule: nothing of the log could be used (`usedLines`:
// track points, or Data lines), while it holds lines of the other layout.
inline bool wrongFirmwareLikely(qint64 usedLines, qint64 otherLayoutLines) {
    return usedLines == 0 && otherLayoutLines > 0;
}

// The variant to read a log with, once it was read with `chosen` and gave
// `counts`: `chosen` while its layout fits, else the layout the log has (13
// fields: up to V407x, 17 fields: from V500). The Duo, which shares the 500's
// layout, is never guessed: a chosen Duo fits a log of 17 fields as it is.
FirmwareVariant fittingFirmware(const FirmwareVariant& chosen, const LayoutCounts& counts);

// The layout a log was written in, by its lines: the 407's or the 500's,
// whichever has more lines (the 407's when it has none of either; never the
// Duo). Reads the whole log; fails only when it cannot be read.
Result<FirmwareVariant> logLayoutOf(const QString& path);

// "die Log-Datei hat Zeilen mit 17 Feldern": what every report of a log of
// the other firmware's layout says of it.
QString otherLayoutText(const FirmwareVariant& otherLayout);
