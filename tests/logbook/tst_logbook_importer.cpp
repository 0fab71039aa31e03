// The logbook's import on a worker thread, as the window runs it: the
// window's thread stays free, the pilot can stop between two logs, and
// closing the window mid-import leaves the logbook whole.
#include "logbook/logbookimporter.h"
#include "logbook_support.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

using namespace logbook_support;

namespace {

const QDateTime FlyingDay(QDate(2026, 8, 22), QTime(11, 5, 0));

std::unique_ptr<Logbook> openLogbook(const QString& folder) {
    auto logbook = Logbook::open(folder);
    if (!logbook)
        qFatal("cannot open the logbook: %s", qPrintable(logbook.failure().message));
    return std::move(*logbook);
}

ImportedLog loggedAt(const QSignalSpy& progress, qsizetype i) {
    return progress.at(i).at(0).value<ImportedLog>();
}

ImportReport reportOf(const QSignalSpy& finished, qsizetype i = 0) {
    return finished.at(i).at(0).value<ImportReport>();
}

// Turns the event loop as the window's does, without the pauses of QTRY,
// until `condition` holds; false after a minute.
bool turnUntil(const std::function<bool()>& condition) {
    QTimer wake; // so that the wait below ends now and then
    wake.start(100);
    const QDeadlineTimer deadline(60000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace

class TestLogbookImporter : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;
    QString m_card;
    QString m_book;

    // A long flying day: one flight after the other, both layouts.
    QStringList writeCard(int logs) {
        QStringList paths;
        for (int i = 1; i <= logs; ++i) {
            const QString path =
                m_card + QStringLiteral("/LOG%1.CSV").arg(i, 5, 10, QLatin1Char('0'));
            if (!writeLog(path, typicalFlight(i % 4 ? V500 : V407, i), FlyingDay.addSecs(900 * i)))
                qFatal("cannot write %s", qPrintable(path));
            paths << path;
        }
        return paths;
    }

  private slots:
    void init() {
        ++m_case;
        m_card = m_dir.filePath(QStringLiteral("card%1").arg(m_case));
        m_book = m_dir.filePath(QStringLiteral("book%1").arg(m_case));
    }

    void progressInOrderThenTheCounts() {
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.CSV"), typicalFlight(V500), FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00002.CSV"), "Altorin V500\r\n", FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00003.CSV"), typicalFlight(V407, 1),
                         FlyingDay.addSecs(1800)));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00004.CSV"),
                         "Altorin V500\r\n01;10:00:00;x;-2;y;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n",
                         FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00005.CSV"), typicalFlight(V500, 2),
                         FlyingDay.addSecs(3600)));

        LogbookImporter importer(m_book);
        QSignalSpy progress(&importer, &LogbookImporter::progress);
        QSignalSpy finished(&importer, &LogbookImporter::finished);
        // Receivers run on the importer's thread even when connected directly.
        QThread* heardOn = nullptr;
        connect(
            &importer, &LogbookImporter::finished, this,
            [&heardOn, &importer](const ImportReport&) {
                QVERIFY(!importer.busy()); // a new import may start from here
                heardOn = QThread::currentThread();
            },
            Qt::DirectConnection);

        QVERIFY(!importer.busy());
        QVERIFY(importer.start({m_card}, {FirmwareChoice::Auto, QStringLiteral("Ventus")}));
        QVERIFY(importer.busy());
        QVERIFY(!importer.start({m_card}, {}));
        QVERIFY(turnUntil([&] { return finished.count() == 1; }));
        QCOMPARE(heardOn, QThread::currentThread());
        QVERIFY(!importer.busy());

        const ImportOutcome expected[] = {ImportOutcome::Added, ImportOutcome::Skipped,
                                          ImportOutcome::Added, ImportOutcome::Failed,
                                          ImportOutcome::Added};
        QCOMPARE(progress.count(), 5);
        const ImportReport report = reportOf(finished);
        for (int i = 0; i < 5; ++i) {
            const ImportedLog log = loggedAt(progress, i);
            QCOMPARE(progress.at(i).at(1).toInt(), i + 1);
            QCOMPARE(progress.at(i).at(2).toInt(), 5);
            QVERIFY(log.path.endsWith(QStringLiteral("LOG0000%1.CSV").arg(i + 1)));
            QCOMPARE(log.outcome, expected[i]);
            QCOMPARE(report.logs[i].path, log.path);
        }
        QCOMPARE(report.added, 3);
        QCOMPARE(report.skipped, 1);
        QCOMPARE(report.failed, 1);
        QVERIFY(!report.logs[3].reason.isEmpty());
        QVERIFY(!report.stopped);

        // Once the end is heard the worker's logbook is closed: the window
        // opens its own, and the options reached every entry.
        auto book = openLogbook(m_book);
        const auto entries = book->entries();
        QCOMPARE(entries->size(), size_t(3));
        for (const LogbookEntry& entry : *entries)
            QCOMPARE(entry.model, QStringLiteral("Ventus"));
        checkConsistent(*book);

        // The same importer runs again: the card adds nothing the second time.
        QVERIFY(importer.start({m_card}, {}));
        QVERIFY(turnUntil([&] { return finished.count() == 2; }));
        const ImportReport again = reportOf(finished, 1);
        QCOMPARE(again.added, 0);
        QCOMPARE(again.alreadyThere, 3);
    }

    void stoppedBetweenTwoLogs() {
        const QStringList logs = writeCard(20);
        LogbookImporter importer(m_book);
        QSignalSpy progress(&importer, &LogbookImporter::progress);
        QSignalSpy finished(&importer, &LogbookImporter::finished);

        // Stopped at once: at most the first log, and it whole.
        QVERIFY(importer.start(logs, {}));
        importer.stop();
        QVERIFY(turnUntil([&] { return finished.count() == 1; }));
        QVERIFY(reportOf(finished).stopped);
        QVERIFY(reportOf(finished).logs.size() <= 1);

        // The pilot presses stop when the first log is reported.
        connect(&importer, &LogbookImporter::progress, this,
                [&importer](const ImportedLog&, int done, int) {
                    if (done == 1)
                        importer.stop();
                });
        progress.clear();
        QVERIFY(importer.start(logs, {}));
        QVERIFY(turnUntil([&] { return finished.count() == 2; }));
        const ImportReport report = reportOf(finished, 1);
        QVERIFY(report.stopped);
        QVERIFY(report.logs.size() < size_t(logs.size()));
        QCOMPARE(progress.count(), qsizetype(report.logs.size()));

        // Exactly the logs reported are kept, each with its copy; the logs
        // read ahead leave no entry.
        auto book = openLogbook(m_book);
        QSet<QString> kept;
        const auto entries = book->entries();
        QVERIFY(entries.ok());
        for (const LogbookEntry& entry : *entries)
            kept.insert(entry.sha256);
        QSet<QString> done;
        for (const ImportedLog& log : report.logs)
            if (log.outcome == ImportOutcome::Added || log.outcome == ImportOutcome::AlreadyThere)
                done.insert(sha256Of(log.path));
        QCOMPARE(kept, done);
        checkConsistent(*book);
    }

    void destroyedWhileRunning() {
        const QStringList logs = writeCard(30);
        {
            // Closed before the worker has even begun.
            LogbookImporter importer(m_book);
            QVERIFY(importer.start(logs, {}));
        }
        auto importer = std::make_unique<LogbookImporter>(m_book);
        QSignalSpy progress(importer.get(), &LogbookImporter::progress);
        QVERIFY(importer->start(logs, {}));
        QVERIFY(turnUntil([&] { return progress.count() >= 2; }));
        importer.reset();

        auto book = openLogbook(m_book);
        const auto entries = book->entries();
        QVERIFY(entries->size() >= 2);
        QVERIFY(entries->size() < size_t(logs.size()));
        checkConsistent(*book);
        // No event of the gone importer is delivered late.
        QTest::qWait(20);
    }

    void theWindowsThreadStaysFree() {
        const QStringList logs = writeCard(40);
        LogbookImporter importer(m_book);
        QSignalSpy finished(&importer, &LogbookImporter::finished);
        // A clock on the window's thread, read at every log reported.
        int ticks = 0;
        QTimer clock;
        clock.setInterval(1);
        connect(&clock, &QTimer::timeout, this, [&ticks] { ++ticks; });
        std::vector<int> ticksAtLog;
        connect(
            &importer, &LogbookImporter::progress, this,
            [&ticks, &ticksAtLog](const ImportedLog&, int, int) { ticksAtLog.push_back(ticks); });
        clock.start();
        QVERIFY(importer.start(logs, {}));
        QVERIFY(turnUntil([&] { return finished.count() == 1; }));
        QCOMPARE(reportOf(finished).added, logs.size());
        QCOMPARE(ticksAtLog.size(), size_t(logs.size()));
        // The clock went on between the first log reported and the last.
        QVERIFY2(ticksAtLog.back() > ticksAtLog.front(),
                 qPrintable(QStringLiteral("%1 ticks").arg(ticksAtLog.back())));
    }

    void twoImportsOfOneProgramAtOnce() {
        // Two imports started at once on a new folder: both create the
        // logbook, one of them is kept, and every log once.
        const QStringList logs = writeCard(24);
        LogbookImporter first(m_book), second(m_book);
        QSignalSpy firstEnd(&first, &LogbookImporter::finished);
        QSignalSpy secondEnd(&second, &LogbookImporter::finished);
        QVERIFY(first.start(logs, {}));
        QVERIFY(second.start(logs.mid(12) + logs.mid(0, 12), {}));
        QVERIFY(turnUntil([&] { return firstEnd.count() == 1 && secondEnd.count() == 1; }));
        const ImportReport a = reportOf(firstEnd), b = reportOf(secondEnd);
        QCOMPARE(a.failed + b.failed, 0);
        QCOMPARE(a.added + a.alreadyThere, logs.size());
        QCOMPARE(a.added + b.added, logs.size());
        auto book = openLogbook(m_book);
        checkConsistent(*book);
        QCOMPARE(QDir(m_book).entryList({QStringLiteral("*.new-*")}, QDir::Files), QStringList());
    }

    void aDamagedLogbookIsReportedPerLog() {
        const QStringList logs = writeCard(2);
        const QString file = m_book + QStringLiteral("/logbook.sqlite");
        const QByteArray foreign("Flugbuch\nLOG00001.CSV;12:00\n");
        QVERIFY(QDir().mkpath(m_book));
        QVERIFY(writeBytes(file, foreign));

        LogbookImporter importer(m_book);
        QSignalSpy progress(&importer, &LogbookImporter::progress);
        QSignalSpy finished(&importer, &LogbookImporter::finished);
        QVERIFY(importer.start({m_card}, {}));
        QVERIFY(turnUntil([&] { return finished.count() == 1; }));
        const ImportReport report = reportOf(finished);
        QCOMPARE(report.failed, 2);
        QCOMPARE(report.added + report.alreadyThere + report.skipped, 0);
        QCOMPARE(progress.count(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(report.logs[i].path, logs[i]);
            QCOMPARE(report.logs[i].outcome, ImportOutcome::Failed);
            QVERIFY2(report.logs[i].reason.startsWith(QStringLiteral("Flugbuch beschädigt: ")),
                     qPrintable(report.logs[i].reason));
        }
        QCOMPARE(readBytes(file), foreign);
        QCOMPARE(QDir(m_book).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"logbook.sqlite"});
    }
};

QTEST_GUILESS_MAIN(TestLogbookImporter)
#include "tst_logbook_importer.moc"
