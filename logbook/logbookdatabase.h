#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The logbook's SQLite database: the connection, its settings, the mark that
// tells it from any other file, the schema and its upgrades. Every write runs
// in a transaction that takes the write lock at its start.
class LogbookDatabase {
  public:
    // The schema this code writes; older ones are upgraded at open.
    static constexpr int SchemaVersion = 3;
    // PRAGMA application_id of a logbook: "AltB".
    static constexpr qint32 ApplicationId = 0x416C7442;
    static constexpr const char* FileName = "logbook.sqlite";

    // Opens (or creates) the database in `folder`. A file that is not ours or
    // is damaged fails with LogbookDamaged and is not written.
    static Result<std::unique_ptr<LogbookDatabase>> open(const QString& folder);
    ~LogbookDatabase();
    LogbookDatabase(const LogbookDatabase&) = delete;
    LogbookDatabase& operator=(const LogbookDatabase&) = delete;

    const QString& folder() const { return m_folder; }

    // A statement with its values bound in order; the failure names `what`.
    Result<QSqlQuery> run(const QString& sql, std::initializer_list<QVariant> values = {}) const;

    // BEGIN IMMEDIATE: waits (busy timeout) for another writer, then holds
    // the write lock. Checks the database once per connection before the
    // first write.
    Status begin();
    Status commit();
    void rollback();

    // Every entry (the filter is applied by the caller), by date, then id.
    Result<std::vector<LogbookEntry>> entries(const QString& where = {},
                                              std::initializer_list<QVariant> values = {}) const;
    Result<qint64> insert(const LogbookEntry& entry);
    // Writes every field of the entry (by id) but its id and hash.
    Status store(const LogbookEntry& entry);
    // Writes the entry's thermal figures (by id) and nothing else.
    Status storeThermals(const LogbookEntry& entry);

    // "Flugbuch beschädigt: <detail>".
    static Failure damaged(const QString& detail);

    // The database file's device and inode.
    using FileId = std::pair<quint64, quint64>;

  private:
    LogbookDatabase(const QString& folder, const QString& connection);
    static Status create(const QString& folder, const QString& path);
    Status configure();
    Status switchToWal();
    Status upgrade();
    Failure failureOf(const QSqlError& error, const QString& what) const;

    QString m_folder;
    QString m_connection;
    bool m_checked = false;
    std::optional<FileId> m_fileId; // counted among this process's connections
};
