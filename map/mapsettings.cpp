#include "map/mapsettings.h"

#include "core/atomicfile.h"
#include "core/initext.h"
#include "core/settingsfile.h"
#include "map/tileurl.h"

#include <QDir>
#include <QFile>

namespace {
const QByteArray Section = "Map";
const QByteArray EnabledKey = "Enabled";
const QByteArray TemplateKey = "TileUrl";

QByteArray fileText() {
    QFile file(extraSettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

QString extraSettingsFilePath() {
    return settingsFolder() + QLatin1Char('/') + QLatin1String(ExtraSettingsFileName);
}

QString MapSettings::effectiveTemplate() const {
    return tileTemplate.trimmed().isEmpty() ? QString::fromLatin1(DefaultTileTemplate)
                                            : tileTemplate.trimmed();
}

MapSettings readMapSettings() {
    const IniText ini(fileText());
    MapSettings settings;
    settings.enabled = ini.value(Section, EnabledKey).value_or(QByteArray()) == "1";
    settings.tileTemplate =
        QString::fromUtf8(ini.value(Section, TemplateKey).value_or(QByteArray()));
    return settings;
}

Status writeMapSettings(const MapSettings& settings) {
    IniText ini(fileText());
    ini.setValue(Section, EnabledKey, settings.enabled ? "1" : "0");
    ini.setValue(Section, TemplateKey, settings.tileTemplate.toUtf8());
    if (!QDir().mkpath(settingsFolder()))
        return Failure{FailureKind::NotWritable,
                       QStringLiteral("In %1 kann nicht geschrieben werden.")
                           .arg(QLatin1String(ExtraSettingsFileName))};
    if (Status failure = writeFileAtomically(extraSettingsFilePath(), std::move(ini).text()))
        return Failure{FailureKind::NotWritable,
                       QStringLiteral("In %1 kann nicht geschrieben werden.")
                           .arg(QLatin1String(ExtraSettingsFileName))};
    return {};
}
