#include "flight/thermals.h"

#include "flight/driftfit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using namespace ThermalRule;

constexpr double DegreesPerRadian = 180 / std::numbers::pi;

bool hasFix(const FlightLog& log, size_t i) {
    return !std::isnan(log.east[i]);
}

// Whether the fixes mostly come close enough to show circles: the median
// step from one fix to the next within a segment at most MaxCirclingFixStep,
// counted rather than sorted, so a long log needs no copy of its steps.
bool fixesShowCircles(const FlightLog& log) {
    qint64 close = 0, far = 0;
    for (const FlightLog::Segment& segment : log.segments) {
        std::optional<size_t> previous;
        for (size_t i = segment.begin; i < segment.end; ++i) {
            if (!hasFix(log, i))
                continue;
            if (previous && log.elapsed[i] > log.elapsed[*previous])
                ++(log.elapsed[i] - log.elapsed[*previous] <= MaxCirclingFixStep ? close : far);
            previous = i;
        }
    }
    return close > far;
}

void addThermal(const FlightLog& log, size_t first, size_t last, double circling,
                std::vector<Thermal>& thermals) {
    Thermal thermal;
    thermal.firstSample = first;
    thermal.lastSample = last;
    thermal.start = log.axisTime(first);
    thermal.duration = log.axisTime(last) - thermal.start;
    thermal.gain = double(log.baroAltitude[last]) - double(log.baroAltitude[first]);
    thermal.climb = thermal.duration > 0 ? thermal.gain / thermal.duration : 0;
    if (const auto drift = fitDrift(log, first, last, circling)) {
        thermal.driftDirection = drift->direction;
        thermal.driftSpeed = drift->speed;
    }
    thermals.push_back(thermal);
}

// Circling in the course between the fixes of one segment.
class CirclingFinder {
  public:
    CirclingFinder(const FlightLog& log, ThermalFlight& flight) : m_log(log), m_flight(flight) {}

    void segment(const FlightLog::Segment& segment) {
        // A fix that gives no leg (too slow, after a gap) leaves a pause in
        // the turns; only a pause longer than MaxTurnGap ends circling.
        std::optional<Leg> previous;
        std::optional<size_t> lastFix;
        for (size_t i = segment.begin; i < segment.end; ++i) {
            if (!hasFix(m_log, i))
                continue;
            const std::optional<Leg> leg = lastFix ? legBetween(*lastFix, i) : std::nullopt;
            lastFix = i;
            if (leg && previous && previous->to == leg->from)
                turn(*previous, *leg);
            previous = leg;
        }
        close();
    }

  private:
    struct Leg {
        size_t from, to;
        double middle; // axis time
        double course; // radians from north
    };

    std::optional<Leg> legBetween(size_t from, size_t to) const {
        const double east = double(m_log.east[to]) - m_log.east[from];
        const double north = double(m_log.north[to]) - m_log.north[from];
        const double start = m_log.axisTime(from), end = m_log.axisTime(to);
        if (end <= start || end - start > MaxFixGap ||
            std::hypot(east, north) < MinLegSpeed * (end - start))
            return std::nullopt;
        return Leg{from, to, (start + end) / 2, std::atan2(east, north)};
    }

    void turn(const Leg& in, const Leg& out) {
        double turned = out.course - in.course;
        turned = std::remainder(turned, 2 * std::numbers::pi);
        const double rate = turned / (out.middle - in.middle) * DegreesPerRadian;
        const double time = m_log.axisTime(in.to);
        // Faster than any glider circles: the receiver's scatter, not a turn.
        if (std::abs(rate) > MaxTurnRate) {
            close();
            return;
        }
        if (m_open && time - m_lastStrong > MaxTurnGap)
            close();
        const int sign = rate > 0 ? 1 : -1;
        // A slack turn, or one the other way as the scatter of a fix makes
        // it, pauses the circling; only a pause longer than MaxTurnGap ends it.
        if (std::abs(rate) < MinTurnRate || (m_open && sign != m_sign)) {
            if (m_open)
                m_pending += turned;
            return;
        }
        if (!m_open) {
            m_open = true;
            m_sign = sign;
            m_first = in.to;
            m_turned = 0;
            m_pending = 0;
            m_begin = in.middle;
        }
        m_turned += m_pending + turned;
        m_pending = 0;
        m_last = in.to;
        m_end = out.middle;
        m_lastStrong = time;
    }

