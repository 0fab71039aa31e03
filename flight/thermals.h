#pragma once

#include "flight/flightlog.h"

#include <cstddef>
#include <optional>
#include <vector>

// Thermals read from a flight. Where the fixes show the circles, a thermal is
// a stretch of circling (a sustained turn of the GPS course) in which the
// barometric altitude rose; where they cannot show them, a stretch of
// sustained climb alone.
namespace ThermalRule {
// Circling: turns of MinTurnRate to MaxTurnRate one way, following one
// another within MaxTurnGap, that add up to at least MinCircledTurn. The
// course is taken between successive fixes at least MinLegSpeed apart (slower,
// a receiver's scatter turns it at random).
inline constexpr double MinTurnRate = 6;      // degrees/s; a 60 s circle
inline constexpr double MaxTurnRate = 100;    // degrees/s; a 3.6 s circle
inline constexpr double MinCircledTurn = 360; // degrees
inline constexpr double MaxTurnGap = 4;       // s
inline constexpr double MinLegSpeed = 3;      // m/s
inline constexpr double MaxFixGap = 10;       // s; no course across a longer gap
inline constexpr double MinCirclingGain = 1;  // m
// The circles are seen when the fixes come at most this far apart (the median
// step): four fixes on a 12 s circle.
inline constexpr double MaxCirclingFixStep = 3; // s
// Sustained climb: the climb over ClimbWindow at least MinSustainedClimb; a
// stretch counts from its lowest to its highest point when that takes at
// least MinClimbDuration and gains at least MinClimbGain.
inline constexpr double ClimbWindow = 20;        // s
inline constexpr double MinSustainedClimb = 0.3; // m/s
inline constexpr double MinClimbDuration = 20;   // s
inline constexpr double MinClimbGain = 10;       // m
} // namespace ThermalRule

// What the thermals of a flight were found from.
enum class ThermalSource {
    Circling,         // circling seen in the GPS course
    ClimbNoPosition,  // sustained climb: the log has no position
    ClimbSparseFixes, // sustained climb: the fixes are too far apart to show circles
};

struct Thermal {
    double start = 0;    // s on the log's axis
    double duration = 0; // s
    double gain = 0;     // m
    double climb = 0;    // m/s, the gain over the duration
    size_t firstSample = 0, lastSample = 0;
    // Where the circles' centre moves: towards degrees from true north, km/h.
    // Absent without enough fixes in the thermal.
    std::optional<double> driftDirection;
    std::optional<double> driftSpeed;
};

struct ThermalFlight {
    ThermalSource source = ThermalSource::ClimbNoPosition;
    std::vector<Thermal> thermals; // in time order
    // Time spent circling (s); with thermals from climb alone, their time.
    double circlingTime = 0;
};

ThermalFlight findThermals(const FlightLog& log);

// The average climb in the thermals (m/s): their gain over their time;
// nothing without a thermal.
std::optional<double> averageThermalClimb(const std::vector<Thermal>& thermals);
// The thermal of the strongest average climb; nothing without a thermal.
std::optional<size_t> bestThermal(const std::vector<Thermal>& thermals);
