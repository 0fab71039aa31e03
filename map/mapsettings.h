#pragma once

#include "core/result.h"

#include <QString>

// Settings the tool gained beyond its first seven live in a second
// file beside AltorinTool.ini, which keeps its sections and keys untouched.
inline constexpr const char* ExtraSettingsFileName = "AltorinTool-extra.ini";
QString extraSettingsFilePath();

// The map behind the track: off until the pilot switches it on, so that a
// fresh install (and every test with an empty configuration) never sends a
// request. The template is kept even while the map is off.
struct MapSettings {
    bool enabled = false;
    QString tileTemplate; // empty: the OpenStreetMap tile server

    QString effectiveTemplate() const;
};

// Missing file or keys give the defaults; "Enabled" is on only for 1.
MapSettings readMapSettings();
// Writes the [Map] section, keeping every other line of the file; the file is
// replaced as a whole, so a failure leaves the old one.
Status writeMapSettings(const MapSettings& settings);
