#include "flight/flightlog.h"

#include "flight/flightseries.h"
#include "log/datalines.h"
#include "log/logdate.h"
#include "log/logfields.h"
#include "log/logreader.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr float NoValue = std::numeric_limits<float>::quiet_NaN();

// Library code run before (Qt's command-line parsing, for one) may leave the
// upper halves of the AVX registers in use without clearing them. Every plain
// SSE instruction then waits on them, and the sine and arcsine calls of the
// distances made a summary five times slower. Clearing them is what compilers
// do after their own AVX code; without AVX there is nothing to clear.
void clearUpperVectorState() {
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx"))
        asm volatile("vzeroupper");
#endif
}

// The shortest Data line the device writes: every field one digit, their ';'
// and the LF. Columns reserved for file size / this do not grow while reading
// such a log; a line that leaves fields the view does not read empty is
// shorter still, and then the columns grow as vectors do. Pages reserved but
// never written cost no memory.
size_t shortestDataLine(const FirmwareVariant& firmware) {
    const size_t fields = size_t(firmware.logFieldCount());
    return fields + (fields - 1) + 1;
}

class FlightReader {
  public:
    FlightReader(FlightLog& log, const FirmwareVariant& firmware)
        : m_log(log), m_long(firmware.hasV500Layout()), m_duo(firmware.isDuo()) {}

    void reserve(qint64 fileSize, size_t shortestLine) {
        const size_t samples = fileSize > 0 ? size_t(fileSize) / shortestLine + 1 : 0;
        forEachColumn([samples](auto& column) { column.reserve(samples); });
        m_rawAltitude.reserve(samples);
    }

    // One Data line of the variant; false when the view cannot read it.
    bool add(std::string& line) {
        const size_t needed = m_long ? LogField::Speed + 1 : LogField::GpsAltitude + 1;
        SplitLogLine(line, m_fields, needed);
        if (m_fields.size() < needed)
            return false;
        const auto elapsed = parseLogInteger(m_fields[LogField::Elapsed]);
        const auto altitude = parseLogInteger(m_fields[LogField::BaroAltitude]);
        if (!elapsed || !altitude)
            return false;
        Position position{};
        const bool fixed = !isNoPosition(m_fields[LogField::Latitude]) &&
                           !isNoPosition(m_fields[LogField::Longitude]);
        if (fixed && !readPosition(position))
            return false;

        if (!m_log.elapsed.empty() && *elapsed < m_log.elapsed.back())
            m_log.segments.push_back({m_log.size(), m_log.size(), 0});
        if (m_log.segments.empty())
            m_log.segments.push_back({0, 0, 0});
        ++m_log.segments.back().end;

        m_log.elapsed.push_back(*elapsed);
        m_rawAltitude.push_back(*altitude);
        m_log.baroAltitude.push_back(float(m_duo ? *altitude / 10.0 : double(*altitude)));
        m_log.climb.push_back(0); // worked out once the whole log is read
        if (fixed) {
            ++m_log.positionLines;
            addPosition(position);
        } else {
            m_log.latitude.push_back(NoValue);
            m_log.longitude.push_back(NoValue);
            m_log.gpsAltitude.push_back(NoValue);
            m_log.speed.push_back(NoValue);
            m_log.trackDistance.push_back(float(m_track.distance()));
            m_log.startDistance.push_back(NoValue);
            m_log.east.push_back(NoValue);
            m_log.north.push_back(NoValue);
        }
        return true;
    }

    void finish() {
        forEachColumn([](auto& column) { column.shrink_to_fit(); });
        const double step = medianStep(m_log);
        placeSegmentsOnAxis(m_log, step);
        for (const FlightLog::Segment& segment : m_log.segments)
            climbRates(m_log, m_rawAltitude, segment, climbHalfWindow(step), m_duo ? 10.0 : 1.0,
                       m_log.climb);
    }

  private:
    struct Position {
        double latitude, longitude;
        float gpsAltitude, speed;
    };

    bool readPosition(Position& p) {
        const auto latitude = parseLogInteger(m_fields[LogField::Latitude]);
        const auto longitude = parseLogInteger(m_fields[LogField::Longitude]);
        const auto gps = parseLogInteger(m_fields[LogField::GpsAltitude]);
        if (!latitude || !longitude || !gps)
            return false;
        p = {coordDegrees(*latitude), coordDegrees(*longitude), float(*gps), NoValue};
        if (m_long) {
            const auto speed = parseLogInteger(m_fields[LogField::Speed]);
            if (!speed)
                return false;
            p.speed = float(*speed);
        }
        return true;
    }

