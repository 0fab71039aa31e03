#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

struct EntryChanges;

// The logbook's entries as a table: all of them are held once, the rows are
// those the filter takes, in the order of the column sorted by (by value,
// not by text). Model, site and note are edited in place; each change is
// stored through `store` before the row shows it.
class LogbookTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Date, Model, FlightTime, MaxAltitude, Distance, File, Site, Note, ColumnCount };

    using Store = std::function<Status(const QList<qint64>& ids, const EntryChanges& changes)>;

    explicit LogbookTableModel(QObject* parent = nullptr);

    void setStore(Store store) { m_store = std::move(store); }
    void setEntries(std::vector<LogbookEntry> entries);
    void setFilter(const LogbookFilter& filter);
    const LogbookFilter& filter() const { return m_filter; }
    // The headings' language (1 English, else German).
    void setLanguage(qint32 language);

    const LogbookEntry& entryAt(int row) const { return m_entries[m_rows[size_t(row)]]; }
    // The entries the filter takes, in row order.
    std::vector<LogbookEntry> shownEntries() const;
    // The models in use, in order.
    QStringList models() const;

    // Stores the change for the entries and shows it; on failure nothing
    // changes and the failure is returned.
    Status change(const QList<qint64>& ids, const EntryChanges& changes);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  signals:
    // An edit in place could not be stored; the row shows the stored value.
    void failed(const Failure& failure);
    // Entries were changed (after an edit): totals and model lists follow.
    void entriesChanged();

  private:
    void applySort();

    std::vector<LogbookEntry> m_entries;
    std::vector<size_t> m_rows; // indexes into m_entries
    LogbookFilter m_filter;
    int m_sortColumn = Date;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
    Store m_store;
    qint32 m_language = 0;
};
