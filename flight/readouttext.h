#pragma once

#include "flight/viewstate.h"

#include <QString>

// The readout under the plots, in the language of the flag (1 English, else
// German) and the pilot's regional number form: one line per log as
// FlightViewState::readout gives them, named by the log's file when several
// show, "–" for a value the sample lacks or a flight that is over.
QString readoutText(const FlightViewState& state, qint32 language);
