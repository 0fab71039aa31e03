#include "flight/flightsummary.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Extreme = FlightSummary::Extreme;

// The first sample where `better` prefers the column's value over all
// others; NaN values (no position, no speed) are passed over.
template <typename Better>
std::optional<Extreme> extreme(const FlightLog& log, const std::vector<float>& column,
                               Better better) {
    std::optional<size_t> best;
    for (size_t i = 0; i < column.size(); ++i)
        if (!std::isnan(column[i]) && (!best || better(column[i], column[*best])))
            best = i;
    if (!best)
        return std::nullopt;
    return Extreme{double(column[*best]), log.axisTime(*best)};
}

std::optional<Extreme> highest(const FlightLog& log, const std::vector<float>& column) {
    return extreme(log, column, [](float a, float b) { return a > b; });
}

std::optional<Extreme> lowest(const FlightLog& log, const std::vector<float>& column) {
    return extreme(log, column, [](float a, float b) { return a < b; });
}

template <auto Member> SummaryValue plain(const FlightSummary& s) {
    return s.*Member;
}

template <auto Member> SummaryValue optionalValue(const FlightSummary& s) {
    const auto& value = s.*Member;
    return value ? SummaryValue(*value) : SummaryValue();
}

// The value or the time of an extreme.
template <auto Member, auto Part> SummaryValue extreme(const FlightSummary& s) {
    const auto& value = s.*Member;
    return value ? SummaryValue((*value).*Part) : SummaryValue();
}

SummaryValue thermalCount(const FlightSummary& s) {
    return qint64(s.thermals.size());
}

template <auto Member> SummaryValue bestThermalValue(const FlightSummary& s) {
    return s.bestThermal ? SummaryValue(s.thermals[*s.bestThermal].*Member) : SummaryValue();
}

template <auto Member> SummaryValue landingValue(const FlightSummary& s) {
    return s.landing ? SummaryValue((*s.landing).*Member) : SummaryValue();
}

SummaryValue firstSkipped(const FlightSummary& s) {
    return s.firstSkippedLine > 0 ? SummaryValue(s.firstSkippedLine) : SummaryValue();
}

using S = FlightSummary;
// Altitudes keep the Duo's tenths; distances whole metres.
constexpr std::array Fields{
    SummaryField{"file", "", "log", 0, plain<&S::logFile>},
    SummaryField{"date", "", "date", 0, plain<&S::logDate>},
    SummaryField{"duration", "s", "logged", 0, plain<&S::duration>},
    SummaryField{"segments", "", nullptr, 0, plain<&S::segments>},
    SummaryField{"dataLines", "", "lines", 0, plain<&S::dataLines>},
    SummaryField{"positionLines", "", nullptr, 0, plain<&S::positionLines>},
    SummaryField{"skippedLines", "", "skip", 0, plain<&S::skippedLines>},
    SummaryField{"firstSkippedLine", "", nullptr, 0, firstSkipped},
    SummaryField{"startAltitude", "m", nullptr, 1, optionalValue<&S::startAltitude>},
    SummaryField{"maxAltitude", "m", "max", 1, extreme<&S::maxAltitude, &Extreme::value>},
    SummaryField{"maxAltitudeTime", "s", nullptr, 0, extreme<&S::maxAltitude, &Extreme::time>},
    SummaryField{"minAltitude", "m", nullptr, 1, extreme<&S::minAltitude, &Extreme::value>},
    SummaryField{"minAltitudeTime", "s", nullptr, 0, extreme<&S::minAltitude, &Extreme::time>},
    SummaryField{"altitudeGain", "m", "gain", 1, optionalValue<&S::altitudeGain>},
    SummaryField{"maxGpsAltitude", "m", nullptr, 0, extreme<&S::maxGpsAltitude, &Extreme::value>},
    SummaryField{"maxGpsAltitudeTime", "s", nullptr, 0,
                 extreme<&S::maxGpsAltitude, &Extreme::time>},
    SummaryField{"maxClimb", "m/s", "climb", 2, extreme<&S::maxClimb, &Extreme::value>},
    SummaryField{"maxClimbTime", "s", nullptr, 0, extreme<&S::maxClimb, &Extreme::time>},
    SummaryField{"maxSink", "m/s", "sink", 2, extreme<&S::maxSink, &Extreme::value>},
    SummaryField{"maxSinkTime", "s", nullptr, 0, extreme<&S::maxSink, &Extreme::time>},
    SummaryField{"maxSpeed", "km/h", "speed", 0, extreme<&S::maxSpeed, &Extreme::value>},
    SummaryField{"maxSpeedTime", "s", nullptr, 0, extreme<&S::maxSpeed, &Extreme::time>},
    SummaryField{"trackDistance", "m", "track", 0, optionalValue<&S::trackDistance>},
    SummaryField{"maxStartDistance", "m", "away", 0,
                 extreme<&S::maxStartDistance, &Extreme::value>},
    SummaryField{"maxStartDistanceTime", "s", nullptr, 0,
                 extreme<&S::maxStartDistance, &Extreme::time>},
    SummaryField{"thermalCount", "", "thermals", 0, thermalCount},
    SummaryField{"circlingShare", "", nullptr, 2, optionalValue<&S::circlingShare>},
    SummaryField{"thermalClimb", "m/s", "thclimb", 2, optionalValue<&S::thermalClimb>},
    SummaryField{"bestThermalClimb", "m/s", nullptr, 2, bestThermalValue<&Thermal::climb>},
    SummaryField{"bestThermalTime", "s", nullptr, 0, bestThermalValue<&Thermal::start>},
    // Six decimals: the log's ten-thousandths of a minute, about 0.2 m.
    SummaryField{"landingLatitude", "°", nullptr, 6, landingValue<&FlightLog::Place::latitude>},
    SummaryField{"landingLongitude", "°", nullptr, 6, landingValue<&FlightLog::Place::longitude>},
};

