#pragma once

#include "flight/flightlog.h"

#include <cstddef>
#include <optional>

// Finding samples of a log by axis time or by place. Axis time never goes back
// over a log, so the searches by time are binary.

// The first sample at or after the axis time; size() when there is none.
size_t firstSampleFrom(const FlightLog& log, double axisTime);
// The first sample after the axis time; size() when there is none.
size_t firstSampleAfter(const FlightLog& log, double axisTime);
// The sample nearest to the axis time, the earlier one of two as near; the log
// must not be empty.
size_t sampleNearTime(const FlightLog& log, double axisTime);
// Where the track marks a sample: the sample itself when it has a position,
// else the last one before it in its segment that has; nothing when none has.
std::optional<size_t> positionAtOrBefore(const FlightLog& log, size_t sample);
// The sample with a position nearest to the point (m east and north of the
// first position); nothing when no sample has a position.
std::optional<size_t> nearestPositionSample(const FlightLog& log, double east, double north);
