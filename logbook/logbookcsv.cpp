#include "logbook/logbookcsv.h"

#include "core/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <functional>

namespace {

QString number(double value) {
    // Up to a millimetre or a millisecond; no exponent, '.' as decimal point.
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString optionalNumber(const std::optional<double>& value) {
    return value ? number(*value) : QString();
}

QString optionalCount(const std::optional<qint64>& value) {
    return value ? QString::number(*value) : QString();
}

QString isoDate(const QDateTime& date) {
    const QDateTime local = date.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

// A text field quoted when it holds what would end it.
QString text(const QString& value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

struct Column {
    const char* heading;
    std::function<QString(const LogbookEntry&)> value;
};

const std::vector<Column>& columns() {
    static const std::vector<Column> table = {
        {"id", [](const LogbookEntry& e) { return QString::number(e.id); }},
        {"date", [](const LogbookEntry& e) { return isoDate(e.date); }},
        {"fileDate", [](const LogbookEntry& e) { return isoDate(e.fileDate); }},
        {"file", [](const LogbookEntry& e) { return text(e.fileName); }},
        {"sha256", [](const LogbookEntry& e) { return e.sha256; }},
        {"fileSize", [](const LogbookEntry& e) { return QString::number(e.fileSize); }},
        {"importedAt", [](const LogbookEntry& e) { return isoDate(e.importedAt); }},
        {"firmware", [](const LogbookEntry& e) { return firmwareKey(e.firmware); }},
        {"model", [](const LogbookEntry& e) { return text(e.model); }},
        {"site", [](const LogbookEntry& e) { return text(e.site); }},
        {"note", [](const LogbookEntry& e) { return text(e.note); }},
        {"flightTime", [](const LogbookEntry& e) { return number(e.flightTime); }},
        {"launches", [](const LogbookEntry& e) { return QString::number(e.launches); }},
        {"logTime", [](const LogbookEntry& e) { return number(e.logTime); }},
        {"segments", [](const LogbookEntry& e) { return QString::number(e.segments); }},
        {"dataLines", [](const LogbookEntry& e) { return QString::number(e.dataLines); }},
        {"positionLines", [](const LogbookEntry& e) { return QString::number(e.positionLines); }},
        {"skippedLines", [](const LogbookEntry& e) { return QString::number(e.skippedLines); }},
        {"startAltitude", [](const LogbookEntry& e) { return optionalNumber(e.startAltitude); }},
        {"maxAltitude", [](const LogbookEntry& e) { return optionalNumber(e.maxAltitude); }},
        {"minAltitude", [](const LogbookEntry& e) { return optionalNumber(e.minAltitude); }},
        {"altitudeGain", [](const LogbookEntry& e) { return optionalNumber(e.altitudeGain); }},
        {"maxGpsAltitude", [](const LogbookEntry& e) { return optionalNumber(e.maxGpsAltitude); }},
        {"maxClimb", [](const LogbookEntry& e) { return optionalNumber(e.maxClimb); }},
        {"maxSink", [](const LogbookEntry& e) { return optionalNumber(e.maxSink); }},
        {"maxSpeed", [](const LogbookEntry& e) { return optionalNumber(e.maxSpeed); }},
        {"trackDistance", [](const LogbookEntry& e) { return optionalNumber(e.trackDistance); }},
        {"maxStartDistance",
         [](const LogbookEntry& e) { return optionalNumber(e.maxStartDistance); }},
        // Later figures at the end: a spreadsheet made for the columns above keeps working.
        {"thermalCount", [](const LogbookEntry& e) { return optionalCount(e.thermalCount); }},
        {"circlingShare", [](const LogbookEntry& e) { return optionalNumber(e.circlingShare); }},
        {"thermalClimb", [](const LogbookEntry& e) { return optionalNumber(e.thermalClimb); }},
        {"bestThermalClimb",
         [](const LogbookEntry& e) { return optionalNumber(e.bestThermalClimb); }},
        {"bestThermalGain",
         [](const LogbookEntry& e) { return optionalNumber(e.bestThermalGain); }},
        {"thermalSource", [](const LogbookEntry& e) { return e.thermalSource; }},
    };
    return table;
}

} // namespace

QByteArray logbookCsv(const std::vector<LogbookEntry>& entries) {
    QStringList headings;
    for (const Column& column : columns())
        headings << QLatin1String(column.heading);
    QString csv = headings.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const LogbookEntry& entry : entries) {
        QStringList row;
        for (const Column& column : columns())
            row << column.value(entry);
        csv += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}

Status writeLogbookCsv(const QString& path, const std::vector<LogbookEntry>& entries,
                       const QString& logbookFolder) {
    const QFileInfo target(path);
    if (target.isDir())
        return Failure{FailureKind::AccessDenied,
                       QStringLiteral("%1 ist ein Ordner, keine Datei").arg(path)};
    // Through links too: the folder the file would land in, and the logbook's.
    const QString into = target.absoluteDir().canonicalPath();
    const QString book = QDir(logbookFolder).canonicalPath();
    if (!into.isEmpty() && !book.isEmpty() &&
        (into == book || into.startsWith(book + QLatin1Char('/'))))
        return Failure{FailureKind::AccessDenied,
                       QStringLiteral("Ausgabe läge im Flugbuch-Ordner: %1").arg(path)};
    return writeFileAtomically(path, logbookCsv(entries));
}
