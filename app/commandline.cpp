#include "app/commandline.h"
#include "app/settingsfile.h"

std::optional<FirmwareVariant> chosenFirmwareVariant(const QCommandLineParser& parser,
                                                     const QCommandLineOption& option) {
    if (!parser.isSet(option))
        return storedFirmwareVariant();
    const QString name = parser.value(option);
    if (name == QLatin1String("407"))
        return FirmwareVariant{407, 0};
    if (name == QLatin1String("500"))
        return FirmwareVariant{500, 0};
    if (name == QLatin1String("duo"))
        return FirmwareVariant{500, 1};
    return std::nullopt;
}
