#include "convert/conversions.h"

namespace {

ConversionResult kml2d(const QString& log, const FirmwareVariant& firmware) {
    return ConvertToKml(log, false, false, firmware);
}
ConversionResult kml3dGps(const QString& log, const FirmwareVariant& firmware) {
    return ConvertToKml(log, true, true, firmware);
}
ConversionResult kml3dBaro(const QString& log, const FirmwareVariant& firmware) {
    return ConvertToKml(log, true, false, firmware);
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
        if (name == QLatin1String(format.name))
            return &format;
    return nullptr;
}
