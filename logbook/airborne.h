#pragma once

#include "flight/flightlog.h"

// When the model was in the air, read from the barometric altitude (and the
// speed where the log has one). A launch begins when the altitude leaves the
// ground level by more than LaunchHeight; the ground level follows the
// pressure's slow drift while the model stands. A launch ends where the
// altitude then stays within a band of LandedBand for LandedSeconds (and the
// speed, where logged, below LandedSpeed, and the fixes, where there are
// some, within LandedDrift of each other): the model lies still. A stretch of
// less than ShortestLaunch seconds is a bump, not a launch. A restart of the
// device ends a launch.
struct AirborneFigures {
    double flightTime = 0; // s, the launches' stretches together
    qint64 launches = 0;
};

namespace Airborne {
inline constexpr double LaunchHeight = 3.0;   // m over the ground level
inline constexpr double LandedBand = 2.0;     // m, highest less lowest altitude
inline constexpr double LandedSeconds = 30.0; // s
inline constexpr double LandedSpeed = 10.0;   // km/h
inline constexpr double LandedDrift = 30.0;   // m, more than a GPS wanders
inline constexpr double ShortestLaunch = 5.0; // s
inline constexpr double GroundFollow = 60.0;  // s, time constant of the ground level
} // namespace Airborne

AirborneFigures airborneFigures(const FlightLog& log);
