#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/linewriter.h"
#include "log/logfields.h"

#include <algorithm>

namespace {

// The credit line of the description names this tool.
constexpr std::string_view CreditLink = "https://example.org/altorintool/";
constexpr std::string_view CreditText = "AltorinTool";

class KmlWriter final : public ExportWriter {
  public:
    KmlWriter(bool is3D, bool useGpsAltitude, const FirmwareVariant& firmware)
        : m_is3D(is3D), m_useGps(useGpsAltitude), m_tenths(!useGpsAltitude && firmware.isDuo()) {}

    void writeHead(OutputText& out) override {
        out.append("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml "
                   "xmlns=\"http://earth.google.com/kml/2.0\"><Document>\r");
        out.append("<description><![CDATA[This route was created by<br><a href=\"");
        out.append(CreditLink);
        out.append("\">");
        out.append(CreditText);
        out.append("</a>]]></description>\r");
        out.append("<Placemark><name>route</name><Style><LineStyle><color>ff00ff00</color><width>3"
                   "</width></LineStyle><IconStyle><Icon></Icon></IconStyle></Style><LineString>"
                   "<tessellate>1</tessellate><altitudeMode>");
        out.append(m_useGps ? "absolute" : m_is3D ? "relativeToGround" : "clampedToGround");
        out.append("</altitudeMode><coordinates>\r\n");
    }

    Result<LineOutcome> writeDataLine(std::string& line, OutputText& out) override {
        const size_t altitudeField = m_useGps ? LogField::GpsAltitude : LogField::BaroAltitude;
        const size_t needed = std::max(altitudeField, LogField::Latitude) + 1;
        if (auto failure = splitDataLine(line, needed, m_fields))
            return *failure;
        const auto longitude = m_fields[LogField::Longitude];
        const auto latitude = m_fields[LogField::Latitude];
        const auto altitude = m_fields[altitudeField];
        if (isNoPosition(latitude) || isNoPosition(longitude))
            return LineOutcome::NoPosition;
        LineWriter coordinates(out);
        coordinates.coordinateField(longitude).text(",").coordinateField(latitude).text(",");
        if (m_tenths)
            coordinates.tenthsField(altitude);
        else
            coordinates.intField(altitude);
        if (auto failure = coordinates.end())
            return *failure;
        return LineOutcome::Point;
    }

    void writeTail(OutputText& out) override {
        out.append("</coordinates>\r\n</LineString></Placemark>\r\n</Document></kml>\r\n");
    }

  private:
    bool m_is3D;
    bool m_useGps;
    bool m_tenths; // Duo barometric altitudes are tenths of a metre
    Fields m_fields;
};

} // namespace

Result<Conversion> ConvertToKml(const QString& logPath, bool Is3D, bool UseGpsAltitude,
                                const FirmwareVariant& firmware, const ConversionOptions& options) {
    KmlWriter writer(Is3D, UseGpsAltitude, firmware);
    return runExport(logPath, kmlOutputName(fileNameOf(logPath)), firmware, options, writer);
}
