// Fuzz target: the log read for the flight view and its summary, on arbitrary
// log bytes. The first byte picks the firmware variant as for the conversions
// (bit 0: V500 instead of V407x, bit 1: Duo). Checks that the columns agree
// in length, the segments cover the samples in order, the axis time never
// goes back, the counts add up, no value that must exist is NaN, and the log
// stays untouched.
#include "fuzzsupport.h"

#include "flight/flightsummary.h"
#include "flight/summarytext.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace fuzz;

namespace {

void checkColumns(const FlightLog& log) {
    for (const auto* column :
         {&log.baroAltitude, &log.latitude, &log.longitude, &log.gpsAltitude, &log.speed,
          &log.climb, &log.trackDistance, &log.startDistance, &log.east, &log.north})
        check(column->size() == log.size(), "columns of unequal length");
}

void checkSegments(const FlightLog& log) {
    check(log.segments.empty() == log.empty(), "segments without samples or samples without");
    size_t next = 0;
    for (const FlightLog::Segment& segment : log.segments) {
        check(segment.begin == next && segment.begin < segment.end, "segments out of order");
        for (size_t i = segment.begin + 1; i < segment.end; ++i)
            check(log.elapsed[i] >= log.elapsed[i - 1], "elapsed seconds go back in a segment");
        if (segment.begin > 0)
            check(log.elapsed[segment.begin] < log.elapsed[segment.begin - 1],
                  "a segment that is no restart");
        next = segment.end;
    }
    check(next == log.size(), "segments do not cover the samples");
    for (size_t i = 0; i < log.size(); ++i) {
        check(std::isfinite(log.axisTime(i)), "axis time not finite");
        check(i == 0 || log.axisTime(i) >= log.axisTime(i - 1), "axis time goes back");
    }
}

void checkValues(const FlightLog& log, bool longLines) {
    qint64 positions = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        check(std::isfinite(log.baroAltitude[i]) && std::isfinite(log.climb[i]) &&
                  std::isfinite(log.trackDistance[i]),
              "altitude, climb or track length missing");
        check(i == 0 || log.trackDistance[i] >= log.trackDistance[i - 1], "track shrinks");
        const bool fixed = !std::isnan(log.latitude[i]);
        positions += fixed;
        for (const auto* column :
             {&log.longitude, &log.gpsAltitude, &log.startDistance, &log.east, &log.north})
            check(std::isfinite((*column)[i]) == fixed, "position values without a position");
        check(std::isfinite(log.speed[i]) == (fixed && longLines), "speed where there is none");
    }
    check(positions == log.positionLines, "position count differs");
    check(log.dataLines == qint64(log.size()) + log.skippedLines, "line counts do not add up");
    check((log.skippedLines > 0) == (log.firstSkippedLine > 0), "first skipped line wrong");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const FirmwareVariant firmware{(data[0] & 1) ? 500 : 407, (data[0] & 2) ? 1 : 0};
    ++data;
    --size;
    static const std::string path = scratchFolder() + "/LOG00001.CSV";
    writeBytes(path, data, size);

    const Result<FlightLog> log = readFlightLog(QString::fromStdString(path), firmware);
    check(log.ok(), "a plain file could not be read");
    checkColumns(*log);
    checkSegments(*log);
    checkValues(*log, firmware.hasV500Layout());

    const std::string json = summaryJson(summarizeFlight(*log)).toStdString();
    check(json.find("nan") == std::string::npos && json.find("inf") == std::string::npos,
          "summary with a value that is no number", json);
    check(readBytes(path) == std::string_view(reinterpret_cast<const char*>(data), size),
          "the log changed");
    return 0;
}
