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

SummaryValue firstSkipped(const FlightSummary& s) {
    return s.firstSkippedLine > 0 ? SummaryValue(s.firstSkippedLine) : SummaryValue();
}

using S = FlightSummary;
// Altitudes keep the Duo's tenths; distances whole metres.
constexpr std::array Fields{
    SummaryField{"file", "Logdatei", "Log file", "", "log", 0, plain<&S::logFile>},
    SummaryField{"date", "Logdatum", "Log date", "", "date", 0, plain<&S::logDate>},
    SummaryField{"duration", "Dauer", "Duration", "s", "flight", 0, plain<&S::duration>},
    SummaryField{"segments", "Abschnitte", "Segments", "", nullptr, 0, plain<&S::segments>},
    SummaryField{"dataLines", "Datenzeilen", "Data lines", "", "lines", 0, plain<&S::dataLines>},
    SummaryField{"positionLines", "Zeilen mit Position", "Lines with position", "", nullptr, 0,
                 plain<&S::positionLines>},
    SummaryField{"skippedLines", "Übersprungene Zeilen", "Skipped lines", "", "skip", 0,
                 plain<&S::skippedLines>},
    SummaryField{"firstSkippedLine", "Erste übersprungene Zeile", "First skipped line", "", nullptr,
                 0, firstSkipped},
    SummaryField{"startAltitude", "Starthöhe", "Start altitude", "m", nullptr, 1,
                 optionalValue<&S::startAltitude>},
    SummaryField{"maxAltitude", "Größte Höhe", "Maximum altitude", "m", "max", 1,
                 extreme<&S::maxAltitude, &Extreme::value>},
    SummaryField{"maxAltitudeTime", "Zeit der größten Höhe", "Time of maximum altitude", "s",
                 nullptr, 0, extreme<&S::maxAltitude, &Extreme::time>},
    SummaryField{"minAltitude", "Kleinste Höhe", "Minimum altitude", "m", nullptr, 1,
                 extreme<&S::minAltitude, &Extreme::value>},
    SummaryField{"minAltitudeTime", "Zeit der kleinsten Höhe", "Time of minimum altitude", "s",
                 nullptr, 0, extreme<&S::minAltitude, &Extreme::time>},
    SummaryField{"altitudeGain", "Höhengewinn", "Altitude gain", "m", "gain", 1,
                 optionalValue<&S::altitudeGain>},
    SummaryField{"maxGpsAltitude", "Größte GPS-Höhe", "Maximum GPS altitude", "m", nullptr, 0,
                 extreme<&S::maxGpsAltitude, &Extreme::value>},
    SummaryField{"maxGpsAltitudeTime", "Zeit der größten GPS-Höhe", "Time of maximum GPS altitude",
                 "s", nullptr, 0, extreme<&S::maxGpsAltitude, &Extreme::time>},
    SummaryField{"maxClimb", "Stärkstes Steigen", "Maximum climb", "m/s", "climb", 2,
                 extreme<&S::maxClimb, &Extreme::value>},
    SummaryField{"maxClimbTime", "Zeit des stärksten Steigens", "Time of maximum climb", "s",
                 nullptr, 0, extreme<&S::maxClimb, &Extreme::time>},
    SummaryField{"maxSink", "Stärkstes Sinken", "Maximum sink", "m/s", "sink", 2,
                 extreme<&S::maxSink, &Extreme::value>},
    SummaryField{"maxSinkTime", "Zeit des stärksten Sinkens", "Time of maximum sink", "s", nullptr,
                 0, extreme<&S::maxSink, &Extreme::time>},
    SummaryField{"maxSpeed", "Höchstgeschwindigkeit", "Maximum speed", "km/h", "speed", 0,
                 extreme<&S::maxSpeed, &Extreme::value>},
    SummaryField{"maxSpeedTime", "Zeit der Höchstgeschwindigkeit", "Time of maximum speed", "s",
                 nullptr, 0, extreme<&S::maxSpeed, &Extreme::time>},
    SummaryField{"trackDistance", "Streckenlänge", "Track distance", "m", "track", 0,
                 optionalValue<&S::trackDistance>},
    SummaryField{"maxStartDistance", "Größte Entfernung vom Start",
                 "Greatest distance from the start", "m", "away", 0,
                 extreme<&S::maxStartDistance, &Extreme::value>},
    SummaryField{"maxStartDistanceTime", "Zeit der größten Entfernung", "Time of greatest distance",
                 "s", nullptr, 0, extreme<&S::maxStartDistance, &Extreme::time>},
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
    s.maxClimb = highest(log, log.climb);
    if ((s.maxSink = lowest(log, log.climb)))
        s.maxSink->value = -s.maxSink->value;
    s.maxSpeed = highest(log, log.speed);
    if (log.positionLines > 0)
        s.trackDistance = log.trackDistance.back();
    s.maxStartDistance = highest(log, log.startDistance);
    return s;
}

QString SummaryField::caption(qint32 language) const {
    return QString::fromUtf8(language == 1 ? english : german);
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
