#include "logbook/logbook.h"

#include "log/logdate.h"
#include "log/logfiles.h"
#include "logbook/logbookdatabase.h"
#include "logbook/logcopy.h"
#include "logbook/logfigures.h"
#include "logbook/preparedlog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <future>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Held shared by every import, exclusively by the removal of copies without
// an entry: a copy is written before its entry, so while any program imports,
// a copy without entry may be one about to get its entry.
class ImportLock {
  public:
    ImportLock(int fd, int operation) : m_fd(fd) {
        m_held = fd >= 0 && ::flock(fd, operation) == 0;
    }
    ~ImportLock() {
        if (m_held)
            ::flock(m_fd, LOCK_UN);
    }
    ImportLock(const ImportLock&) = delete;
    ImportLock& operator=(const ImportLock&) = delete;
    bool held() const { return m_held; }

  private:
    int m_fd;
    bool m_held = false;
};

} // namespace

void EntryChanges::applyTo(LogbookEntry& entry) const {
    if (model)
        entry.model = *model;
    if (site)
        entry.site = *site;
    if (note)
        entry.note = *note;
    if (date)
        entry.date = *date;
}

QString importOutcomeText(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::Added:
        return QStringLiteral("hinzugefügt");
    case ImportOutcome::AlreadyThere:
        return QStringLiteral("schon im Flugbuch");
    case ImportOutcome::Skipped:
        return QStringLiteral("übersprungen");
    case ImportOutcome::Failed:
        break;
    }
    return QStringLiteral("fehlgeschlagen");
}

void ImportReport::count(const ImportedLog& log) {
    switch (log.outcome) {
    case ImportOutcome::Added:
        ++added;
        break;
    case ImportOutcome::AlreadyThere:
        ++alreadyThere;
        break;
    case ImportOutcome::Skipped:
        ++skipped;
        break;
    case ImportOutcome::Failed:
        ++failed;
        break;
    }
    logs.push_back(log);
}

QString Logbook::defaultFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/AltorinTool/logbook");
}

Logbook::Logbook(std::unique_ptr<LogbookDatabase> database) : m_db(std::move(database)) {
    m_lockFd = ::open(
        QFile::encodeName(QDir(m_db->folder()).filePath(QStringLiteral("import.lock"))).constData(),
        O_RDWR | O_CREAT | O_CLOEXEC, 0644);
}

Logbook::~Logbook() {
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString Logbook::folder() const {
    return m_db->folder();
}

QString Logbook::copiesFolder() const {
    return logCopiesFolder(m_db->folder());
}

QString Logbook::copyPath(const LogbookEntry& entry) const {
    return logCopyIn(copiesFolder(), entry.sha256);
}

bool Logbook::existsIn(const QString& folder) {
    return QFileInfo::exists(QDir(folder).filePath(QLatin1String(LogbookDatabase::FileName)));
}

Result<std::unique_ptr<Logbook>> Logbook::open(const QString& folder) {
    auto db = LogbookDatabase::open(folder);
    if (!db)
        return db.failure();
    std::unique_ptr<Logbook> logbook(new Logbook(std::move(*db)));
    const QString copies = logCopiesFolder(folder);
    if (!QDir().mkpath(copies))
        return Failure{FailureKind::AccessDenied,
                       QStringLiteral("Flugbuch-Ordner %1 kann nicht angelegt werden").arg(copies)};

    // Copies without an entry are left by an import killed (or stopped, or
    // failed) between the copy and its entry.
    const QStringList files = QDir(copies).entryList(QDir::Files | QDir::Hidden);
    if (files.isEmpty())
        return logbook;
    // Every entry has its copy: no more copies than entries, no orphan. So a
    // command that only reads takes no write lock.
    auto count = logbook->m_db->run(QStringLiteral("SELECT count(*) FROM entries"));
    if (!count)
        return count.failure();
    if (count->next() && count->value(0).toLongLong() >= files.size())
        return logbook;
    count->finish();
    // Not while another program imports: its next copies have no entry yet.
    const ImportLock alone(logbook->m_lockFd, LOCK_EX | LOCK_NB);
    if (!alone.held())
        return logbook;
    LogbookDatabase& base = *logbook->m_db;
    if (auto failure = base.begin()) {
        // A logbook that may only be read (a read-only folder) keeps them.
        if (failure->kind == FailureKind::LogbookDamaged)
            return *failure;
        return logbook;
    }
    auto kept = base.run(QStringLiteral("SELECT sha256 FROM entries"));
    if (!kept) {
        base.rollback();
        return kept.failure();
    }
    QSet<QString> names;
    while (kept->next())
        names.insert(QFileInfo(logCopyIn(copies, kept->value(0).toString())).fileName());
    kept->finish();
    bool removed = false;
    for (const QString& file : files)
        if (!names.contains(file))
            removed |= QFile::remove(QDir(copies).filePath(file));
    base.rollback();
    if (removed)
        (void)syncFolder(copies);
    return logbook;
}

QStringList Logbook::logsNamedBy(const QStringList& paths) {
    QStringList logs;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            logs << path;
            continue;
        }
        QStringList found;
        QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            if (isLogFileName(it.fileName()))
                found << it.filePath();
        }
        std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        // A folder without logs stays named, so that the import reports it.
        logs << (found.isEmpty() ? QStringList{path} : found);
    }
    return logs;
}

