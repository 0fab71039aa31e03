#pragma once

#include "core/result.h"

class LogbookDatabase;

// Schema version 3 keeps the thermal figures of every flight. The entries
// already there get them from their copies, read again with the firmware
// each was read with, inside the upgrade's transaction.
Status fillThermalFigures(LogbookDatabase& db);
