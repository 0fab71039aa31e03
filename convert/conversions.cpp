#include "convert/conversions.h"

namespace {

Result<Conversion> kml2d(const QString& log, const FirmwareVariant& firmware,
                         const ConversionOptions& options) {
    return ConvertToKml(log, false, false, firmware, options);
}
Result<Conversion> kml3dGps(const QString& log, const FirmwareVariant& firmware,
                            const ConversionOptions& options) {
    return ConvertToKml(log, true, true, firmware, options);
}
Result<Conversion> kml3dBaro(const QString& log, const FirmwareVariant& firmware,
                             const ConversionOptions& options) {
    return ConvertToKml(log, true, false, firmware, options);
}

// In menu order.
constexpr ConversionFormat Formats[] = {
    {"kml2d", "nachKML2D1", kml2d, false},
    {"kml3d-gps", "nachKML3DmitGPSHhe1", kml3dGps, false},
    {"kml3d-baro", "nachKML3D1", kml3dBaro, false},
    {"gpx", "nachGMX1", ConvertToGpx, true},
    {"trakmond", "frTrakmond1", ConvertToTrakmond, false},
};

} // namespace

std::span<const ConversionFormat> conversionFormats() {
    return Formats;
}

const ConversionFormat* conversionFormatNamed(const QString& name) {
    for (const ConversionFormat& format : Formats)
        if (name.compare(QLatin1String(format.name), Qt::CaseInsensitive) == 0)
            return &format;
    return nullptr;
}