ImportedLog Logbook::commitLog(PreparedLog& log, const ImportOptions& options) {
    if (!log.read && !log.copyFound)
        return log.result; // failed or skipped
    const auto keptAs = [this](const QString& sha) -> Result<qint64> {
        auto query = m_db->run(QStringLiteral("SELECT id FROM entries WHERE sha256 = ?"), {sha});
        if (!query)
            return query.failure();
        return query->next() ? query->value(0).toLongLong() : qint64(0);
    };
    ImportedLog& result = log.result;
    if (auto failure = m_db->begin()) {
        result.reason = failure->message;
        return result;
    }
    const auto kept = keptAs(log.entry.sha256);
    if (!kept || *kept) {
        m_db->rollback();
        if (!kept)
            result.reason = kept.failure().message;
        else
            result = {result.path, ImportOutcome::AlreadyThere, *kept,
                      QStringLiteral("schon im Flugbuch als Eintrag %1").arg(*kept)};
        return result;
    }
    if (!log.read) {
        // A copy without entry: another program's import about to commit it,
        // or one killed before it could. Read and written again here.
        completeLog(log, options, copiesFolder());
        if (!log.read) {
            m_db->rollback();
            return result;
        }
    }
    log.entry.importedAt = QDateTime::currentDateTime();
    const auto id = m_db->insert(log.entry);
    if (!id)
        m_db->rollback();
    // On failure the copy stays until the next open removes it: another
    // program may be importing the same log right now.
    if (auto failure = id ? m_db->commit() : id.status()) {
        result.reason = failure->message;
        return result;
    }
    result = {result.path, ImportOutcome::Added, *id, {}};
    return result;
}

ImportedLog Logbook::importLog(const QString& path, const ImportOptions& options) {
    const ImportLock lock(m_lockFd, LOCK_SH);
    PreparedLog log = prepareLog(path, options, copiesFolder());
    return commitLog(log, options);
}

ImportReport
Logbook::importLogs(const QStringList& paths, const ImportOptions& options,
                    const std::function<bool(const ImportedLog&, int done, int total)>& progress) {
    const ImportLock lock(m_lockFd, LOCK_SH);
    ImportReport report;
    const QStringList logs = logsNamedBy(paths);
    const QString copies = copiesFolder();
    // A few logs are read and copied ahead on worker threads while this one
    // commits in log order: their disk syncs overlap. Each holds its log's
    // bytes and columns meanwhile, so long logs go fewer at a time.
    constexpr size_t Ahead = 8;
    constexpr qint64 AheadBytes = qint64(64) << 20;
    std::deque<std::pair<std::future<PreparedLog>, qint64>> pending;
    qint64 pendingBytes = 0;
    qsizetype next = 0;
    const auto refill = [&] {
        while (next < logs.size() && pending.size() < Ahead) {
            const qint64 size = QFileInfo(logs[next]).size();
            if (!pending.empty() && pendingBytes + size > AheadBytes)
                break;
            pendingBytes += size;
            pending.emplace_back(
                std::async(std::launch::async, prepareLog, logs[next++], options, copies), size);
        }
    };
    refill();
    for (int done = 1; !pending.empty(); ++done) {
        PreparedLog log = pending.front().first.get();
        pendingBytes -= pending.front().second;
        pending.pop_front();
        report.count(commitLog(log, options));
        if (progress && !progress(report.logs.back(), done, int(logs.size())) &&
            done < logs.size()) {
            // Copies already written for the logs ahead stay until the next
            // open removes them.
            report.stopped = true;
            for (auto& ahead : pending)
                ahead.first.wait();
            break;
        }
        refill();
    }
    return report;
}

