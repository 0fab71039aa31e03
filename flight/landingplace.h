#pragma once

#include "flight/flightlog.h"

#include <QString>

// The landing place (the log's last position) as the pilot passes it on.

// "48.016667, 8.100000": decimal degrees, south and west negative, '.'
// decimals whatever the locale, so a map search reads it.
QString placeText(const FlightLog::Place& place);
// A geo: URI, which map apps and phones open at the place.
QString geoUri(const FlightLog::Place& place);
