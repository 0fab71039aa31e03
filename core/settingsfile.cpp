#include "core/settingsfile.h"
#include "core/atomicfile.h"
#include "core/initext.h"
#include "core/integertext.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <utility>

namespace {

QString folderOverride;

// The seven entries in the order they are written, each the only key of a
// section of its own name.
constexpr std::pair<const char*, qint32 ToolSettings::*> Entries[] = {
    {"Top", &ToolSettings::top},
    {"Left", &ToolSettings::left},
    {"Width", &ToolSettings::width},
    {"Height", &ToolSettings::height},
    {"AR_Version", &ToolSettings::firmwareVersion},
    {"OptionInt", &ToolSettings::duo},
    {"english", &ToolSettings::language},
};

Failure cannotWrite() {
    return Failure{FailureKind::NotWritable, QStringLiteral("In %1 kann nicht geschrieben werden.")
                                                 .arg(QLatin1String(SettingsFileName))};
}

} // namespace

QString settingsFolder() {
    if (!folderOverride.isEmpty())
        return folderOverride;
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/AltorinTool");
}

QString settingsFilePath() {
    return settingsFolder() + QLatin1Char('/') + QLatin1String(SettingsFileName);
}

void setSettingsFolder(const QString& folder) {
    folderOverride = folder;
}

std::optional<qint32> parseSettingsInteger(const QByteArray& text) {
    return parseIntegerText(std::string_view(text.constData(), size_t(text.size())),
                            SettingsIntegerRules);
}

ToolSettings readToolSettings(const ToolSettings& defaults) {
    ToolSettings result = defaults;
    QFile file(settingsFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const IniText ini(file.readAll());
    for (const auto& [name, value] : Entries)
        if (const auto text = ini.value(name, name))
            if (const auto number = parseSettingsInteger(*text))
                result.*value = *number;
    return result;
}

FirmwareVariant storedFirmwareVariant() {
    return readToolSettings(ToolSettings{}).firmware();
}

Status writeToolSettings(const ToolSettings& settings) {
    if (!QDir().mkpath(settingsFolder()))
        return cannotWrite();
    const QString path = settingsFilePath();
    QByteArray ini;
    QFile existing(path);
    if (existing.exists()) {
        // Rewriting a file we cannot read would throw its other lines away.
        if (!existing.open(QIODevice::ReadOnly))
            return cannotWrite();
        ini = existing.readAll();
        existing.close();
    }
    // One split and one join for all seven entries.
    IniText text(std::exchange(ini, QByteArray()));
    for (const auto& [name, value] : Entries)
        text.setValue(name, name, QByteArray::number(settings.*value));
    ini = std::move(text).text();

    if (writeFileAtomically(path, ini))
        return cannotWrite();
    return std::nullopt;
}
