#pragma once

#include <QString>
#include <string_view>

// The captions of the flight view, German with English entries, chosen by the
// tool's language flag like the main window's. Messages stay German.
enum class ViewText {
    Title,
    ShowAll,
    Time,
    BaroAltitude,
    GpsAltitude,
    Climb,
    Speed,
    TrackDistance,
    StartDistance,
    Track,
    Start,
    End,
    SavePng,
    SaveSvg,
    SaveCsv,
    Convert,
    ConvertCopy, // why a kept copy is not converted
    Skipped,     // %1 lines skipped, %2 the first one's number
    MapOn,
    MapOff,
    FitTrack,
    MapAttribution,
    MapUnreachable,
    NoPosition,
    Play,
    Pause,
    ReplaySpeed,
    ReplayPosition,
    Thermals,
    ThermalStart,
    ThermalDuration,
    ThermalGain,
    ThermalClimb,
    ThermalDrift,
    ThermalsFromCircling,
    ThermalsNoPosition,
    ThermalsSparseFixes,
    NoThermals,
    Landing,
    CopyPlace,
    OpenPlace,
    GpsOverStart,
    SummaryTab,
    ThermalTab,
    Count
};

// The caption for the language flag (1 English, else German).
QString viewText(ViewText text, qint32 language);
// The unit a value of that kind is shown in ("m", "m/s", ...); empty for the others.
QString viewUnit(ViewText text);

// The caption of a row of the flight summary, by the summary field's key (its
// JSON member), for the language flag; empty for a key without a caption.
QString summaryCaption(std::string_view key, qint32 language);
