#include "flight/flightseries.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double Radians = std::numbers::pi / 180.0;
} // namespace

GroundPoint::GroundPoint(double latitudeDegrees, double longitudeDegrees)
    : latitude(latitudeDegrees * Radians), longitude(longitudeDegrees * Radians),
      cosLatitude(std::cos(latitude)) {}

double greatCircle(const GroundPoint& a, const GroundPoint& b) {
    const double sinLatitude = std::sin((b.latitude - a.latitude) / 2);
    const double sinLongitude = std::sin((b.longitude - a.longitude) / 2);
    const double h =
        sinLatitude * sinLatitude + a.cosLatitude * b.cosLatitude * sinLongitude * sinLongitude;
    return 2 * EarthRadius * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

LocalMetres localMetres(const GroundPoint& origin, const GroundPoint& p) {
    // The shorter way round, so a track across the date line stays together.
    const double longitude = std::remainder(p.longitude - origin.longitude, 2 * std::numbers::pi);
    return {EarthRadius * longitude * origin.cosLatitude,
            EarthRadius * (p.latitude - origin.latitude)};
}

void TrackLength::add(const GroundPoint& p, size_t segment) {
    if (m_last && segment == m_segment)
        m_distance += greatCircle(*m_last, p);
    m_last = p;
    m_segment = segment;
}

double medianStep(const FlightLog& log) {
    // Steps are counted by length up to an hour; longer ones only in number.
    constexpr size_t Longest = 3600;
    std::vector<qint64> count(Longest + 2, 0);
    qint64 steps = 0;
    for (const FlightLog::Segment& segment : log.segments)
        for (size_t i = segment.begin + 1; i < segment.end; ++i) {
            const qint64 step = qint64(log.elapsed[i]) - log.elapsed[i - 1];
            if (step <= 0)
                continue;
            ++count[size_t(std::min<qint64>(step, Longest + 1))];
            ++steps;
        }
    if (steps == 0)
        return 1;
    qint64 seen = 0;
    for (size_t step = 1; step < count.size(); ++step)
        if ((seen += count[step]) * 2 >= steps)
            return double(step);
    return double(Longest + 1);
}

void placeSegmentsOnAxis(FlightLog& log, double step) {
    double end = 0;
    for (size_t k = 0; k < log.segments.size(); ++k) {
        FlightLog::Segment& segment = log.segments[k];
        segment.axisOffset =
            k == 0 ? 0 : end + SegmentGapSteps * step - double(log.elapsed[segment.begin]);
        end = double(log.elapsed[segment.end - 1]) + segment.axisOffset;
    }
}

qint32 climbHalfWindow(double step) {
    return qint32(std::max<double>(ClimbHalfWindow, std::ceil(step)));
}

void climbRates(const FlightLog& log, const std::vector<qint32>& altitude,
                const FlightLog::Segment& segment, qint32 halfWindow, double unitsPerMetre,
                std::vector<float>& climb) {
    // Sliding sums over the window, in whole numbers: seconds from the
    // segment's start and altitudes as logged, so no rounding builds up and a
    // steady climb gives its rate exactly.
    using Sum = __int128;
    Sum n = 0, st = 0, stt = 0, sy = 0, sty = 0;
    const qint64 origin = log.elapsed[segment.begin];
    auto update = [&](size_t j, int sign) {
        const Sum t = qint64(log.elapsed[j]) - origin;
        const Sum y = altitude[j];
        n += sign;
        st += sign * t;
        stt += sign * t * t;
        sy += sign * y;
        sty += sign * t * y;
    };
    size_t lo = segment.begin, hi = segment.begin;
    for (size_t i = segment.begin; i < segment.end; ++i) {
        const qint64 t = log.elapsed[i];
        for (; hi < segment.end && log.elapsed[hi] <= t + halfWindow; ++hi)
            update(hi, +1);
        for (; log.elapsed[lo] < t - halfWindow; ++lo)
            update(lo, -1);
        const Sum spread = n * stt - st * st;
        const Sum rise = n * sty - st * sy;
        climb[i] = spread == 0 ? 0.0f : float(double(rise) / (double(spread) * unitsPerMetre));
    }
}
