#include "convert/conversion.h"
#include "convert/exportwriter.h"
#include "convert/logfields.h"

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

    Result<LineOutcome> writeDataLine(std::string& line, qint64 lineNumber,
                                      OutputText& out) override {
        const size_t needed = m_useGps ? 13 : 12;
        if (auto failure = splitDataLine(line, lineNumber, needed, m_fields))
            return *failure;
        const auto longitude = m_fields[10];
        const auto latitude = m_fields[11];
        const auto altitude = m_fields[m_useGps ? 12 : 4];
        if (isNoPosition(latitude) || isNoPosition(longitude))
            return LineOutcome::NoPosition;
        char* p = out.room(3 * MaxNumberText + 4);
        if (!(p = writeCoordDegrees(p, longitude)))
            return Failure{FailureKind::NotANumber, notAnIntegerText(longitude)};
        *p++ = ',';
        if (!(p = writeCoordDegrees(p, latitude)))
            return Failure{FailureKind::NotANumber, notAnIntegerText(latitude)};
        *p++ = ',';
        if (!(p = m_tenths ? writeTenthsText(p, altitude) : writeIntText(p, altitude)))
            return Failure{FailureKind::NotANumber, notAnIntegerText(altitude)};
        out.setEnd(put(p, "\r\n"));
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

ConversionResult ConvertToKml(const QString& logPath, bool Is3D, bool UseGpsAltitude,
                              const FirmwareVariant& firmware, const ConversionOptions& options) {
    ConversionResult result;
    LogReader log;
    if ((result.failure = log.open(logPath)))
        return result;
    result.outputPath = outputPathFor(logPath, kmlOutputName(fileNameOf(logPath)), options);
    KmlWriter writer(Is3D, UseGpsAltitude, firmware);
    runExport(log, firmware, options, writer, result);
    return result;
}
