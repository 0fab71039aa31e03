#pragma once

#include "flight/flightlog.h"

#include <cstddef>
#include <optional>
#include <vector>

// The arithmetic behind the derived series of a FlightLog.

// Mean earth radius of the distances (m): a sphere, as haversine assumes.
inline constexpr double EarthRadius = 6371000.0;

// A position in radians, with the cosine of its latitude worked out once.
struct GroundPoint {
    GroundPoint(double latitudeDegrees, double longitudeDegrees);
    double latitude, longitude, cosLatitude;
};

// Great-circle distance (haversine) in metres.
double greatCircle(const GroundPoint& a, const GroundPoint& b);

// East and north metres of `p` around `origin`, a local equirectangular
// projection: true to a few metres over the few kilometres of a flight.
struct LocalMetres {
    double east, north;
};
LocalMetres localMetres(const GroundPoint& origin, const GroundPoint& p);

// The length along successive positions, summed in double precision so a long
// track does not lose its last metres. Legs join positions of one segment only.
class TrackLength {
  public:
    void add(const GroundPoint& p, size_t segment);
    double distance() const { return m_distance; }

  private:
    std::optional<GroundPoint> m_last;
    size_t m_segment = 0;
    double m_distance = 0;
};

// The log's usual step (s): the median of its forward steps, 1 without any.
double medianStep(const FlightLog& log);

// Puts the segments one after another on the shared axis: the first keeps the
// logged seconds, each later one starts SegmentGapSteps usual steps after the
// end of the one before, a gap a plot shows as such.
inline constexpr double SegmentGapSteps = 10;
void placeSegmentsOnAxis(FlightLog& log, double step);

// The climb rate (m/s) of each sample of the segment: the least-squares slope
// of the altitude over the samples within `halfWindow` seconds either side,
// within the segment; 0 where the window holds a single second. `altitude`
// holds the whole numbers as logged (summed exactly), `unitsPerMetre` is 10
// for tenths.
// The half window: ClimbHalfWindow seconds, and at least one usual step so
// that a sparse log still sees its neighbours.
inline constexpr qint32 ClimbHalfWindow = 2;
qint32 climbHalfWindow(double step);
void climbRates(const FlightLog& log, const std::vector<qint32>& altitude,
                const FlightLog::Segment& segment, qint32 halfWindow, double unitsPerMetre,
                std::vector<float>& climb);
