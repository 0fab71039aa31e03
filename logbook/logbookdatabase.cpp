#include "logbook/logbookdatabase.h"

#include "logbook/logbookschema.h"
#include "logbook/logcopy.h"
#include "logbook/thermalupgrade.h"

#include <QAtomicInteger>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSqlRecord>
#include <QThread>
#include <QtEndian>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a writer waits for another program's write to end.
constexpr int BusyTimeoutMs = 30000;

QString newConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("altorin-logbook-%1").arg(counter.fetchAndAddRelaxed(1));
}

// SQLite's locks are POSIX locks, held by the process per file: closing any
// other descriptor of the database file drops them all. Another program would
// then take itself for the only one and end the shared journal under this
// one's connections, whose later writes nobody reads. So the file is read
// outside SQLite only while this process has no connection to it.
struct OpenFiles {
    QMutex mutex;
    std::map<LogbookDatabase::FileId, int> connections;
};

OpenFiles& openFiles() {
    static OpenFiles files;
    return files;
}

std::optional<LogbookDatabase::FileId> fileIdOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return LogbookDatabase::FileId{quint64(status.st_dev), quint64(status.st_ino)};
}

// Looks at the file's header without SQLite, so a foreign file is never opened
// for writing at all: the SQLite magic and our application id.
Status checkHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LogbookDatabase::damaged(
            QStringLiteral("%1 kann nicht gelesen werden (%2)").arg(path, file.errorString()));
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return LogbookDatabase::damaged(QStringLiteral("%1 ist keine SQLite-Datenbank").arg(path));
    const qint32 id = qFromBigEndian<qint32>(header.constData() + 68);
    if (id != LogbookDatabase::ApplicationId)
        return LogbookDatabase::damaged(QStringLiteral("%1 ist kein Flugbuch").arg(path));
    return {};
}

// The thermal figures, written also alone by the upgrade that added them.
const QString ThermalColumns = QStringLiteral("thermal_count, circling_share, thermal_climb, "
                                              "best_thermal_climb, best_thermal_gain, "
                                              "thermal_source");

// The columns of the first two versions.
const QString EarlierColumns = QStringLiteral(
    "file_name, sha256, file_size, date, imported_at, firmware, model, site, note, "
    "flight_time, launches, log_time, segments, data_lines, position_lines, skipped_lines, "
    "start_altitude, max_altitude, min_altitude, altitude_gain, max_gps_altitude, max_climb, "
    "max_sink, max_speed, track_distance, max_start_distance, file_date");
// The columns in the order of LogbookEntry, shared by reading and writing.
const QString Columns = EarlierColumns + QStringLiteral(", ") + ThermalColumns;
constexpr int ColumnCount = 33;

QVariant optionalValue(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}

QVariant optionalValue(const std::optional<qint64>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::LongLong));
}

std::optional<double> optionalOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// Qt binds a null QString as NULL; the text columns hold '' instead.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariantList thermalValuesOf(const LogbookEntry& e) {
    return {optionalValue(e.thermalCount),
            optionalValue(e.circlingShare),
            optionalValue(e.thermalClimb),
            optionalValue(e.bestThermalClimb),
            optionalValue(e.bestThermalGain),
            e.thermalSource.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                      : QVariant(e.thermalSource)};
}

// The values of the earlier columns.
QVariantList valuesOf(const LogbookEntry& e) {
    return {text(e.fileName),
            e.sha256,
            e.fileSize,
            e.date.toSecsSinceEpoch(),
            e.importedAt.toSecsSinceEpoch(),
            firmwareKey(e.firmware),
            text(e.model),
            text(e.site),
            text(e.note),
            e.flightTime,
            e.launches,
            e.logTime,
            e.segments,
            e.dataLines,
            e.positionLines,
            e.skippedLines,
            optionalValue(e.startAltitude),
            optionalValue(e.maxAltitude),
            optionalValue(e.minAltitude),
            optionalValue(e.altitudeGain),
            optionalValue(e.maxGpsAltitude),
            optionalValue(e.maxClimb),
            optionalValue(e.maxSink),
            optionalValue(e.maxSpeed),
            optionalValue(e.trackDistance),
            optionalValue(e.maxStartDistance),
            e.fileDate.toSecsSinceEpoch()};
}