Result<std::vector<LogbookEntry>> Logbook::entries(const LogbookFilter& filter) const {
    auto all = filter.model ? m_db->entries(QStringLiteral("WHERE model = ?"), {*filter.model})
                            : m_db->entries();
    if (!all)
        return all;
    std::erase_if(*all, [&filter](const LogbookEntry& entry) { return !filter.takes(entry); });
    return all;
}

Result<std::optional<LogbookEntry>> Logbook::entry(qint64 id) const {
    auto found = m_db->entries(QStringLiteral("WHERE id = ?"), {id});
    if (!found)
        return found.failure();
    if (found->empty())
        return std::optional<LogbookEntry>();
    return std::optional<LogbookEntry>(found->front());
}

Result<QStringList> Logbook::models() const {
    auto query = m_db->run(
        QStringLiteral("SELECT DISTINCT model FROM entries WHERE model != '' ORDER BY model"));
    if (!query)
        return query.failure();
    QStringList models;
    while (query->next())
        models << query->value(0).toString();
    return models;
}

Result<qint64> Logbook::othersChanges() const {
    auto query = m_db->run(QStringLiteral("PRAGMA data_version"));
    if (!query)
        return query.failure();
    return query->next() ? query->value(0).toLongLong() : 0;
}

namespace {

Failure noEntry(qint64 id) {
    return {FailureKind::InvalidValue, QStringLiteral("kein Eintrag %1 im Flugbuch").arg(id)};
}

} // namespace

Status Logbook::update(const QList<qint64>& ids, const EntryChanges& changes) {
    if (auto failure = m_db->begin())
        return failure;
    for (const qint64 id : ids) {
        auto found = m_db->entries(QStringLiteral("WHERE id = ?"), {id});
        if (!found || found->empty()) {
            m_db->rollback();
            return found ? noEntry(id) : found.failure();
        }
        LogbookEntry entry = found->front();
        changes.applyTo(entry);
        if (changes.firmware) {
            const LogFigures figures = readLogFigures(copyPath(entry), *changes.firmware, entry);
            if (figures.outcome != FiguresOutcome::Read) {
                m_db->rollback();
                return Failure{FailureKind::WrongFirmware,
                               QStringLiteral("Eintrag %1 (%2): %3")
                                   .arg(id)
                                   .arg(entry.fileName, figures.reason)};
            }
        }
        if (auto failure = m_db->store(entry)) {
            m_db->rollback();
            return failure;
        }
    }
    return m_db->commit();
}

Status Logbook::renameModel(const QString& from, const QString& to) {
    if (auto failure = m_db->begin())
        return failure;
    if (auto done =
            m_db->run(QStringLiteral("UPDATE entries SET model = ? WHERE model = ?"), {to, from});
        !done) {
        m_db->rollback();
        return done.failure();
    }
    return m_db->commit();
}

Status Logbook::remove(const QList<qint64>& ids) {
    if (auto failure = m_db->begin())
        return failure;
    QStringList copies;
    for (const qint64 id : ids) {
        auto found = m_db->entries(QStringLiteral("WHERE id = ?"), {id});
        if (!found || found->empty()) {
            m_db->rollback();
            return found ? noEntry(id) : found.failure();
        }
        copies << copyPath(found->front());
        if (auto done = m_db->run(QStringLiteral("DELETE FROM entries WHERE id = ?"), {id});
            !done) {
            m_db->rollback();
            return done.failure();
        }
    }
    if (auto failure = m_db->commit())
        return failure;
    // After the commit: a copy left by a crash here is removed at the next open.
    for (const QString& copy : copies)
        QFile::remove(copy);
    (void)syncFolder(copiesFolder());
    return {};
}
