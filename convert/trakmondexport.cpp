#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/logfields.h"

#include <cmath>

namespace {

// Minutes with three decimals instead of four: one leading '0' and the last
// digit go. Applied to both coordinates alike, so western longitudes are
// shortened too; "0" stays to mark a missing position.
std::string_view trimmedCoordinate(std::string_view text) {
    if (text == "0" || text.empty())
        return text;
    if (text.front() == '0')
        text.remove_prefix(1);
    if (!text.empty())
        text.remove_suffix(1);
    return text;
}

class TrakmondWriter final : public ExportWriter {
  public:
    explicit TrakmondWriter(const FirmwareVariant& firmware)
        : m_long(firmware.hasLongLogLines()), m_duo(firmware.isDuo()) {}

    void writeHead(OutputText& out) override { out.append("2;126;71;49;0;0;0;10;\r\n0;0;0;\r\n"); }

    Result<LineOutcome> writeDataLine(std::string& line, qint64 lineNumber,
                                      OutputText& out) override {
        // Log field 0 and its ';' go; items count in the shortened line.
        line.erase(0, 3);
        const size_t needed = m_long ? 15 : 11;
        if (auto failure = splitDataLine(line, lineNumber, needed, m_items))
            return *failure;
        const auto& item = m_items;
        const auto longitude = trimmedCoordinate(item[9]);
        const auto latitude = trimmedCoordinate(item[10]);

        // Read with '.' whatever the locale: a device log converts alike everywhere.
        const auto source = item[m_long ? 11 : 3];
        const auto value = parseLogFloat(source);
        if (!value)
            return Failure{FailureKind::NotANumber, notAFloatText(source)};
        const double scaled = std::trunc(m_long && m_duo ? *value : *value * 10);
        if (!(std::fabs(scaled) < 9.2e18))
            return Failure{FailureKind::NotANumber, notAFloatText(source)};

        if (isNoPosition(latitude) || isNoPosition(longitude))
            return LineOutcome::NoPosition;
        // Every item is copied at most once: the line's length bounds the record.
        char* p = out.room(line.size() + 64);
        auto field = [&p](std::string_view text) {
            p = put(p, text);
            *p++ = ';';
        };
        field("0");
        field(item[3]);
        field(item[2]);
        field(item[4]);
        field(item[5]);
        field(m_long ? item[14] : "0");
        field(m_long ? item[12] : "0");
        field("0");
        field(item[8]);
        field(item[6]);
        field(item[7]);
        field(m_long ? item[13] : "0");
        field("0");
        field(latitude);
        field(longitude);
        p = writeDecimal(p, qint64(scaled));
        *p++ = ';';
        out.setEnd(put(p, "\r\n"));
        return LineOutcome::Point;
    }

    void writeTail(OutputText&) override {}

  private:
    bool m_long;
    bool m_duo;
    Fields m_items;
};

} // namespace

ConversionResult ConvertToTrakmond(const QString& logPath, const FirmwareVariant& firmware,
                                   const ConversionOptions& options) {
    ConversionResult result;
    LogReader log;
    if ((result.failure = log.open(logPath)))
        return result;
    result.outputPath = outputPathFor(logPath, trakmondOutputName(fileNameOf(logPath)), options);
    TrakmondWriter writer(firmware);
    runExport(log, firmware, options, writer, result);
    return result;
}
