#pragma once

#include "flight/flightlog.h"

#include <cstddef>
#include <optional>

// How a thermal drifts: the movement of its circles' centre.
struct Drift {
    double direction; // degrees from true north the centre moves towards, 0 to 360
    double speed;     // km/h
};

// The drift over the fixes of samples first..last (inclusive): a least-squares
// fit of each coordinate to a straight movement plus, when `circling` (rad/s,
// signed) is not 0, a circle of that rate, which a straight fit alone would
// mistake for movement over a few circles. Nothing with fewer than three fixes
// or all of them at one time.
std::optional<Drift> fitDrift(const FlightLog& log, size_t first, size_t last, double circling);