    void close() {
        if (!m_open)
            return;
        m_open = false;
        if (std::abs(m_turned) * DegreesPerRadian < MinCircledTurn)
            return;
        m_flight.circlingTime += m_log.axisTime(m_last) - m_log.axisTime(m_first);
        if (double(m_log.baroAltitude[m_last]) - m_log.baroAltitude[m_first] < MinCirclingGain)
            return;
        // The turns are measured between leg middles: their time gives the rate.
        addThermal(m_log, m_first, m_last, m_turned / (m_end - m_begin), m_flight.thermals);
    }

    const FlightLog& m_log;
    ThermalFlight& m_flight;
    bool m_open = false;
    int m_sign = 0;
    size_t m_first = 0, m_last = 0;
    double m_turned = 0, m_pending = 0; // radians
    double m_begin = 0, m_end = 0, m_lastStrong = 0;
};

// Sustained climb within one segment, for logs whose fixes cannot show circles.
void findClimbs(const FlightLog& log, const FlightLog::Segment& segment, ThermalFlight& flight) {
    std::vector<bool> climbing(segment.end - segment.begin);
    size_t low = segment.begin, high = segment.begin;
    for (size_t i = segment.begin; i < segment.end; ++i) {
        const double t = log.elapsed[i];
        while (log.elapsed[low] < t - ClimbWindow / 2)
            ++low;
        while (high + 1 < segment.end && log.elapsed[high + 1] <= t + ClimbWindow / 2)
            ++high;
        const double span = double(log.elapsed[high]) - log.elapsed[low];
        climbing[i - segment.begin] =
            span >= ClimbWindow / 2 &&
            (double(log.baroAltitude[high]) - log.baroAltitude[low]) / span >= MinSustainedClimb;
    }
    size_t earliest = segment.begin; // no thermal reaches back into the one before
    for (size_t i = segment.begin; i < segment.end;) {
        if (!climbing[i - segment.begin]) {
            ++i;
            continue;
        }
        size_t runEnd = i;
        while (runEnd + 1 < segment.end && climbing[runEnd + 1 - segment.begin])
            ++runEnd;
        // The averaged climb and the climb itself differ by up to half a window
        // at either end: the thermal runs from the lowest point there before
        // the highest one.
        const auto& altitude = log.baroAltitude;
        size_t from = i, to = runEnd;
        while (from > earliest && log.elapsed[from - 1] >= log.elapsed[i] - ClimbWindow / 2)
            --from;
        while (to + 1 < segment.end && log.elapsed[to + 1] <= log.elapsed[runEnd] + ClimbWindow / 2)
            ++to;
        const auto top = std::max_element(altitude.begin() + std::ptrdiff_t(from),
                                          altitude.begin() + std::ptrdiff_t(to) + 1);
        const size_t last = size_t(top - altitude.begin());
        size_t first = from;
        for (size_t k = from; k <= last; ++k)
            if (altitude[k] <= altitude[first])
                first = k;
        if (log.axisTime(last) - log.axisTime(first) >= MinClimbDuration &&
            double(altitude[last]) - altitude[first] >= MinClimbGain) {
            addThermal(log, first, last, 0, flight.thermals);
            flight.circlingTime += flight.thermals.back().duration;
            earliest = last;
        }
        i = std::max(runEnd, last) + 1;
    }
}

} // namespace

ThermalFlight findThermals(const FlightLog& log) {
    ThermalFlight flight;
    if (log.positionLines == 0)
        flight.source = ThermalSource::ClimbNoPosition;
    else if (!fixesShowCircles(log))
        flight.source = ThermalSource::ClimbSparseFixes;
    else
        flight.source = ThermalSource::Circling;
    if (flight.source == ThermalSource::Circling) {
        CirclingFinder finder(log, flight);
        for (const FlightLog::Segment& segment : log.segments)
            finder.segment(segment);
    } else {
        for (const FlightLog::Segment& segment : log.segments)
            findClimbs(log, segment, flight);
    }
    return flight;
}

std::optional<double> averageThermalClimb(const std::vector<Thermal>& thermals) {
    double gain = 0, time = 0;
    for (const Thermal& thermal : thermals) {
        gain += thermal.gain;
        time += thermal.duration;
    }
    if (thermals.empty() || time <= 0)
        return std::nullopt;
    return gain / time;
}

std::optional<size_t> bestThermal(const std::vector<Thermal>& thermals) {
    if (thermals.empty())
        return std::nullopt;
    const auto best =
        std::max_element(thermals.begin(), thermals.end(),
                         [](const Thermal& a, const Thermal& b) { return a.climb < b.climb; });
    return size_t(best - thermals.begin());
}
