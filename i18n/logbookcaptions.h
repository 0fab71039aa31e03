#pragma once

#include <QString>

// The captions of the logbook window, German with English entries, chosen by
// the tool's language flag like the main window's. Messages stay German.
enum class LogbookText {
    Title, // %1 the logbook's folder
    ImportFiles,
    ImportFolder,
    Stop,
    Progress, // the progress bar's "%v of %m"
    Model,
    From,
    To,
    Text,
    TextHint,
    AllModels,
    WithoutModel,
    Date,
    FlightTime,
    MaxAltitude,
    Distance,
    File,
    Site,
    Note,
    TotalsOf,
    PerModel,
    PerMonth,
    PerYear,
    Flights,
    Launches,
    LogTime,
    Sum,
    Open,
    SetModel,
    Remove,
    Shown, // %1 entries shown
    Count
};

// The caption for the language flag (1 English, else German).
QString logbookText(LogbookText text, qint32 language);
