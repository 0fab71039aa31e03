#include "flight/readingtext.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

// Distances along the ground, as against heights (also in metres).
bool isDistanceField(const SummaryField& field) {
    const std::string_view key = field.key;
    return key == "trackDistance" || key == "maxStartDistance";
}

QString duration(double seconds) {
    const qint64 whole = std::llround(std::abs(seconds));
    return QStringLiteral("%1%2:%3:%4")
        .arg(seconds < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString readingText(double value, const char* unit, int decimals, bool distance,
                    const QLocale& locale, bool single) {
    if (std::isnan(value))
        return QString();
    QLocale form = locale;
    form.setNumberOptions(QLocale::OmitGroupSeparator);
    const std::string_view u = unit;
    if (u == "s" && !(single && std::abs(value) < 60))
        return duration(value);
    if (u == "m" && distance && !(single && std::abs(value) < 1000))
        return form.toString(value / 1000, 'f', 2);
    return form.toString(value, 'f', decimals);
}

QString readingUnit(const char* unit, bool distance) {
    const std::string_view u = unit;
    if (u == "s")
        return QStringLiteral("h:mm:ss");
    if (u == "m" && distance)
        return QStringLiteral("km");
    return QString::fromUtf8(unit);
}

QString summaryReading(const SummaryField& field, const FlightSummary& summary,
                       const QLocale& locale) {
    const SummaryValue value = field.value(summary);
    if (const auto* count = std::get_if<qint64>(&value))
        return QString::number(*count);
    if (const auto* measure = std::get_if<double>(&value))
        return readingText(*measure, field.unit, field.decimals, isDistanceField(field), locale);
    return summaryText(field, summary, locale);
}

QString summaryReadingUnit(const SummaryField& field) {
    return readingUnit(field.unit, isDistanceField(field));
}
