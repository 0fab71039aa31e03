#include "flight/summarytext.h"
#include "flight/readingtext.h"

#include <algorithm>

namespace {

bool isLogColumn(const SummaryField& field) {
    return std::string_view(field.key) == "file";
}

// The table's columns: the fields that have a heading, the log last.
std::vector<const SummaryField*> tableColumns() {
    std::vector<const SummaryField*> columns;
    for (const SummaryField& field : summaryFields())
        if (field.column && !isLogColumn(field))
            columns.push_back(&field);
    for (const SummaryField& field : summaryFields())
        if (field.column && isLogColumn(field))
            columns.push_back(&field);
    return columns;
}

QString tableText(const SummaryField& field, const FlightSummary& summary) {
    const SummaryValue value = field.value(summary);
    if (std::holds_alternative<std::monostate>(value))
        return QStringLiteral("-");
    // Minutes are enough to tell one day's flights apart.
    if (const auto* date = std::get_if<QDateTime>(&value))
        return date->toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return summaryReading(field, summary, QLocale::c());
}

QString jsonString(const QString& text) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The members of a thermal's JSON object, in order, with their decimals.
struct ThermalMember {
    const char* key;
    int decimals;
    std::optional<double> (*value)(const Thermal&);
};

template <auto Member> std::optional<double> thermalValue(const Thermal& t) {
    return t.*Member;
}

constexpr ThermalMember ThermalMembers[] = {
    {"start", 0, thermalValue<&Thermal::start>},
    {"duration", 0, thermalValue<&Thermal::duration>},
    {"gain", 1, thermalValue<&Thermal::gain>},
    {"climb", 2, thermalValue<&Thermal::climb>},
    {"driftDirection", 0, thermalValue<&Thermal::driftDirection>},
    {"driftSpeed", 1, thermalValue<&Thermal::driftSpeed>},
};

QString thermalsJson(const std::vector<Thermal>& thermals) {
    QStringList objects;
    for (const Thermal& thermal : thermals) {
        QStringList members;
        for (const ThermalMember& member : ThermalMembers) {
            const std::optional<double> value = member.value(thermal);
            members << jsonString(QString::fromUtf8(member.key)) + QLatin1Char(':') +
                           (value ? plainMeasureText(*value, member.decimals)
                                  : QStringLiteral("null"));
        }
        objects << QLatin1Char('{') + members.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    return QLatin1Char('[') + objects.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace

QString summaryTable(const std::vector<FlightSummary>& summaries) {
    const std::vector<const SummaryField*> columns = tableColumns();
    std::vector<QStringList> rows(2);
    for (const SummaryField* field : columns) {
        rows[0] << QString::fromUtf8(field->column);
        rows[1] << summaryReadingUnit(*field);
    }
    for (const FlightSummary& summary : summaries) {
        QStringList& row = rows.emplace_back();
        for (const SummaryField* field : columns)
            row << tableText(*field, summary);
    }
    QString table;
    for (const QStringList& row : rows) {
        QString line;
        for (size_t c = 0; c < columns.size(); ++c) {
            qsizetype width = 0;
            for (const QStringList& other : rows)
                width = std::max(width, other[qsizetype(c)].size());
            const QString& cell = row[qsizetype(c)];
            if (c > 0)
                line += QLatin1Char(' ');
            // The log, last, reads from the left and needs no padding.
            line += isLogColumn(*columns[c]) ? cell : cell.rightJustified(width);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        table += line + QLatin1Char('\n');
    }
    return table;
}

QString summaryJson(const FlightSummary& summary) {
    QString json = QStringLiteral("{");
    for (const SummaryField& field : summaryFields()) {
        if (json.size() > 1)
            json += QLatin1Char(',');
        json += jsonString(QString::fromUtf8(field.key)) + QLatin1Char(':');
        const SummaryValue value = field.value(summary);
        if (std::holds_alternative<std::monostate>(value))
            json += QStringLiteral("null");
        else if (std::holds_alternative<QString>(value) || std::holds_alternative<QDateTime>(value))
            json += jsonString(summaryText(field, summary));
        else
            json += summaryText(field, summary);
    }
    json +=
        QStringLiteral(",\"thermalSource\":") + jsonString(thermalSourceKey(summary.thermalSource));
    json += QStringLiteral(",\"thermals\":") + thermalsJson(summary.thermals);
    return json + QLatin1Char('}');
}

QString summaryCsvHeader() {
    QStringList keys;
    for (const SummaryField& field : summaryFields())
        keys << csvField(QString::fromUtf8(field.key));
    return keys.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString summaryCsvRow(const FlightSummary& summary) {
    QStringList values;
    for (const SummaryField& field : summaryFields())
        values << csvField(summaryText(field, summary));
    return values.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}