// Every column's value, in the order of Columns.
QVariantList allValuesOf(const LogbookEntry& e) {
    return valuesOf(e) + thermalValuesOf(e);
}

LogbookEntry entryOf(const QSqlQuery& q) {
    LogbookEntry e;
    int i = 0;
    e.id = q.value(i++).toLongLong();
    e.fileName = q.value(i++).toString();
    e.sha256 = q.value(i++).toString();
    e.fileSize = q.value(i++).toLongLong();
    e.date = QDateTime::fromSecsSinceEpoch(q.value(i++).toLongLong());
    e.importedAt = QDateTime::fromSecsSinceEpoch(q.value(i++).toLongLong());
    e.firmware = firmwareOfKey(q.value(i++).toString()).value_or(FirmwareVariant{});
    e.model = q.value(i++).toString();
    e.site = q.value(i++).toString();
    e.note = q.value(i++).toString();
    e.flightTime = q.value(i++).toDouble();
    e.launches = q.value(i++).toLongLong();
    e.logTime = q.value(i++).toDouble();
    e.segments = q.value(i++).toLongLong();
    e.dataLines = q.value(i++).toLongLong();
    e.positionLines = q.value(i++).toLongLong();
    e.skippedLines = q.value(i++).toLongLong();
    for (std::optional<double>* figure :
         {&e.startAltitude, &e.maxAltitude, &e.minAltitude, &e.altitudeGain, &e.maxGpsAltitude,
          &e.maxClimb, &e.maxSink, &e.maxSpeed, &e.trackDistance, &e.maxStartDistance})
        *figure = optionalOf(q.value(i++));
    e.fileDate = QDateTime::fromSecsSinceEpoch(q.value(i++).toLongLong());
    const QVariant count = q.value(i++);
    if (!count.isNull())
        e.thermalCount = count.toLongLong();
    for (std::optional<double>* figure :
         {&e.circlingShare, &e.thermalClimb, &e.bestThermalClimb, &e.bestThermalGain})
        *figure = optionalOf(q.value(i++));
    e.thermalSource = q.value(i++).toString();
    return e;
}

} // namespace

LogbookDatabase::LogbookDatabase(const QString& folder, const QString& connection)
    : m_folder(folder), m_connection(connection) {}

LogbookDatabase::~LogbookDatabase() {
    const QMutexLocker lock(&openFiles().mutex);
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    if (m_fileId && --openFiles().connections[*m_fileId] == 0)
        openFiles().connections.erase(*m_fileId);
}

Failure LogbookDatabase::damaged(const QString& detail) {
    return {FailureKind::LogbookDamaged, QStringLiteral("Flugbuch beschädigt: ") + detail};
}

Failure LogbookDatabase::failureOf(const QSqlError& error, const QString& what) const {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    // SQLITE_CORRUPT (11) and SQLITE_NOTADB (26): never to be written further.
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("11") || code == QLatin1String("26"))
        return damaged(QStringLiteral("%1 (%2)").arg(text, what));
    return {FailureKind::IoError, QStringLiteral("Flugbuch: %1 (%2)").arg(text, what)};
}

Result<QSqlQuery> LogbookDatabase::run(const QString& sql,
                                       std::initializer_list<QVariant> values) const {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return failureOf(query.lastError(), sql.section(QLatin1Char(' '), 0, 1));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failureOf(query.lastError(), sql.section(QLatin1Char(' '), 0, 1));
    return query;
}

