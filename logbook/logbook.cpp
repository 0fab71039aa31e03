#include "logbook/logbook.h"

#include "convert/conversion.h"
#include "log/logfiles.h"
#include "logbook/logbookdatabase.h"
#include "logbook/logcopy.h"
#include "logbook/logfigures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

const QString CopyFolder = QStringLiteral("logs");

QString copyName(const QString& sha256) {
    return sha256 + QStringLiteral(".CSV");
}

} // namespace

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

Logbook::Logbook(std::unique_ptr<LogbookDatabase> database) : m_db(std::move(database)) {}

Logbook::~Logbook() = default;

QString Logbook::folder() const {
    return m_db->folder();
}

QString Logbook::copyPath(const LogbookEntry& entry) const {
    return QDir(m_db->folder()).filePath(CopyFolder + QLatin1Char('/') + copyName(entry.sha256));
}

Result<std::unique_ptr<Logbook>> Logbook::open(const QString& folder) {
    auto db = LogbookDatabase::open(folder);
    if (!db)
        return db.failure();
    std::unique_ptr<Logbook> logbook(new Logbook(std::move(*db)));
    const QString copies = QDir(folder).filePath(CopyFolder);
    if (!QDir().mkpath(copies))
        return Failure{FailureKind::AccessDenied,
                       QStringLiteral("Flugbuch-Ordner %1 kann nicht angelegt werden").arg(copies)};

    // Copies without an entry are left by an import killed between the copy
    // and its entry. Under the write lock, so no import running elsewhere is
    // between the two steps right now.
    const QStringList files = QDir(copies).entryList(QDir::Files | QDir::Hidden);
    if (files.isEmpty())
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
        names.insert(copyName(kept->value(0).toString()));
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

ImportedLog Logbook::importLog(const QString& path, const ImportOptions& options) {
    ImportedLog result{path, ImportOutcome::Failed, 0, {}};
    const QFileInfo info(path);
    if (info.isDir()) {
        result.reason = QStringLiteral("keine Log-Datei (LOG?????.CSV) im Ordner");
        return result;
    }
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        result.reason = lastFileFailure().message;
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.reason = QStringLiteral("keine gewöhnliche Datei");
        return result;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = fileFailure(errno ? errno : EACCES).message;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size()) {
        result.reason = fileFailure(errno ? errno : EIO).message;
        return result;
    }
    file.close();
    const QString sha256 =
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());

    const auto keptAs = [this](const QString& sha) -> Result<qint64> {
        auto query = m_db->run(QStringLiteral("SELECT id FROM entries WHERE sha256 = ?"), {sha});
        if (!query)
            return query.failure();
        return query->next() ? query->value(0).toLongLong() : qint64(0);
    };
    auto kept = keptAs(sha256);
    if (!kept) {
        result.reason = kept.failure().message;
        return result;
    }
    if (*kept) {
        result = {path, ImportOutcome::AlreadyThere, *kept,
                  QStringLiteral("schon im Flugbuch als Eintrag %1").arg(*kept)};
        return result;
    }

    LogbookEntry entry;
    entry.fileName = info.fileName();
    entry.sha256 = sha256;
    entry.fileSize = bytes.size();
    entry.model = options.model;
    const LogFigures figures = readLogFigures(path, importVariant(path, options.firmware), entry);
    if (figures.outcome != FiguresOutcome::Read) {
        result.outcome = figures.outcome == FiguresOutcome::NoData ? ImportOutcome::Skipped
                                                                   : ImportOutcome::Failed;
        result.reason = figures.reason;
        return result;
    }
    // The log date as the GPX export takes it: the file's date, to an even second.
    entry.date = QDateTime::fromSecsSinceEpoch(logDateInstant(status));
    entry.fileDate = entry.date;
    entry.importedAt = QDateTime::currentDateTime();

    if (auto failure = m_db->begin()) {
        result.reason = failure->message;
        return result;
    }
    // Another program may have added it since the look above.
    kept = keptAs(sha256);
    if (!kept || *kept) {
        m_db->rollback();
        if (!kept)
            result.reason = kept.failure().message;
        else
            result = {path, ImportOutcome::AlreadyThere, *kept,
                      QStringLiteral("schon im Flugbuch als Eintrag %1").arg(*kept)};
        return result;
    }
    const QString copy = copyPath(entry);
    if (auto failure = writeLogCopy(copy, bytes, status)) {
        m_db->rollback();
        QFile::remove(copy);
        result.reason = QStringLiteral("Kopie ins Flugbuch: %1").arg(failure->message);
        return result;
    }
    const auto id = m_db->insert(entry);
    if (!id)
        m_db->rollback();
    if (auto failure = id ? m_db->commit() : id.status()) {
        QFile::remove(copy);
        result.reason = failure->message;
        return result;
    }
    result = {path, ImportOutcome::Added, *id, {}};
    return result;
}

ImportReport
Logbook::importLogs(const QStringList& paths, const ImportOptions& options,
                    const std::function<bool(const ImportedLog&, int done, int total)>& progress) {
    ImportReport report;
    const QStringList logs = logsNamedBy(paths);
    for (int i = 0; i < logs.size(); ++i) {
        report.count(importLog(logs[i], options));
        if (progress && !progress(report.logs.back(), i + 1, int(logs.size())) &&
            i + 1 < logs.size()) {
            report.stopped = true;
            break;
        }
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
        if (changes.model)
            entry.model = *changes.model;
        if (changes.site)
            entry.site = *changes.site;
        if (changes.note)
            entry.note = *changes.note;
        if (changes.date)
            entry.date = *changes.date;
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
    (void)syncFolder(QDir(folder()).filePath(CopyFolder));
    return {};
}
