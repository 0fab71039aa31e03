#include "logbook/logbookentry.h"

#include "core/firmwaretable.h"

#include <algorithm>
#include <map>

QString firmwareKey(const FirmwareVariant& firmware) {
    return QString::fromLatin1(firmwareRowOf(firmware).optionValue);
}

std::optional<FirmwareVariant> firmwareOfKey(const QString& key) {
    const FirmwareRow* row = firmwareRowNamed(key.trimmed());
    return row ? std::optional<FirmwareVariant>(row->variant) : std::nullopt;
}

bool LogbookFilter::takes(const LogbookEntry& entry) const {
    if (model && entry.model != *model)
        return false;
    if (from || to) {
        const QDate day = entry.date.toLocalTime().date();
        if ((from && day < *from) || (to && day > *to))
            return false;
    }
    if (entry.flightTime < minFlightTime)
        return false;
    if (!text.isEmpty() && !entry.site.contains(text, Qt::CaseInsensitive) &&
        !entry.note.contains(text, Qt::CaseInsensitive))
        return false;
    return true;
}

namespace {

QString groupKey(const LogbookEntry& entry, TotalsGrouping grouping) {
    switch (grouping) {
    case TotalsGrouping::Model:
        return entry.model;
    case TotalsGrouping::Month:
        return entry.date.toLocalTime().date().toString(QStringLiteral("yyyy-MM"));
    case TotalsGrouping::Year:
        return entry.date.toLocalTime().date().toString(QStringLiteral("yyyy"));
    case TotalsGrouping::All:
        break;
    }
    return {};
}

} // namespace

std::vector<LogbookTotals> totalsOf(const std::vector<LogbookEntry>& entries,
                                    TotalsGrouping grouping) {
    std::map<QString, LogbookTotals> groups;
    if (grouping == TotalsGrouping::All)
        groups[QString()];
    for (const LogbookEntry& entry : entries) {
        const QString key = groupKey(entry, grouping);
        LogbookTotals& t = groups[key];
        t.key = key;
        ++t.flights;
        t.launches += entry.launches;
        t.flightTime += entry.flightTime;
        t.logTime += entry.logTime;
        if (entry.maxAltitude)
            t.maxAltitude =
                std::max(t.maxAltitude.value_or(*entry.maxAltitude), *entry.maxAltitude);
        t.trackDistance += entry.trackDistance.value_or(0);
    }
    std::vector<LogbookTotals> result;
    result.reserve(groups.size());
    for (auto& [key, totals] : groups)
        result.push_back(std::move(totals));
    return result;
}
