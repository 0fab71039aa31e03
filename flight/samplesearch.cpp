#include "flight/samplesearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The first sample whose axis time makes `before` false: segment by segment,
// then within the segment, where the logged seconds never go back.
template <typename Before> size_t partitionPoint(const FlightLog& log, Before before) {
    const auto& segments = log.segments;
    const auto segment =
        std::partition_point(segments.begin(), segments.end(), [&](const FlightLog::Segment& s) {
            return s.end > s.begin && before(log.elapsed[s.end - 1] + s.axisOffset);
        });
    if (segment == segments.end())
        return log.size();
    const auto first = log.elapsed.begin() + std::ptrdiff_t(segment->begin);
    const auto last = log.elapsed.begin() + std::ptrdiff_t(segment->end);
    const double offset = segment->axisOffset;
    return size_t(std::partition_point(first, last,
                                       [&](qint32 elapsed) { return before(elapsed + offset); }) -
                  log.elapsed.begin());
}

} // namespace

size_t firstSampleFrom(const FlightLog& log, double axisTime) {
    return partitionPoint(log, [axisTime](double t) { return t < axisTime; });
}

size_t firstSampleAfter(const FlightLog& log, double axisTime) {
    return partitionPoint(log, [axisTime](double t) { return t <= axisTime; });
}

size_t sampleNearTime(const FlightLog& log, double axisTime) {
    const size_t after = firstSampleFrom(log, axisTime);
    if (after == 0)
        return 0;
    if (after == log.size())
        return log.size() - 1;
    const size_t before = after - 1;
    return axisTime - log.axisTime(before) <= log.axisTime(after) - axisTime ? before : after;
}

std::optional<size_t> positionAtOrBefore(const FlightLog& log, size_t sample) {
    const size_t begin = log.segmentOf(sample).begin;
    for (size_t i = sample + 1; i-- > begin;)
        if (!std::isnan(log.east[i]))
            return i;
    return std::nullopt;
}

std::optional<size_t> nearestPositionSample(const FlightLog& log, double east, double north) {
    std::optional<size_t> nearest;
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < log.size(); ++i) {
        const double de = log.east[i] - east;
        const double dn = log.north[i] - north;
        const double squared = de * de + dn * dn; // NaN without a position: never less
        if (squared < best) {
            best = squared;
            nearest = i;
        }
    }
    return nearest;
}
