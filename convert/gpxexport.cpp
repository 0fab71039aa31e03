#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/linewriter.h"
#include "log/logdate.h"
#include "log/logfields.h"

#include <cstring>
#include <ctime>
#include <limits>

namespace {

char* putTwoDigits(char* p, qint64 value) {
    *p++ = char('0' + value / 10);
    *p++ = char('0' + value % 10);
    return p;
}

// "YYYY-MM-DDT" of a day counted from 1970-01-01 (proleptic Gregorian).
void dateText(qint64 days, char* out) {
    // Civil date from a day count (H. Hinnant's algorithm).
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 mp = (5 * dayOfYear + 2) / 153;
    const qint64 day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const qint64 month = mp < 10 ? mp + 3 : mp - 9;
    const qint64 year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    // Years outside 0..9999 cannot come from a 32-bit field of seconds.
    const qint64 y = year < 0 ? 0 : year > 9999 ? 9999 : year;
    char* p = putTwoDigits(out, y / 100);
    p = putTwoDigits(p, y % 100);
    *p++ = '-';
    p = putTwoDigits(p, month);
    *p++ = '-';
    p = putTwoDigits(p, day);
    *p = 'T';
}

// UTC time texts; the date part is worked out once per day.
class UtcClock {
  public:
    // "YYYY-MM-DDThh:mm:ss" of the instant.
    std::string_view text(qint64 secondsSinceEpoch) {
        qint64 days = secondsSinceEpoch / 86400;
        qint64 secondOfDay = secondsSinceEpoch % 86400;
        if (secondOfDay < 0) {
            secondOfDay += 86400;
            --days;
        }
        if (days != m_day) {
            dateText(days, m_text);
            m_day = days;
        }
        char* p = putTwoDigits(m_text + DateLength, secondOfDay / 3600);
        *p++ = ':';
        p = putTwoDigits(p, secondOfDay / 60 % 60);
        *p++ = ':';
        putTwoDigits(p, secondOfDay % 60);
        return {m_text, sizeof m_text};
    }

  private:
    static constexpr size_t DateLength = 11; // "YYYY-MM-DDT"
    qint64 m_day = std::numeric_limits<qint64>::min();
    char m_text[DateLength + 8] = {};
};

class GpxWriter final : public ExportWriter {
  public:
    explicit GpxWriter(const FirmwareVariant& firmware)
        : m_long(firmware.hasV500Layout()), m_duo(firmware.isDuo()) {}

    void begin(const LogReader& log, Conversion& conversion) override {
        m_logDate = logDateInstant(log.status());
        conversion.logDate = QDateTime::fromSecsSinceEpoch(m_logDate);
    }

    void writeHead(OutputText& out) override {
        out.append("<?xml version=\"1.0\" standalone=\"yes\" ?>\r<gpx version=\"1.1\" "
                   "creator=\"Norwen\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                   "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                   "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
                   "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n"
                   "<trk>\r\n<name>Track</name>\r\n<number>1</number>\r\n<trkseg>\r\n");
    }

    Result<LineOutcome> writeDataLine(std::string& line, OutputText& out) override {
        // Lines of 13 fields carry no speed.
        const size_t needed = (m_long ? LogField::Speed : LogField::GpsAltitude) + 1;
        if (auto failure = splitDataLine(line, needed, m_fields))
            return *failure;
        const auto& f = m_fields;
        // The time is read before the position test, so every Data line needs it.
        const auto elapsed = parseLogInteger(f[LogField::Elapsed]);
        if (!elapsed)
            return notAnInteger(f[LogField::Elapsed]);
        if (isNoPosition(f[LogField::Latitude]) || isNoPosition(f[LogField::Longitude]))
            return LineOutcome::NoPosition;

        LineWriter point(out);
        point.text("<trkpt lat=\"")
            .coordinateField(f[LogField::Latitude], NumberLayout::Positional)
            .text("\" lon=\"")
            .coordinateField(f[LogField::Longitude], NumberLayout::Positional)
            .text("\">\r\n<ele>")
            .intField(f[LogField::GpsAltitude])
            .text("</ele>\r\n<time>")
            .text(m_clock.text(m_logDate + *elapsed))
            .text("Z</time>\r\n<name>t:")
            .intField(f[LogField::Elapsed]);
        if (m_long)
            point.text("s   v=").intField(f[LogField::Speed]).text("km/h   h=");
        else
            point.text("s   h=");
        if (m_duo)
            point.tenthsField(f[LogField::BaroAltitude]);
        else
            point.intField(f[LogField::BaroAltitude]);
        if (auto failure = point.text("m</name>\r\n</trkpt>").end())
            return *failure;
        return LineOutcome::Point;
    }

    void writeTail(OutputText& out) override { out.append("</trkseg>\r\n</trk>\r\n</gpx>\r\n"); }

  private:
    bool m_long;
    bool m_duo;
    qint64 m_logDate = 0;
    UtcClock m_clock;
    Fields m_fields;
};

} // namespace

Result<Conversion> ConvertToGpx(const QString& logPath, const FirmwareVariant& firmware,
                                const ConversionOptions& options) {
    GpxWriter writer(firmware);
    return runExport(logPath, gpxOutputName(fileNameOf(logPath)), firmware, options, writer);
}
