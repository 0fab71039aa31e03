// The logbook's file on bad days: a damaged or foreign file, a full disk, a
// program killed mid-import, two programs at once.
#include "common/badinput.h"
#include "logbook/logbook.h"
#include "logbook_files.h"
#include "logbook_support.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace logbook_support;

namespace {

const QDateTime FlyingDay(QDate(2026, 7, 4), QTime(13, 0, 0));

} // namespace

class TestLogbookStorage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;
    QString m_work;

    QStringList writeCard(const QString& card, int logs, int first = 1) {
        QStringList paths;
        for (int i = first; i < first + logs; ++i) {
            const QString path =
                card + QStringLiteral("/LOG%1.CSV").arg(i, 5, 10, QLatin1Char('0'));
            if (!writeLog(path, typicalFlight(i % 3 ? V500 : V407, i), FlyingDay.addSecs(1200 * i)))
                qFatal("cannot write %s", qPrintable(path));
            paths << path;
        }
        return paths;
    }

    // The file's journal mode, after setting it to `set` where given.
    static QString journalModeOf(const QString& file, const QString& set = {}) {
        return sqliteAnswer(file, set.isEmpty()
                                      ? QStringLiteral("PRAGMA journal_mode")
                                      : QStringLiteral("PRAGMA journal_mode = %1").arg(set))
            .toLower();
    }

  private slots:
    void init() { m_work = m_dir.filePath(QString::number(++m_case)); }

    void damagedOrForeignFilesAreNeverWritten_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("Flugbuch\nLOG00001.CSV;12:00\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated header") << QByteArray("SQLite format 3\0\x10\0", 19);
        // A real SQLite database of another program: no logbook mark.
        QTest::newRow("foreign database") << QByteArray("foreign");
    }
    void damagedOrForeignFilesAreNeverWritten() {
        QFETCH(QByteArray, bytes);
        const QString book = m_work + QStringLiteral("/book");
        const QString file = book + QStringLiteral("/logbook.sqlite");
        QDir().mkpath(book);
        if (bytes == "foreign") {
            {
                QSqlDatabase db =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
                db.setDatabaseName(file);
                QVERIFY(db.open());
                QSqlQuery(db).exec(QStringLiteral("CREATE TABLE waypoints (name TEXT)"));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        } else {
            QVERIFY(writeBytes(file, bytes));
        }
        const QByteArray before = readBytes(file);
        auto opened = Logbook::open(book);
        QVERIFY(!opened.ok());
        QCOMPARE(opened.failure().kind, FailureKind::LogbookDamaged);
        QVERIFY(opened.failure().message.startsWith(QStringLiteral("Flugbuch beschädigt: ")));
        QCOMPARE(readBytes(file), before);
        QCOMPARE(QDir(book).entryList(QDir::Files), QStringList{"logbook.sqlite"});
    }

    // Older versions too: their upgrade would be the first write.
    void damageInsideIsFoundBeforeWriting_data() {
        QTest::addColumn<QString>("logbook");
        QTest::newRow("version 1") << QStringLiteral("version1");
        QTest::newRow("version 2") << QStringLiteral("version2");
    }
    void damageInsideIsFoundBeforeWriting() {
        QFETCH(QString, logbook);
        const QString book = m_work + QStringLiteral("/book");
        const QString file = book + QStringLiteral("/logbook.sqlite");
        QVERIFY(copyCommittedLogbook(logbook, book));
        // The table's page overwritten behind an intact header and mark.
        QByteArray bytes = readBytes(file);
        QVERIFY(bytes.size() >= 3 * 4096);
        for (int i = 4096; i < 3 * 4096; ++i)
            bytes[i] = char(0xA5);
        QVERIFY(writeBytes(file, bytes));
        auto opened = Logbook::open(book);
        QVERIFY(!opened.ok());
        QCOMPARE(opened.failure().kind, FailureKind::LogbookDamaged);
        QCOMPARE(readBytes(file), bytes);
    }

    void aFullDiskFailsThatLogOnly() {
        // The copies' folder on a disk of 64 KiB: the first two logs fit,
        // the third does not.
        const QString book = m_work + QStringLiteral("/book");
        const QStringList logs = writeCard(m_work + QStringLiteral("/card"), 4);
        TinyDisk disk(book + QStringLiteral("/logs"));
        if (!disk.mounted())
            QSKIP(qPrintable(disk.why()));
        auto opened = Logbook::open(book);
        QVERIFY(opened.ok());
        Logbook& logbook = **opened;
        const ImportReport report = logbook.importLogs(logs);
        QVERIFY(report.added >= 1);
        QVERIFY(report.failed >= 1);
        for (const ImportedLog& log : report.logs)
            if (log.outcome == ImportOutcome::Failed)
                QVERIFY2(log.reason.startsWith(QLatin1String("Kopie ins Flugbuch: ")),
                         qPrintable(log.reason));
        checkConsistent(logbook);
        QCOMPARE(qint64(logbook.entries()->size()), report.added);
    }

    void aFileSizeLimitFailsTheBigLogCleanly() {
        const QString book = m_work + QStringLiteral("/book");
        auto opened = Logbook::open(book);
        QVERIFY(opened.ok());
        const QString big = m_work + QStringLiteral("/card/LOG00001.CSV");
        QVERIFY(writeLog(big, Flight{{{100, 5000}}, 5400}.log(V500), FlyingDay));
        const QString small = m_work + QStringLiteral("/card/LOG00002.CSV");
        QVERIFY(writeLog(small, Flight{{{10, 40}}, 60}.log(V500), FlyingDay));
        ImportReport report;
        {
            FileSizeLimit limit(64 * 1024);
            QVERIFY(limit.active());
            report = (*opened)->importLogs({big, small});
        }
        QCOMPARE(report.logs[0].outcome, ImportOutcome::Failed);
        QCOMPARE(report.logs[1].outcome, ImportOutcome::Added);
        checkConsistent(**opened);
        QCOMPARE((*opened)->importLog(big).outcome, ImportOutcome::Added);
    }

    void killedMidImportLeavesEveryFinishedLog() {
        const QString book = m_work + QStringLiteral("/book");
        const QStringList logs = writeCard(m_work + QStringLiteral("/card"), 40);
        int pipeFds[2];
        QCOMPARE(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            auto opened = Logbook::open(book);
            if (!opened)
                ::_exit(3);
            (*opened)->importLogs(logs, {}, [&](const ImportedLog& log, int, int) {
                if (log.outcome == ImportOutcome::Added) {
                    const QByteArray line = QFile::encodeName(log.path) + '\n';
                    (void)!::write(pipeFds[1], line.constData(), size_t(line.size()));
                }
                return true;
            });
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        QStringList finished;
        QByteArray pending;
        char buffer[4096];
        while (finished.size() < 6) {
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            pending.append(buffer, n);
            while (pending.contains('\n')) {
                const qsizetype end = pending.indexOf('\n');
                finished << QFile::decodeName(pending.left(end));
                pending.remove(0, end + 1);
            }
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(pipeFds[0]);
        QVERIFY(finished.size() >= 6);

        auto opened = Logbook::open(book);
        QVERIFY(opened.ok());
        const auto entries = (*opened)->entries();
        QVERIFY(entries.ok());
        QSet<QString> kept;
        for (const LogbookEntry& entry : *entries)
            kept.insert(entry.sha256);
        for (const QString& log : finished)
            QVERIFY2(kept.contains(sha256Of(log)), qPrintable(log));
        checkConsistent(**opened);
        // The rest comes in with the next import, nothing twice.
        const ImportReport rest = (*opened)->importLogs(logs);
        QCOMPARE(rest.failed, 0);
        QCOMPARE(rest.added + rest.alreadyThere, qint64(logs.size()));
        QCOMPARE((*opened)->entries()->size(), size_t(logs.size()));
    }

    void twoWritersAtOnce() {
        const QString book = m_work + QStringLiteral("/book");
        // Both import the same card, and each a card of its own.
        const QStringList shared = writeCard(m_work + QStringLiteral("/shared"), 12);
        const QStringList own[2] = {writeCard(m_work + QStringLiteral("/a"), 6, 100),
                                    writeCard(m_work + QStringLiteral("/b"), 6, 200)};
        pid_t children[2];
        for (int c = 0; c < 2; ++c) {
            children[c] = ::fork();
            QVERIFY(children[c] >= 0);
            if (children[c] == 0) {
                auto opened = Logbook::open(book);
                if (!opened)
                    ::_exit(3);
                const ImportReport report = (*opened)->importLogs(shared + own[c]);
                EntryChanges changes;
                changes.note = QStringLiteral("writer %1").arg(c);
                const bool noted = !(*opened)->update({1, 2}, changes);
                ::_exit(report.failed == 0 && report.added + report.alreadyThere == 18 && noted
                            ? 0
                            : 4);
            }
        }
        for (const pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        auto opened = Logbook::open(book);
        QVERIFY(opened.ok());
        QCOMPARE((*opened)->entries()->size(), size_t(24));
        checkConsistent(**opened);
    }

    // The window and its import each open the logbook. The second opening
    // must not drop the first's locks: another program would then take itself
    // for the only one, end the shared journal, and the window's later
    // writes would go where nobody reads them.
    void aSecondOpeningKeepsTheFirstsLocks() {
        const QString book = m_work + QStringLiteral("/book");
        const QStringList logs = writeCard(m_work + QStringLiteral("/card"), 2);
        auto window = Logbook::open(book);
        QVERIFY(window.ok());
        QCOMPARE((*window)->importLog(logs[0]).outcome, ImportOutcome::Added);
        {
            auto import = Logbook::open(book);
            QVERIFY(import.ok());
        }
        // The command line, a program of its own (a forked copy of this one
        // would share its SQLite state).
        auto entriesSeenByAnotherProgram = [&book] {
            QProcess cli;
            cli.start(QStringLiteral(LOGBOOK_CLI),
                      {QStringLiteral("--logbook"), book, QStringLiteral("list"),
                       QStringLiteral("--json")});
            if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
                return qsizetype(-1);
            return QJsonDocument::fromJson(cli.readAllStandardOutput()).array().size();
        };
        QCOMPARE(entriesSeenByAnotherProgram(), qsizetype(1));
        QCOMPARE((*window)->importLog(logs[1]).outcome, ImportOutcome::Added);
        QCOMPARE(entriesSeenByAnotherProgram(), qsizetype(2));
        window = Failure{};
        auto again = Logbook::open(book);
        QVERIFY(again.ok());
        QCOMPARE((*again)->entries()->size(), size_t(2));
        checkConsistent(**again);
    }

    // A logbook in the old journal mode is switched to WAL on opening, which
    // needs the file alone: another program's write must be waited for, not
    // reported as "database is locked" (as two programs opening a new logbook
    // at once once did).
    void switchedToWalWhileAnotherProgramWrites() {
        const QString book = m_work + QStringLiteral("/book");
        const QString file = book + QStringLiteral("/logbook.sqlite");
        {
            auto opened = Logbook::open(book);
            QVERIFY(opened.ok());
            QCOMPARE((*opened)->importLogs(writeCard(m_work + QStringLiteral("/card"), 2)).added,
                     qint64(2));
        }
        QCOMPARE(journalModeOf(file, QStringLiteral("DELETE")), QStringLiteral("delete"));
        int pipeFds[2];
        QCOMPARE(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            {
                QSqlDatabase db =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reader"));
                db.setDatabaseName(file);
                QSqlQuery query(db);
                const bool writing = db.open() && query.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                                     query.exec(QStringLiteral("SELECT count(*) FROM entries")) &&
                                     query.next();
                (void)!::write(pipeFds[1], writing ? "w" : "x", 1);
                ::usleep(400 * 1000);
            }
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        char state = 0;
        QCOMPARE(::read(pipeFds[0], &state, 1), ssize_t(1));
        ::close(pipeFds[0]);
        QCOMPARE(state, 'w');
        auto opened = Logbook::open(book);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.failure().message));
        QCOMPARE((*opened)->entries()->size(), size_t(2));
        opened = Failure{};
        QCOMPARE(journalModeOf(file), QStringLiteral("wal"));
    }
};

QTEST_GUILESS_MAIN(TestLogbookStorage)
#include "tst_logbook_storage.moc"