// Built whole beside its place and moved into it only where there is none, so
// that a logbook file either carries the mark or does not exist, and a second
// program creating one at the same moment never replaces the first's.
Status LogbookDatabase::create(const QString& folder, const QString& path) {
    // Named by process and connection: two threads of one program (the
    // window and its import) may create the logbook at the same moment too.
    const QString connection = newConnectionName();
    const QString building =
        path + QStringLiteral(".new-%1-%2").arg(::getpid()).arg(connection.section('-', -1));
    QFile::remove(building);
    const auto failed = [&](Failure failure) {
        QFile::remove(building);
        return failure;
    };
    {
        std::unique_ptr<LogbookDatabase> db(new LogbookDatabase(folder, connection));
        QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connection);
        sql.setDatabaseName(building);
        if (!sql.open())
            return failed(db->failureOf(sql.lastError(), QStringLiteral("anlegen")));
        // Born in WAL mode: turning a shared file into WAL needs it alone, and
        // SQLite refuses that at once rather than wait while another reads.
        QStringList statements{QStringLiteral("PRAGMA journal_mode = WAL")};
        statements << LogbookSchema::create()
                   << QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId)
                   << QStringLiteral("PRAGMA user_version = 1");
        for (const QString& statement : statements)
            if (auto done = db->run(statement); !done)
                return failed(done.failure());
    }
    const QByteArray from = QFile::encodeName(building);
    const QByteArray to = QFile::encodeName(path);
    const int fd = ::open(from.constData(), O_RDONLY);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        return failed(lastFileFailure());
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) { // the other program's is the logbook
            QFile::remove(building);
            return {};
        }
        // A file system without the exclusive rename: only where there is none.
        if (errno != EINVAL || QFileInfo::exists(path) ||
            ::rename(from.constData(), to.constData()) != 0)
            return failed(lastFileFailure());
    }
    return syncFolder(folder);
}

Result<std::unique_ptr<LogbookDatabase>> LogbookDatabase::open(const QString& folder) {
    if (!QDir().mkpath(folder))
        return Failure{FailureKind::AccessDenied,
                       QStringLiteral("Flugbuch-Ordner %1 kann nicht angelegt werden").arg(folder)};
    const QString path = QDir(folder).filePath(QLatin1String(FileName));
    if (!QFileInfo::exists(path))
        if (auto failure = create(folder, path))
            return *failure;

    std::unique_ptr<LogbookDatabase> db(new LogbookDatabase(folder, newConnectionName()));
    {
        // Checked and connected as one step: no other thread reads the file
        // outside SQLite between the two.
        const QMutexLocker lock(&openFiles().mutex);
        const std::optional<FileId> id = fileIdOf(path);
        if (!id || !openFiles().connections.count(*id))
            if (auto failure = checkHeader(path))
                return *failure;
        QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), db->m_connection);
        sql.setDatabaseName(path);
        sql.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!sql.open())
            return db->failureOf(sql.lastError(), QStringLiteral("öffnen"));
        if (id) {
            db->m_fileId = id;
            ++openFiles().connections[*id];
        }
    }
    if (auto failure = db->configure())
        return *failure;
    if (auto failure = db->upgrade())
        return *failure;
    return db;
}

Status LogbookDatabase::configure() {
    for (const char* pragma : {"PRAGMA synchronous = FULL", "PRAGMA foreign_keys = ON"})
        if (auto done = run(QLatin1String(pragma)); !done)
            return done.failure();
    return switchToWal();
}

