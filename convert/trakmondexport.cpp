#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/linewriter.h"
#include "log/logfields.h"

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

// The line is split without its first three bytes (log field 0 and its ';'),
// so log field k is item k - 1.
constexpr size_t itemOf(size_t logField) {
    return logField - 1;
}

// The record's first thirteen items, copied from the log as read; the rest
// are the trimmed coordinates and the plotter altitude. Fields only the
// plotter copies go by their number.
struct CopiedItem {
    size_t logField;    // NoField: the item is "0"
    bool longLinesOnly; // "0" in lines of 13 fields, which lack the field
};
constexpr size_t NoField = 0; // field 0 is never copied
constexpr CopiedItem CopiedItems[] = {
    {NoField, false},
    {LogField::BaroAltitude, false},
    {3, false},
    {5, false},
    {6, false},
    {15, true},
    {LogField::Speed, true},
    {NoField, false},
    {9, false},
    {7, false},
    {8, false},
    {14, true},
    {NoField, false},
};

class TrakmondWriter final : public ExportWriter {
  public:
    explicit TrakmondWriter(const FirmwareVariant& firmware)
        : m_long(firmware.hasV500Layout()), m_duo(firmware.isDuo()) {}

    void writeHead(OutputText& out) override { out.append("2;126;71;49;0;0;0;10;\r\n0;0;0;\r\n"); }

    Result<LineOutcome> writeDataLine(std::string& line, OutputText& out) override {
        line.erase(0, 3);
        // Up to log field 15 from V500, up to the latitude in lines of 13 fields.
        const size_t needed = itemOf(m_long ? 15 : LogField::Latitude) + 1;
        if (auto failure = splitDataLine(line, needed, m_items))
            return *failure;
        const auto item = [this](size_t logField) { return m_items[itemOf(logField)]; };
        const auto longitude = trimmedCoordinate(item(LogField::Longitude));
        const auto latitude = trimmedCoordinate(item(LogField::Latitude));

        // Read with '.' whatever the locale: a device log converts alike everywhere.
        const auto source = item(m_long ? LogField::GpsAltitude : LogField::BaroAltitude);
        const auto value = parseLogFloat(source);
        if (!value)
            return notAFloat(source);
        const double scaled = std::trunc(m_long && m_duo ? *value : *value * 10);
        if (!(std::fabs(scaled) < 9.2e18))
            return notAFloat(source);

        if (isNoPosition(latitude) || isNoPosition(longitude))
            return LineOutcome::NoPosition;
        LineWriter record(out);
        for (const CopiedItem& copied : CopiedItems) {
            const bool zero = copied.logField == NoField || (copied.longLinesOnly && !m_long);
            record.text(zero ? std::string_view("0") : item(copied.logField)).text(";");
        }
        record.text(latitude).text(";").text(longitude).text(";");
        record.number(decimalText(qint64(scaled))).text(";");
        if (auto failure = record.end())
            return *failure;
        return LineOutcome::Point;
    }

    void writeTail(OutputText&) override {}

  private:
    bool m_long;
    bool m_duo;
    Fields m_items;
};

} // namespace

Result<Conversion> ConvertToTrakmond(const QString& logPath, const FirmwareVariant& firmware,
                                     const ConversionOptions& options) {
    TrakmondWriter writer(firmware);
    return runExport(logPath, trakmondOutputName(fileNameOf(logPath)), firmware, options, writer);
}
