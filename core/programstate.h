#pragma once

#include "core/firmwaretable.h"
#include "core/setupimagedata.h"

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