// The journal mode is kept in the file, so only a logbook made before WAL is
// switched. The switch needs the file alone, and SQLite answers "busy" at once
// instead of waiting, so it is tried again for as long as a writer would wait.
Status LogbookDatabase::switchToWal() {
    auto mode = run(QStringLiteral("PRAGMA journal_mode"));
    if (!mode)
        return mode.failure();
    if (mode->next() &&
        mode->value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return {};
    mode->finish();
    const QString sql = QStringLiteral("PRAGMA journal_mode = WAL");
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    const QDeadlineTimer deadline(BusyTimeoutMs);
    while (!query.exec(sql)) {
        const bool busy = query.lastError().nativeErrorCode() == QLatin1String("5");
        if (!busy || deadline.hasExpired())
            return failureOf(query.lastError(), sql.section(QLatin1Char(' '), 0, 1));
        QThread::msleep(20);
    }
    return {};
}

Status LogbookDatabase::upgrade() {
    auto version = run(QStringLiteral("PRAGMA user_version"));
    if (!version)
        return version.failure();
    int current = version->next() ? version->value(0).toInt() : 0;
    version->finish();
    if (current > SchemaVersion)
        return Failure{FailureKind::NotWritable,
                       QStringLiteral("Flugbuch einer neueren Programmversion (Schema %1): "
                                      "bitte eine neuere AltorinTool-Version verwenden")
                           .arg(current)};
    if (current == SchemaVersion)
        return {};
    if (current < 1)
        return damaged(QStringLiteral("Schema-Version %1 unbekannt").arg(current));
    if (auto failure = begin())
        return failure;
    // Read again under the lock: another program may have upgraded meanwhile.
    version = run(QStringLiteral("PRAGMA user_version"));
    if (!version) {
        rollback();
        return version.failure();
    }
    current = version->next() ? version->value(0).toInt() : 0;
    version->finish();
    for (; current < SchemaVersion; ++current) {
        for (const QString& statement : LogbookSchema::upgradeFrom(current))
            if (auto done = run(statement); !done) {
                rollback();
                return done.failure();
            }
        // The thermal figures only the logs tell, for the columns just added.
        if (current == 2)
            if (auto failure = fillThermalFigures(*this)) {
                rollback();
                return failure;
            }
        if (auto done = run(QStringLiteral("PRAGMA user_version = %1").arg(current + 1)); !done) {
            rollback();
            return done.failure();
        }
    }
    return commit();
}

Status LogbookDatabase::begin() {
    if (auto done = run(QStringLiteral("BEGIN IMMEDIATE")); !done)
        return done.failure();
    if (m_checked)
        return {};
    // Damage inside a file that carries our mark: found before the first write.
    auto check = run(QStringLiteral("PRAGMA quick_check"));
    if (!check) {
        rollback();
        return check.failure().kind == FailureKind::LogbookDamaged
                   ? check.failure()
                   : damaged(check.failure().message);
    }
    const QString answer = check->next() ? check->value(0).toString() : QString();
    check->finish();
    if (answer != QLatin1String("ok")) {
        rollback();
        return damaged(answer);
    }
    m_checked = true;
    return {};
}

Status LogbookDatabase::commit() {
    if (auto done = run(QStringLiteral("COMMIT")); !done) {
        rollback();
        return done.failure();
    }
    return {};
}

void LogbookDatabase::rollback() {
    (void)run(QStringLiteral("ROLLBACK"));
}

Result<std::vector<LogbookEntry>>
LogbookDatabase::entries(const QString& where, std::initializer_list<QVariant> values) const {
    auto query =
        run(QStringLiteral("SELECT id, %1 FROM entries %2 ORDER BY date, id").arg(Columns, where),
            values);
    if (!query)
        return query.failure();
    std::vector<LogbookEntry> result;
    while (query->next())
        result.push_back(entryOf(*query));
    if (query->lastError().isValid())
        return failureOf(query->lastError(), QStringLiteral("lesen"));
    return result;
}

Result<qint64> LogbookDatabase::insert(const LogbookEntry& entry) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    QStringList marks;
    for (int i = 0; i < ColumnCount; ++i)
        marks << QStringLiteral("?");
    query.prepare(
        QStringLiteral("INSERT INTO entries (%1) VALUES (%2)").arg(Columns, marks.join(',')));
    for (const QVariant& value : allValuesOf(entry))
        query.addBindValue(value);
    if (!query.exec())
        return failureOf(query.lastError(), QStringLiteral("eintragen"));
    return query.lastInsertId().toLongLong();
}

Status LogbookDatabase::storeThermals(const LogbookEntry& entry) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    QStringList sets;
    for (const QString& column : ThermalColumns.split(QStringLiteral(", ")))
        sets << column + QStringLiteral(" = ?");
    query.prepare(QStringLiteral("UPDATE entries SET %1 WHERE id = ?").arg(sets.join(", ")));
    for (const QVariant& value : thermalValuesOf(entry))
        query.addBindValue(value);
    query.addBindValue(entry.id);
    if (!query.exec())
        return failureOf(query.lastError(), QStringLiteral("Thermik eintragen"));
    return {};
}

Status LogbookDatabase::store(const LogbookEntry& entry) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    QStringList sets;
    for (const QString& column : Columns.split(QStringLiteral(", ")))
        sets << column + QStringLiteral(" = ?");
    query.prepare(QStringLiteral("UPDATE entries SET %1 WHERE id = ?").arg(sets.join(", ")));
    for (const QVariant& value : allValuesOf(entry))
        query.addBindValue(value);
    query.addBindValue(entry.id);
    if (!query.exec())
        return failureOf(query.lastError(), QStringLiteral("ändern"));
    return {};
}
