#include "logbook/airborne.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using namespace Airborne;

// True when from `first` on, for LandedSeconds (or to the segment's end), the
// altitude keeps within the landed band and the model does not move.
bool liesStill(const FlightLog& log, size_t first, size_t end) {
    const double start = log.axisTime(first);
    float low = log.baroAltitude[first];
    float high = low;
    // The first fix of the stretch: a model that lies still keeps near it.
    float east = std::numeric_limits<float>::quiet_NaN();
    float north = east;
    for (size_t i = first; i < end && log.axisTime(i) - start <= LandedSeconds; ++i) {
        low = std::min(low, log.baroAltitude[i]);
        high = std::max(high, log.baroAltitude[i]);
        if (high - low > LandedBand)
            return false;
        // NaN (no speed logged, no fix) says nothing either way.
        if (log.speed[i] > LandedSpeed)
            return false;
        if (std::isfinite(log.east[i])) {
            if (!std::isfinite(east)) {
                east = log.east[i];
                north = log.north[i];
            } else if (std::hypot(log.east[i] - east, log.north[i] - north) > LandedDrift) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

AirborneFigures airborneFigures(const FlightLog& log) {
    AirborneFigures figures;
    const auto addStretch = [&figures](double seconds) {
        if (seconds >= ShortestLaunch) {
            figures.flightTime += seconds;
            ++figures.launches;
        }
    };
    for (const FlightLog::Segment& segment : log.segments) {
        if (segment.begin >= segment.end)
            continue;
        double ground = log.baroAltitude[segment.begin];
        bool inAir = false;
        double takeoff = 0;
        for (size_t i = segment.begin; i < segment.end; ++i) {
            const double t = log.axisTime(i);
            const double altitude = log.baroAltitude[i];
            if (!inAir) {
                if (std::abs(altitude - ground) > LaunchHeight) {
                    inAir = true;
                    // It left the ground after the last sample that saw it there.
                    takeoff = i > segment.begin ? log.axisTime(i - 1) : t;
                    continue;
                }
                const double step = i > segment.begin ? t - log.axisTime(i - 1) : 0;
                ground += (altitude - ground) * std::min(1.0, step / GroundFollow);
            } else if (liesStill(log, i, segment.end)) {
                addStretch(t - takeoff);
                inAir = false;
                ground = altitude;
            }
        }
        if (inAir)
            addStretch(log.axisTime(segment.end - 1) - takeoff);
    }
    return figures;
}