// Rounded to the field's decimals, trailing zeros dropped, never "-0".
QString measureText(double value, int decimals, const QLocale& locale) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0;
    QString text = locale.toString(rounded, 'f', decimals);
    if (decimals > 0) {
        const QString point = locale.decimalPoint();
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

} // namespace

FlightSummary summarizeFlight(const FlightLog& log) {
    FlightSummary s;
    s.logFile = log.path;
    s.logDate = log.logDate;
    s.segments = qint64(log.segments.size());
    s.dataLines = log.dataLines;
    s.positionLines = log.positionLines;
    s.skippedLines = log.skippedLines;
    s.firstSkippedLine = log.firstSkippedLine;
    for (const FlightLog::Segment& segment : log.segments)
        s.duration += double(log.elapsed[segment.end - 1]) - double(log.elapsed[segment.begin]);
    if (log.empty())
        return s;

    s.startAltitude = log.baroAltitude.front();
    s.maxAltitude = highest(log, log.baroAltitude);
    s.minAltitude = lowest(log, log.baroAltitude);
    s.altitudeGain = s.maxAltitude->value - *s.startAltitude;
    s.maxGpsAltitude = highest(log, log.gpsAltitude);
    // A log that never climbs has no strongest climb, one that never sinks no
    // strongest sink: a negative figure would read as a wrong number.
    if (const auto climb = highest(log, log.climb); climb && climb->value > 0)
        s.maxClimb = climb;
    if (const auto sink = lowest(log, log.climb); sink && sink->value < 0)
        s.maxSink = Extreme{-sink->value, sink->time};
    s.maxSpeed = highest(log, log.speed);
    if (log.positionLines > 0)
        s.trackDistance = log.trackDistance.back();
    s.maxStartDistance = highest(log, log.startDistance);
    s.landing = log.lastPosition;

    ThermalFlight found = findThermals(log);
    s.thermalSource = found.source;
    s.thermals = std::move(found.thermals);
    if (s.duration > 0)
        s.circlingShare = std::min(1.0, found.circlingTime / s.duration);
    s.thermalClimb = averageThermalClimb(s.thermals);
    s.bestThermal = bestThermal(s.thermals);
    return s;
}

std::span<const SummaryField> summaryFields() {
    return Fields;
}

const SummaryField* summaryFieldNamed(std::string_view key) {
    const auto found = std::find_if(Fields.begin(), Fields.end(),
                                    [key](const SummaryField& f) { return f.key == key; });
    return found == Fields.end() ? nullptr : &*found;
}

QString summaryText(const SummaryField& field, const FlightSummary& summary,
                    const QLocale& locale) {
    const SummaryValue value = field.value(summary);
    const bool plainForm = locale == QLocale::c();
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* date = std::get_if<QDateTime>(&value))
        return plainForm ? date->toOffsetFromUtc(date->offsetFromUtc()).toString(Qt::ISODate)
                         : locale.toString(*date, QLocale::ShortFormat);
    if (const auto* count = std::get_if<qint64>(&value))
        return plainForm ? QString::number(*count) : locale.toString(*count);
    if (const auto* measure = std::get_if<double>(&value)) {
        QLocale form = locale;
        if (plainForm)
            form.setNumberOptions(QLocale::OmitGroupSeparator);
        return measureText(*measure, field.decimals, form);
    }
    return QString();
}

QString plainMeasureText(double value, int decimals) {
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return measureText(value, decimals, plain);
}

QString thermalSourceKey(ThermalSource source) {
    switch (source) {
    case ThermalSource::Circling:
        return QStringLiteral("circling");
    case ThermalSource::ClimbNoPosition:
        return QStringLiteral("climbNoPosition");
    case ThermalSource::ClimbSparseFixes:
        return QStringLiteral("climbSparseFixes");
    }
    return QString();
}

std::optional<double> summaryNumber(const SummaryField& field, const FlightSummary& summary) {
    const SummaryValue value = field.value(summary);
    if (const auto* date = std::get_if<QDateTime>(&value))
        return date->isValid() ? std::optional<double>(double(date->toSecsSinceEpoch()))
                               : std::nullopt;
    if (const auto* count = std::get_if<qint64>(&value))
        return double(*count);
    if (const auto* measure = std::get_if<double>(&value))
        return *measure;
    return std::nullopt;
}
