#pragma once

#include "setup/setupimage.h"

#include <QString>

// Which firmware the device runs; decides the window's setups and the log layout.
struct FirmwareVariant {
    qint32 version = 407; // 407: up to V407x, 500: from V500
    qint32 duo = 0;       // 1 only for the Duo model

    bool isDuo() const { return duo == 1; }
    QString duoText() const { return isDuo() ? QStringLiteral("Duo ") : QString(); }
    // Log lines of 13 fields up to V407x, 17 fields above.
    bool hasLongLogLines() const { return version > 407; }
    int logFieldCount() const { return hasLongLogLines() ? 17 : 13; }
    // A variant with the other log layout (the Duo shares the 500's).
    FirmwareVariant otherLayout() const { return {hasLongLogLines() ? 407 : 500, 0}; }
};

inline constexpr const char* VersionText = ALTORIN_VERSION_TEXT;

// The program-wide state: one copy for the whole run, outside the window.
struct ProgramState {
    SetupImage image;
    FirmwareVariant firmware;
    qint32 language = 0; // only 1 selects English
};

ProgramState& programState();
// Back to the values before the start sequence ran (tests start each case here).
void resetProgramState();
