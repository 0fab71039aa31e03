#pragma once

#include "convert/conversion.h"

#include <QString>
#include <span>

// The five conversions, one row each: the window's menu commands,
// altorin-convert, the fuzz targets and the tests all read this list.
struct ConversionFormat {
    const char* name;     // on the command line: "kml2d"
    const char* menuItem; // object name of the window's menu item: "nachKML2D1"
    Result<Conversion> (*run)(const QString& logPath, const FirmwareVariant& firmware,
                              const ConversionOptions& options);
    bool reportsLogDate; // the completion message adds the log date (GPX)

    Result<Conversion> convert(const QString& logPath, const FirmwareVariant& firmware,
                               const ConversionOptions& options = {}) const {
        return run(logPath, firmware, options);
    }
};

std::span<const ConversionFormat> conversionFormats();
// The row of that command-line name, in any letter case; nullptr for none.
const ConversionFormat* conversionFormatNamed(const QString& name);
