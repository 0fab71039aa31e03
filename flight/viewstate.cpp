#include "flight/viewstate.h"

#include "flight/samplesearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The narrowest range a zoom goes to (s).
constexpr double NarrowestRange = 2;
// The share of the value span left free above and below the curves.
constexpr double ValueMargin = 0.04;
// The barometric climb from the first sample that ends the ground phase (m).
constexpr float ClimbBegins = 5;
// Fixes taken for the start when the climb begins before any.
constexpr size_t StartFixes = 10;

} // namespace

const std::array<FlightViewState::QuantityRow, FlightViewState::QuantityCount>&
FlightViewState::quantities() {
    static const std::array<QuantityRow, QuantityCount> rows = {{
        {ViewText::BaroAltitude, AltitudePlot, &FlightLog::baroAltitude, 1, false},
        {ViewText::GpsAltitude, AltitudePlot, &FlightLog::gpsAltitude, 1, true},
        {ViewText::Climb, ClimbPlot, &FlightLog::climb, 1, false},
        {ViewText::Speed, SpeedPlot, &FlightLog::speed, 0, false},
        {ViewText::TrackDistance, NoPlot, &FlightLog::trackDistance, 0, false},
        {ViewText::StartDistance, NoPlot, &FlightLog::startDistance, 0, false},
    }};
    return rows;
}

FlightViewState::FlightViewState(std::vector<FlightLog> logs)
    : m_logs(std::move(logs)), m_logHidden(m_logs.size(), false) {
    for (const FlightLog& log : m_logs) {
        m_summaries.push_back(summarizeFlight(log));
        // A kept copy's path names only its hash; the pilot knows its name.
        if (log.isRenamedCopy())
            m_summaries.back().logFile = log.name;
    }
    m_fullFrom = std::numeric_limits<double>::infinity();
    m_fullTo = -m_fullFrom;
    for (size_t i = 0; i < m_logs.size(); ++i) {
        const FlightLog& log = m_logs[i];
        m_fullFrom = std::min(m_fullFrom, log.axisTime(0) + shiftOf(i));
        m_fullTo = std::max(m_fullTo, log.axisTime(log.size() - 1) + shiftOf(i));
    }
    if (m_fullTo - m_fullFrom < NarrowestRange)
        m_fullTo = m_fullFrom + NarrowestRange;
    m_from = m_fullFrom;
    m_to = m_fullTo;
    m_cursor = m_fullFrom;
    for (const FlightLog& log : m_logs) {
        const double start = gpsStartAltitude(log);
        std::vector<float> over(log.gpsAltitude);
        for (float& value : over)
            value = float(value - start);
        m_gpsOverStart.push_back(std::move(over));
    }
    m_shown.fill(true);
    m_shown[Speed] = hasValues(Speed);
}

double FlightViewState::shiftOf(size_t log) const {
    return several() ? -m_logs[log].axisTime(0) : 0;
}

void FlightViewState::setRange(double from, double to) {
    const double full = m_fullTo - m_fullFrom;
    const double width = std::clamp(to - from, std::min(NarrowestRange, full), full);
    from = std::clamp(from, m_fullFrom, m_fullTo - width);
    m_from = from;
    m_to = from + width;
}

void FlightViewState::zoomAbout(double time, double factor) {
    setRange(time - (time - m_from) * factor, time + (m_to - time) * factor);
}

void FlightViewState::panTo(double time) {
    if (time >= m_from && time <= m_to)
        return;
    const double width = m_to - m_from;
    setRange(time - width / 2, time + width / 2);
}

bool FlightViewState::setCurrentLog(size_t log) {
    if (log >= m_logs.size())
        return false;
    m_current = log;
    return true;
}

void FlightViewState::toggleLegendEntry(size_t log, Quantity quantity) {
    if (several())
        m_logHidden[log] = !m_logHidden[log];
    else
        m_shown[quantity] = !m_shown[quantity];
}

bool FlightViewState::curveVisible(size_t log, Quantity quantity) const {
    return m_shown[quantity] && !m_logHidden[log];
}

bool FlightViewState::legendEntryDimmed(size_t log, Quantity quantity) const {
    return several() ? bool(m_logHidden[log]) : !m_shown[quantity];
}

bool FlightViewState::plotShown(Plot plot) const {
    for (int q = 0; q < PlottedCount; ++q)
        if (quantities()[q].plot == plot && m_shown[q])
            return true;
    return false;
}

const std::vector<float>& FlightViewState::plotted(size_t log, Quantity quantity) const {
    if (quantity == GpsAltitude)
        return m_gpsOverStart[log];
    return m_logs[log].*quantities()[quantity].column;
}

double FlightViewState::gpsStartAltitude(const FlightLog& log) {
    std::vector<float> ground, first;
    const float startBaro = log.empty() ? 0 : log.baroAltitude.front();
    bool climbing = false;
    for (size_t i = 0; i < log.size(); ++i) {
        climbing = climbing || log.baroAltitude[i] - startBaro > ClimbBegins;
        const float gps = log.gpsAltitude[i];
        if (std::isnan(gps))
            continue;
        if (!climbing)
            ground.push_back(gps);
        if (first.size() < StartFixes)
            first.push_back(gps);
    }
    std::vector<float>& fixes = ground.empty() ? first : ground;
    if (fixes.empty())
        return std::numeric_limits<double>::quiet_NaN();
    const auto middle = fixes.begin() + fixes.size() / 2;
    std::nth_element(fixes.begin(), middle, fixes.end());
    return *middle;
}

bool FlightViewState::hasValues(Quantity quantity) const {
    const auto column = quantities()[quantity].column;
    return std::any_of(m_logs.begin(), m_logs.end(), [column](const FlightLog& log) {
        const std::vector<float>& values = log.*column;
        return std::any_of(values.begin(), values.end(), [](float v) { return !std::isnan(v); });
    });
}

std::pair<double, double> FlightViewState::valueRange(Plot plot, double low, double high) {
    const bool zeroLine = plot != AltitudePlot;
    const double margin = high > low ? (high - low) * ValueMargin : 0.5;
    low = zeroLine && low >= 0 ? 0.0 : low - margin;
    high = zeroLine && high <= 0 ? 0.0 : high + margin;
    if (!std::isfinite(low) || !std::isfinite(high))
        return {0, 1};
    return {low, high};
}

bool FlightViewState::during(size_t log, double axisTime) const {
    const FlightLog& flight = m_logs[log];
    return axisTime >= flight.axisTime(0) && axisTime <= flight.axisTime(flight.size() - 1);
}

std::vector<FlightViewState::ReadoutLine> FlightViewState::readout() const {
    std::vector<size_t> order{m_current};
    for (size_t log = 0; log < m_logs.size(); ++log)
        if (log != m_current)
            order.push_back(log);
    std::vector<ReadoutLine> lines;
    for (size_t log : order) {
        ReadoutLine line{log, std::nullopt};
        const double time = m_cursor - shiftOf(log);
        if (during(log, time)) {
            const FlightLog& flight = m_logs[log];
            const size_t i = sampleNearTime(flight, time);
            line.sample = i;
            line.time = flight.axisTime(i) + shiftOf(log);
            for (int q = 0; q < QuantityCount; ++q)
                line.values[q] = (flight.*quantities()[q].column)[i];
        }
        lines.push_back(line);
    }
    return lines;
}

std::optional<size_t> FlightViewState::trackCursor() const {
    const FlightLog& log = m_logs[m_current];
    const double own = m_cursor - shiftOf(m_current);
    if (!during(m_current, own))
        return std::nullopt;
    return positionAtOrBefore(log, sampleNearTime(log, own));
}
