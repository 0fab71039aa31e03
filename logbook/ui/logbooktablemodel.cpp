#include "logbook/ui/logbooktablemodel.h"

#include "flight/readingtext.h"
#include "i18n/logbookcaptions.h"
#include "logbook/logbook.h"

#include <QLocale>
#include <QSet>
#include <algorithm>

namespace {

const LogbookText headers[] = {
    LogbookText::Date,     LogbookText::Model, LogbookText::FlightTime, LogbookText::MaxAltitude,
    LogbookText::Distance, LogbookText::File,  LogbookText::Site,       LogbookText::Note};

QString optionalReading(const std::optional<double>& value, int decimals, bool distance) {
    return value ? readingText(*value, "m", decimals, distance, QLocale()) : QString();
}

// Absent figures sort before every present one.
int compareOptional(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b)
        return int(bool(a)) - int(bool(b));
    return *a < *b ? -1 : *a > *b ? 1 : 0;
}

int compareEntries(const LogbookEntry& a, const LogbookEntry& b, int column) {
    switch (column) {
    case LogbookTableModel::Date:
        return a.date < b.date ? -1 : b.date < a.date ? 1 : 0;
    case LogbookTableModel::Model:
        return a.model.compare(b.model, Qt::CaseInsensitive);
    case LogbookTableModel::FlightTime:
        return compareOptional(a.flightTime, b.flightTime);
    case LogbookTableModel::MaxAltitude:
        return compareOptional(a.maxAltitude, b.maxAltitude);
    case LogbookTableModel::Distance:
        return compareOptional(a.trackDistance, b.trackDistance);
    case LogbookTableModel::File:
        return a.fileName.compare(b.fileName, Qt::CaseInsensitive);
    case LogbookTableModel::Site:
        return a.site.compare(b.site, Qt::CaseInsensitive);
    case LogbookTableModel::Note:
        return a.note.compare(b.note, Qt::CaseInsensitive);
    default:
        return 0;
    }
}

bool isEditable(int column) {
    return column == LogbookTableModel::Model || column == LogbookTableModel::Site ||
           column == LogbookTableModel::Note;
}

} // namespace

LogbookTableModel::LogbookTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void LogbookTableModel::setEntries(std::vector<LogbookEntry> entries) {
    beginResetModel();
    m_entries = std::move(entries);
    m_rows.clear();
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_filter.takes(m_entries[i]))
            m_rows.push_back(i);
    applySort();
    endResetModel();
}

void LogbookTableModel::setFilter(const LogbookFilter& filter) {
    m_filter = filter;
    setEntries(std::move(m_entries));
}

void LogbookTableModel::setLanguage(qint32 language) {
    m_language = language;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

std::vector<LogbookEntry> LogbookTableModel::shownEntries() const {
    std::vector<LogbookEntry> shown;
    shown.reserve(m_rows.size());
    for (const size_t i : m_rows)
        shown.push_back(m_entries[i]);
    return shown;
}

QStringList LogbookTableModel::models() const {
    QSet<QString> seen;
    for (const LogbookEntry& entry : m_entries)
        if (!entry.model.isEmpty())
            seen.insert(entry.model);
    QStringList models(seen.begin(), seen.end());
    std::sort(models.begin(), models.end());
    return models;
}

Status LogbookTableModel::change(const QList<qint64>& ids, const EntryChanges& changes) {
    if (m_store)
        if (auto failure = m_store(ids, changes))
            return failure;
    const QSet<qint64> changed(ids.begin(), ids.end());
    for (size_t row = 0; row < m_rows.size(); ++row) {
        LogbookEntry& entry = m_entries[m_rows[row]];
        if (!changed.contains(entry.id))
            continue;
        changes.applyTo(entry);
        emit dataChanged(index(int(row), 0), index(int(row), ColumnCount - 1));
    }
    emit entriesChanged();
    return {};
}

int LogbookTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int LogbookTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LogbookTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const LogbookEntry& e = entryAt(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column >= FlightTime && column <= Distance
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == File)
        return QStringLiteral("Eintrag %1, Firmware %2").arg(e.id).arg(firmwareKey(e.firmware));
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (column) {
    case Date:
        return e.date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case Model:
        return e.model;
    case FlightTime:
        return readingText(e.flightTime, "s", 0, false, QLocale());
    case MaxAltitude:
        return optionalReading(e.maxAltitude, 1, false);
    case Distance:
        return optionalReading(e.trackDistance, 0, true);
    case File:
        return e.fileName;
    case Site:
        return e.site;
    case Note:
        return e.note;
    default:
        return {};
    }
}

QVariant LogbookTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return logbookText(headers[section], m_language);
}

Qt::ItemFlags LogbookTableModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags base = QAbstractTableModel::flags(index);
    return isEditable(index.column()) ? base | Qt::ItemIsEditable : base;
}

bool LogbookTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !isEditable(index.column()))
        return false;
    const LogbookEntry& entry = entryAt(index.row());
    const QString text = value.toString().trimmed();
    if (text == data(index, Qt::EditRole).toString())
        return true; // nothing to store
    EntryChanges changes;
    if (index.column() == Model)
        changes.model = text;
    else if (index.column() == Site)
        changes.site = text;
    else
        changes.note = text;
    if (auto failure = change({entry.id}, changes)) {
        emit failed(*failure);
        // The editor showed the new text: the row shows the stored one again.
        emit dataChanged(index, index);
        return false;
    }
    return true;
}

void LogbookTableModel::sort(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_sortOrder = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<size_t> entryOf;
    for (const QModelIndex& index : before)
        entryOf.push_back(m_rows[size_t(index.row())]);
    applySort();
    std::vector<int> rowOf(m_entries.size(), -1);
    for (size_t row = 0; row < m_rows.size(); ++row)
        rowOf[m_rows[row]] = int(row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf[entryOf[size_t(i)]], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void LogbookTableModel::applySort() {
    const int column = m_sortColumn;
    const bool descending = m_sortOrder == Qt::DescendingOrder;
    // Equal values keep the logbook's order: by date, then by entry.
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](size_t a, size_t b) {
        const int c = compareEntries(m_entries[a], m_entries[b], column);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return descending ? a > b : a < b;
    });
}