    void addPosition(const Position& p) {
        m_log.latitude.push_back(float(p.latitude));
        m_log.longitude.push_back(float(p.longitude));
        m_log.gpsAltitude.push_back(p.gpsAltitude);
        m_log.speed.push_back(p.speed);
        m_log.lastPosition = FlightLog::Place{p.latitude, p.longitude};
        // No leg across a restart: where the glider went meanwhile is unknown.
        const GroundPoint point(p.latitude, p.longitude);
        m_track.add(point, m_log.segments.size());
        m_log.trackDistance.push_back(float(m_track.distance()));
        if (!m_start)
            m_start = point;
        m_log.startDistance.push_back(float(greatCircle(*m_start, point)));
        const LocalMetres local = localMetres(*m_start, point);
        m_log.east.push_back(float(local.east));
        m_log.north.push_back(float(local.north));
    }

    template <typename F> void forEachColumn(F f) {
        f(m_log.elapsed);
        for (auto* column : {&m_log.baroAltitude, &m_log.latitude, &m_log.longitude,
                             &m_log.gpsAltitude, &m_log.speed, &m_log.climb, &m_log.trackDistance,
                             &m_log.startDistance, &m_log.east, &m_log.north})
            f(*column);
    }

    FlightLog& m_log;
    bool m_long;
    bool m_duo;
    std::vector<std::string_view> m_fields;
    // Whole-number altitudes as logged: the climb is worked out from them exactly.
    std::vector<qint32> m_rawAltitude;
    TrackLength m_track;
    std::optional<GroundPoint> m_start;
};

} // namespace

double FlightLog::axisTime(size_t sample) const {
    return double(elapsed[sample]) + segmentOf(sample).axisOffset;
}

bool FlightLog::isRenamedCopy() const {
    return name != QFileInfo(path).fileName();
}

const FlightLog::Segment& FlightLog::segmentOf(size_t sample) const {
    const auto after =
        std::upper_bound(segments.begin(), segments.end(), sample,
                         [](size_t s, const Segment& segment) { return s < segment.begin; });
    return *(after - 1);
}

namespace {

// Reads the log from a reader opened on its file or its bytes.
Result<FlightLog> readFrom(LogReader& reader, const QString& path,
                           const FirmwareVariant& firmware) {
    FlightLog log;
    log.path = path;
    log.name = QFileInfo(path).fileName();
    log.firmware = firmware;
    log.logDate = QDateTime::fromSecsSinceEpoch(logDateInstant(reader.status()));

    FlightReader flight(log, firmware);
    flight.reserve(S_ISREG(reader.status().st_mode) ? qint64(reader.status().st_size) : 0,
                   shortestDataLine(firmware));
    LayoutCounts counts;
    clearUpperVectorState();
    const Status failure = forEachDataLine(reader, firmware, counts, [&](std::string& line) {
        if (!flight.add(line) && log.skippedLines++ == 0)
            log.firstSkippedLine = reader.lineNumber();
        return true;
    });
    if (failure)
        return *failure;
    log.dataLines = counts.dataLines;
    log.otherLayoutLines = counts.otherLayoutLines;
    flight.finish();
    return log;
}

template <typename Read>
Result<FlightLog> readFitting(const FirmwareVariant& chosen, const Read& read) {
    Result<FlightLog> log = read(chosen);
    if (!log)
        return log;
    const FirmwareVariant fitting =
        fittingFirmware(chosen, {log->dataLines, log->otherLayoutLines});
    return fitting == chosen ? std::move(log) : read(fitting);
}

} // namespace

Result<FlightLog> readFlightLog(const QString& path, const FirmwareVariant& firmware) {
    LogReader reader;
    if (auto failure = reader.open(path))
        return *failure;
    return readFrom(reader, path, firmware);
}

Result<FlightLog> readFlightLog(const QString& path, const LogFileBytes& file,
                                const FirmwareVariant& firmware) {
    LogReader reader;
    reader.open(file);
    return readFrom(reader, path, firmware);
}

Result<FlightLog> readFlightLogFitting(const QString& path, const FirmwareVariant& chosen) {
    return readFitting(
        chosen, [&path](const FirmwareVariant& firmware) { return readFlightLog(path, firmware); });
}

Result<FlightLog> readFlightLogFitting(const QString& path, const LogFileBytes& file,
                                       const FirmwareVariant& chosen) {
    return readFitting(chosen, [&](const FirmwareVariant& firmware) {
        return readFlightLog(path, file, firmware);
    });
}
