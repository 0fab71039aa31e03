#include "convertfuzz.h"
#include "fuzzsupport.h"

#include "convert/conversions.h"

#include <algorithm>
#include <string_view>

using namespace fuzz;

namespace {

constexpr std::string_view KmlHead = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml ";
constexpr std::string_view KmlTail =
    "</coordinates>\r\n</LineString></Placemark>\r\n</Document></kml>\r\n";
constexpr std::string_view GpxHead = "<?xml version=\"1.0\" standalone=\"yes\" ?>\r<gpx ";
constexpr std::string_view GpxTail = "</trkseg>\r\n</trk>\r\n</gpx>\r\n";
constexpr std::string_view TrakmondHead = "2;126;71;49;0;0;0;10;\r\n0;0;0;\r\n";

bool startsWith(std::string_view text, std::string_view head) {
    return text.substr(0, head.size()) == head;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// KML and GPX hold only numbers the writers composed: plain ASCII text.
void checkAsciiOnly(std::string_view text) {
    for (const char c : text)
        check(c == '\r' || c == '\n' || (c >= ' ' && c <= '~'), "non-ASCII byte in XML output");
}

// Between head and tail, one "lon,lat,alt" line per point.
void checkKmlCoordinates(std::string_view text) {
    const size_t begin = text.find("<coordinates>\r\n") + 15;
    const size_t end = text.size() - KmlTail.size();
    check(begin >= 15 && begin <= end, "KML without coordinates");
    for (std::string_view rest = text.substr(begin, end - begin); !rest.empty();) {
        const size_t eol = rest.find("\r\n");
        check(eol != std::string_view::npos, "KML point without line end");
        const std::string_view point = rest.substr(0, eol);
        check(std::count(point.begin(), point.end(), ',') == 2, "KML point without 3 values",
              std::string(point));
        for (const char c : point)
            check((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-' || c == 'E',
                  "KML point with a foreign byte", std::string(point));
        rest.remove_prefix(eol + 2);
    }
}

// Every record after the head is at least 16 items, each closed by ';'. (Items
// are copied as read, so a quoted log field holding ';' adds items.)
void checkTrakmondRecords(std::string_view text) {
    for (std::string_view rest = text.substr(TrakmondHead.size()); !rest.empty();) {
        const size_t eol = rest.find("\r\n");
        check(eol != std::string_view::npos, "plotter record without line end");
        const std::string_view record = rest.substr(0, eol);
        check(std::count(record.begin(), record.end(), ';') >= 16 && record.back() == ';',
              "plotter record without 16 items", std::string(record));
        rest.remove_prefix(eol + 2);
    }
}

} // namespace

int fuzzConversion(std::string_view formatName, const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const FirmwareVariant firmware{(data[0] & 1) ? 500 : 407, (data[0] & 2) ? 1 : 0};
    ++data;
    --size;
    static const std::string logPath = scratchFolder() + "/LOG00001.CSV";
    static const QString log = QString::fromStdString(logPath);
    writeBytes(logPath, data, size);

    // The checks below know the three output families; the list knows the rest.
    const ConversionFormat* format =
        conversionFormatNamed(QString::fromLatin1(formatName.data(), qsizetype(formatName.size())));
    check(format != nullptr, "no such conversion", std::string(formatName));
    const Result<Conversion> result = format->convert(log, firmware);
    enum class Family { Kml, Gpx, Plotter };
    const Family family = formatName.starts_with("kml")   ? Family::Kml
                          : formatName.starts_with("gpx") ? Family::Gpx
                                                          : Family::Plotter;
    const std::string_view outputName = family == Family::Kml   ? "LOG00001.kml"
                                        : family == Family::Gpx ? "LOG00001.GPX"
                                                                : "TMD00001.CSV";

    const std::string outputPath = scratchFolder() + '/' + std::string(outputName);
    const std::string logNow = readBytes(logPath);
    check(logNow == std::string_view(reinterpret_cast<const char*>(data), size), "the log changed");
    const auto entries = folderEntries();
    if (!result.ok()) {
        check(!result.failure().message.isEmpty(), "failure without a message");
        check(entries == std::vector<std::string>{"LOG00001.CSV"},
              "a failed conversion left a file", entries.back());
        return 0;
    }
    check(result->outputPath.toStdString() == outputPath, "unexpected output path",
          result->outputPath.toStdString());
    check(entries.size() == 2 && exists(outputPath), "finished without exactly one output");

    const std::string text = readBytes(outputPath);
    switch (family) {
    case Family::Kml:
        check(startsWith(text, KmlHead) && endsWith(text, KmlTail), "incomplete KML");
        checkAsciiOnly(text);
        checkKmlCoordinates(text);
        break;
    case Family::Gpx:
        check(startsWith(text, GpxHead) && endsWith(text, GpxTail), "incomplete GPX");
        checkAsciiOnly(text);
        check(std::count(text.begin(), text.end(), '<') ==
                  std::count(text.begin(), text.end(), '>'),
              "unbalanced GPX markup");
        break;
    case Family::Plotter:
        check(startsWith(text, TrakmondHead), "incomplete plotter file");
        checkTrakmondRecords(text);
        break;
    }
    removeFile(outputPath);
    return 0;
}
