#pragma once

#include "core/programstate.h"
#include "core/result.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The tool's settings file "AltorinTool.ini": seven sections of one integer key
// each (Top, Left, Width, Height, AR_Version, OptionInt, english).
//
// The bare name lives in one fixed per-user folder, the same for reading and
// writing: <GenericConfigLocation>/AltorinTool, on Linux
// $XDG_CONFIG_HOME/AltorinTool or ~/.config/AltorinTool.

inline constexpr const char* SettingsFileName = "AltorinTool.ini";

// The folder that holds the settings file.
QString settingsFolder();
// Full path of the settings file.
QString settingsFilePath();
// Points the settings file at another folder (tests); an empty text restores
// the per-user folder.
void setSettingsFolder(const QString& folder);

// The seven stored values.
struct ToolSettings {
    qint32 top = 160;
    qint32 left = 239;
    qint32 width = 865;
    qint32 height = 784;
    qint32 firmwareVersion = 407; // AR_Version
    qint32 duo = 0;               // OptionInt
    qint32 language = 0;          // english

    FirmwareVariant firmware() const { return {firmwareVersion, duo}; }
};

// Reads every value; one that is missing or not an integer keeps the value of
// `defaults`. A missing or unreadable file gives `defaults` unchanged.
ToolSettings readToolSettings(const ToolSettings& defaults);

// The firmware variant the window would start with: 407 without Duo unless
// the settings file names another. For tools that read logs without a window.
FirmwareVariant storedFirmwareVariant();

// Writes all seven values. Existing entries are replaced in place, missing
// sections appended, every other line kept. The file is replaced as a whole,
// so a failure leaves the old file untouched and gives
// "In AltorinTool.ini kann nicht geschrieben werden.".
Status writeToolSettings(const ToolSettings& settings);

// --- the integer rule, exposed for tests (the INI text rules: core/initext.h) ---

// The integer reading rules of the settings file: "0x"/"0X" followed by hex
// digits; otherwise blanks, an optional sign, and decimal digits or hex digits
// after "$" or a single "x"/"X". Empty, malformed or outside 32 bits: nothing.
std::optional<qint32> parseSettingsInteger(const QByteArray& text);
