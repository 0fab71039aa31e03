#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/logfields.h"

#include <charconv>
#include <ctime>

namespace {

void appendDigits(std::string& out, qint64 value, int width) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    for (auto n = end - buf; n < width; ++n)
        out += '0';
    out.append(buf, end);
}

// The instant as UTC "YYYY-MM-DDThh:mm:ss" (proleptic Gregorian calendar).
void appendUtcTime(std::string& out, qint64 secondsSinceEpoch) {
    qint64 days = secondsSinceEpoch / 86400;
    qint64 secondOfDay = secondsSinceEpoch % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
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
    appendDigits(out, year, 4);
    out += '-';
    appendDigits(out, month, 2);
    out += '-';
    appendDigits(out, day, 2);
    out += 'T';
    appendDigits(out, secondOfDay / 3600, 2);
    out += ':';
    appendDigits(out, secondOfDay / 60 % 60, 2);
    out += ':';
    appendDigits(out, secondOfDay % 60, 2);
}

// The log's modification time, taken down to an even second of local time
// (the resolution of the card's file dates).
qint64 logDateInstant(const struct stat& status) {
    const time_t modified = status.st_mtime;
    tzset();
    struct tm local {};
    if (!localtime_r(&modified, &local))
        return modified;
    return qint64(modified) - local.tm_sec % 2;
}

class GpxWriter final : public ExportWriter {
  public:
    GpxWriter(const FirmwareVariant& firmware, qint64 logDate)
        : m_long(firmware.hasLongLogLines()), m_duo(firmware.isDuo()), m_logDate(logDate) {}

    void writeHead(std::string& out) override {
        out += "<?xml version=\"1.0\" standalone=\"yes\" ?>\r<gpx version=\"1.1\" "
               "creator=\"Norwen\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
               "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
               "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n"
               "<trk>\r\n<name>Track</name>\r\n<number>1</number>\r\n<trkseg>\r\n";
    }

    std::optional<Failure> writeDataLine(std::string& line, qint64 lineNumber,
                                         std::string& out) override {
        SplitLogLine(line, m_fields);
        // Lines of 13 fields carry no speed (field 13).
        const size_t needed = m_long ? 14 : 13;
        if (m_fields.size() < needed)
            return tooFewFieldsFailure(lineNumber, m_fields.size(), needed);
        const auto& f = m_fields;
        // Field 2 is read before the position test, so every Data line needs it.
        const auto elapsed = parseLogInteger(f[2]);
        if (!elapsed)
            return Failure{notAnIntegerText(f[2])};
        if (isNoPosition(f[11]) || isNoPosition(f[10]))
            return std::nullopt;

        const size_t start = out.size();
        auto bad = [&](std::string_view field) {
            out.resize(start);
            return Failure{notAnIntegerText(field)};
        };
        out += "<trkpt lat=\"";
        if (!appendCoordDegrees(out, f[11]))
            return bad(f[11]);
        out += "\" lon=\"";
        if (!appendCoordDegrees(out, f[10]))
            return bad(f[10]);
        out += "\">\r\n<ele>";
        if (!appendIntText(out, f[12]))
            return bad(f[12]);
        out += "</ele>\r\n<time>";
        appendUtcTime(out, m_logDate + *elapsed);
        out += "Z</time>\r\n<name>t:";
        appendDigits(out, *elapsed, 0);
        if (m_long) {
            out += "s   v=";
            if (!appendIntText(out, f[13]))
                return bad(f[13]);
            out += "km/h   h=";
        } else {
            out += "s   h=";
        }
        if (!(m_duo ? appendTenthsText(out, f[4]) : appendIntText(out, f[4])))
            return bad(f[4]);
        out += "m</name>\r\n</trkpt>\r\n";
        return std::nullopt;
    }

    void writeTail(std::string& out) override { out += "</trkseg>\r\n</trk>\r\n</gpx>\r\n"; }

  private:
    bool m_long;
    bool m_duo;
    qint64 m_logDate;
    Fields m_fields;
};

} // namespace

ConversionResult ConvertToGpx(const QString& logPath, const FirmwareVariant& firmware) {
    ConversionResult result;
    LogReader log;
    if ((result.failure = log.open(logPath)))
        return result;
    const qint64 logDate = logDateInstant(log.status());
    result.logDate = QDateTime::fromSecsSinceEpoch(logDate);
    result.outputPath = outputPathBeside(logPath, gpxOutputName(fileNameOf(logPath)));
    GpxWriter writer(firmware, logDate);
    result.failure = runExport(log, result.outputPath, firmware, writer);
    return result;
}
