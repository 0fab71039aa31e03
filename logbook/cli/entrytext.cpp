#include "logbook/cli/entrytext.h"

#include <QJsonValue>
#include <QStringList>
#include <cmath>

namespace {

QString metres(const std::optional<double>& value) {
    return value ? QString::number(std::lround(*value)) : QStringLiteral("-");
}

QString decimals(const std::optional<double>& value, int places) {
    return value ? QString::number(*value, 'f', places) : QStringLiteral("-");
}

QJsonValue jsonNumber(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonNumber(const std::optional<qint64>& value) {
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonText(const QString& value) {
    return value.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

// Columns as wide as their widest cell; the columns in `left` left-aligned
// (texts), the others right-aligned (numbers); the last column unpadded.
QString table(const QList<QStringList>& rows, const QList<bool>& left) {
    QList<qsizetype> widths(left.size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const bool last = c + 1 == row.size();
            cells << (left[c] ? (last ? row[c] : row[c].leftJustified(widths[c]))
                              : row[c].rightJustified(widths[c]));
        }
        text += cells.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

QString durationText(double seconds) {
    const qint64 s = std::llround(seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString isoDateText(const QDateTime& date) {
    const QDateTime local = date.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

QString entryTable(const std::vector<LogbookEntry>& entries) {
    QList<QStringList> rows{{"ID", "Date", "Model", "Flight", "Launches", "Log", "Max alt m",
                             "Distance m", "Firmware", "File"}};
    for (const LogbookEntry& e : entries)
        rows << QStringList{QString::number(e.id),
                            e.date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                            e.model.isEmpty() ? QStringLiteral("-") : e.model,
                            durationText(e.flightTime),
                            QString::number(e.launches),
                            durationText(e.logTime),
                            metres(e.maxAltitude),
                            metres(e.trackDistance),
                            firmwareKey(e.firmware),
                            e.fileName};
    return table(rows, {false, true, true, false, false, false, false, false, true, true});
}

QString totalsTable(const std::vector<LogbookTotals>& totals, const QString& keyHeading) {
    QList<QStringList> rows{
        {keyHeading, "Flights", "Launches", "Flight", "Log", "Max alt m", "Distance km"}};
    for (const LogbookTotals& t : totals)
        rows << QStringList{t.key.isEmpty() ? QStringLiteral("-") : t.key,
                            QString::number(t.flights),
                            QString::number(t.launches),
                            durationText(t.flightTime),
                            durationText(t.logTime),
                            metres(t.maxAltitude),
                            QString::number(t.trackDistance / 1000, 'f', 1)};
    return table(rows, {true, false, false, false, false, false, false});
}

QString entryDetails(const LogbookEntry& e) {
    const QList<std::pair<const char*, QString>> lines = {
        {"id", QString::number(e.id)},
        {"file", e.fileName},
        {"date", isoDateText(e.date)},
        {"fileDate", isoDateText(e.fileDate)},
        {"model", e.model},
        {"site", e.site},
        {"note", e.note},
        {"firmware", firmwareKey(e.firmware)},
        {"flightTime", durationText(e.flightTime)},
        {"launches", QString::number(e.launches)},
        {"logTime", durationText(e.logTime)},
        {"segments", QString::number(e.segments)},
        {"dataLines", QString::number(e.dataLines)},
        {"positionLines", QString::number(e.positionLines)},
        {"skippedLines", QString::number(e.skippedLines)},
        {"startAltitude", metres(e.startAltitude) + QStringLiteral(" m")},
        {"maxAltitude", metres(e.maxAltitude) + QStringLiteral(" m")},
        {"minAltitude", metres(e.minAltitude) + QStringLiteral(" m")},
        {"altitudeGain", metres(e.altitudeGain) + QStringLiteral(" m")},
        {"maxGpsAltitude", metres(e.maxGpsAltitude) + QStringLiteral(" m")},
        {"maxClimb", decimals(e.maxClimb, 1) + QStringLiteral(" m/s")},
        {"maxSink", decimals(e.maxSink, 1) + QStringLiteral(" m/s")},
        {"maxSpeed", metres(e.maxSpeed) + QStringLiteral(" km/h")},
        {"trackDistance", metres(e.trackDistance) + QStringLiteral(" m")},
        {"maxStartDistance", metres(e.maxStartDistance) + QStringLiteral(" m")},
        {"thermalCount", e.thermalCount ? QString::number(*e.thermalCount) : QStringLiteral("-")},
        {"circlingShare", decimals(e.circlingShare, 2)},
        {"thermalClimb", decimals(e.thermalClimb, 1) + QStringLiteral(" m/s")},
        {"bestThermalClimb", decimals(e.bestThermalClimb, 1) + QStringLiteral(" m/s")},
        {"bestThermalGain", metres(e.bestThermalGain) + QStringLiteral(" m")},
        {"thermalSource", e.thermalSource.isEmpty() ? QStringLiteral("-") : e.thermalSource},
        {"fileSize", QString::number(e.fileSize)},
        {"sha256", e.sha256},
        {"importedAt", isoDateText(e.importedAt)},
    };
    QString text;
    for (const auto& [name, value] : lines)
        text += QLatin1String(name) + QStringLiteral(": ") + value + QLatin1Char('\n');
    return text;
}

QJsonObject entryJson(const LogbookEntry& e) {
    return QJsonObject{
        {"id", e.id},
        {"file", e.fileName},
        {"date", isoDateText(e.date)},
        {"fileDate", isoDateText(e.fileDate)},
        {"model", e.model},
        {"site", e.site},
        {"note", e.note},
        {"firmware", firmwareKey(e.firmware)},
        {"flightTime", e.flightTime},
        {"launches", e.launches},
        {"logTime", e.logTime},
        {"segments", e.segments},
        {"dataLines", e.dataLines},
        {"positionLines", e.positionLines},
        {"skippedLines", e.skippedLines},
        {"startAltitude", jsonNumber(e.startAltitude)},
        {"maxAltitude", jsonNumber(e.maxAltitude)},
        {"minAltitude", jsonNumber(e.minAltitude)},
        {"altitudeGain", jsonNumber(e.altitudeGain)},
        {"maxGpsAltitude", jsonNumber(e.maxGpsAltitude)},
        {"maxClimb", jsonNumber(e.maxClimb)},
        {"maxSink", jsonNumber(e.maxSink)},
        {"maxSpeed", jsonNumber(e.maxSpeed)},
        {"trackDistance", jsonNumber(e.trackDistance)},
        {"maxStartDistance", jsonNumber(e.maxStartDistance)},
        {"thermalCount", jsonNumber(e.thermalCount)},
        {"circlingShare", jsonNumber(e.circlingShare)},
        {"thermalClimb", jsonNumber(e.thermalClimb)},
        {"bestThermalClimb", jsonNumber(e.bestThermalClimb)},
        {"bestThermalGain", jsonNumber(e.bestThermalGain)},
        {"thermalSource", jsonText(e.thermalSource)},
        {"fileSize", e.fileSize},
        {"sha256", e.sha256},
        {"importedAt", isoDateText(e.importedAt)},
    };
}

QJsonObject totalsJson(const LogbookTotals& t) {
    // Sums carry the noise of binary fractions (68213.54899999998 m): to the
    // millisecond and millimetre, as the CSV export writes them.
    const auto thousandths = [](double value) { return std::round(value * 1000) / 1000; };
    return QJsonObject{{"key", t.key},
                       {"flights", t.flights},
                       {"launches", t.launches},
                       {"flightTime", thousandths(t.flightTime)},
                       {"logTime", thousandths(t.logTime)},
                       {"maxAltitude", jsonNumber(t.maxAltitude)},
                       {"trackDistance", thousandths(t.trackDistance)}};
}
