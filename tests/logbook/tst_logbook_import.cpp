// Importing cards into the logbook: every log kept once, by its bytes, with
// the figures of the variant it was read with.
#include "core/madeupflight.h"
#include "logbook/logbook.h"
#include "logbook/logdigest.h"
#include "logbook_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace logbook_support;

namespace {

const QDateTime FlyingDay(QDate(2026, 6, 14), QTime(15, 42, 10));

std::unique_ptr<Logbook> openLogbook(const QString& folder) {
    auto logbook = Logbook::open(folder);
    if (!logbook)
        qFatal("cannot open the logbook: %s", qPrintable(logbook.failure().message));
    return std::move(*logbook);
}

std::vector<LogbookEntry> allEntries(const Logbook& logbook) {
    auto entries = logbook.entries();
    if (!entries)
        qFatal("cannot list: %s", qPrintable(entries.failure().message));
    return *entries;
}

} // namespace

class TestLogbookImport : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;
    QString m_card;
    QString m_book;

    // A card of three flights of one day, in the device's names.
    void writeCard(const QString& card, int variant = 0) {
        for (int i = 1; i <= 3; ++i)
            QVERIFY(writeLog(card + QStringLiteral("/LOG0000%1.CSV").arg(i),
                             typicalFlight(V500, 10 * variant + i), FlyingDay.addSecs(3600 * i)));
    }

  private slots:
    void init() {
        ++m_case;
        m_card = m_dir.filePath(QStringLiteral("card%1").arg(m_case));
        m_book = m_dir.filePath(QStringLiteral("book%1").arg(m_case));
    }

    void theSameCardTwiceAddsNothing() {
        writeCard(m_card);
        auto book = openLogbook(m_book);
        const ImportReport first = book->importLogs({m_card});
        QCOMPARE(first.added, 3);
        QCOMPARE(first.failed + first.skipped + first.alreadyThere, 0);

        const ImportReport again = book->importLogs({m_card});
        QCOMPARE(again.added, 0);
        QCOMPARE(again.alreadyThere, 3);
        QCOMPARE(again.logs[0].entryId, first.logs[0].entryId);
        QVERIFY(again.logs[0].reason.contains(QString::number(first.logs[0].entryId)));

        // A renamed copy elsewhere is the same log.
        const QString renamed = m_dir.filePath(QStringLiteral("saved-flight.csv"));
        QVERIFY(QFile::copy(m_card + QStringLiteral("/LOG00002.CSV"), renamed));
        const ImportedLog copy = book->importLog(renamed);
        QCOMPARE(copy.outcome, ImportOutcome::AlreadyThere);
        QCOMPARE(copy.entryId, first.logs[1].entryId);
        QCOMPARE(allEntries(*book).size(), size_t(3));
    }

    void emptiedCardsWhoseLogsShareNames() {
        // After each flying day the card was emptied: the device started again
        // at LOG00001.CSV.
        writeCard(m_card + QStringLiteral("/may"), 0);
        writeCard(m_card + QStringLiteral("/june"), 1);
        auto book = openLogbook(m_book);
        const ImportReport report = book->importLogs({m_card + QStringLiteral("/may")});
        QCOMPARE(report.added, 3);
        QCOMPARE(book->importLogs({m_card + QStringLiteral("/june")}).added, 3);

        const auto entries = allEntries(*book);
        QCOMPARE(entries.size(), size_t(6));
        QSet<QString> copies;
        for (const LogbookEntry& entry : entries) {
            QVERIFY(entry.fileName.startsWith(QLatin1String("LOG0000")));
            const QByteArray bytes = readBytes(book->copyPath(entry));
            QCOMPARE(QString::fromLatin1(
                         QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()),
                     entry.sha256);
            copies.insert(book->copyPath(entry));
        }
        QCOMPARE(copies.size(), 6);
    }

    void aCardWithSubfoldersAndAnyLetterCase() {
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.CSV"), typicalFlight(V500), FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/old/log00007.csv"), typicalFlight(V500, 2),
                         FlyingDay));
        QVERIFY(
            writeLog(m_card + QStringLiteral("/SETUPUPL.HEX"), QByteArray(20, '\0'), FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.kml"), "<kml/>", FlyingDay));
        const QStringList logs = Logbook::logsNamedBy({m_card});
        QCOMPARE(logs.size(), 2);
        QVERIFY(logs[1].endsWith(QLatin1String("old/log00007.csv")));

        auto book = openLogbook(m_book);
        const QString empty = m_dir.filePath(QStringLiteral("empty%1").arg(m_case));
        QDir().mkpath(empty);
        const ImportReport report = book->importLogs({m_card, empty});
        QCOMPARE(report.added, 2);
        QCOMPARE(report.failed, 1); // the folder without logs is reported, not ignored
    }

    void mixedLayoutsWithAuto() {
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.CSV"), typicalFlight(V407), FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00002.CSV"), typicalFlight(V500), FlyingDay));
        auto book = openLogbook(m_book);
        QCOMPARE(book->importLogs({m_card}).added, 2);
        const auto entries = allEntries(*book);
        QCOMPARE(firmwareKey(entries[0].firmware), QStringLiteral("407"));
        QCOMPARE(firmwareKey(entries[1].firmware), QStringLiteral("500"));
        for (const LogbookEntry& entry : entries) {
            QCOMPARE(entry.launches, 1);
            QVERIFY(std::abs(entry.flightTime - 720) <= 10);
            QVERIFY(entry.maxAltitude && *entry.maxAltitude >= 120);
            QVERIFY(entry.trackDistance && *entry.trackDistance > 1000);
            QCOMPARE(entry.date, FlyingDay.addSecs(-FlyingDay.time().second() % 2));
        }
        QVERIFY(!entries[0].maxSpeed);
        QVERIFY(entries[1].maxSpeed);
    }

    void duoIsThePilotsChoiceAndCanBeChangedLater() {
        // Tenths of a metre: read as a 500, the Duo's 120 m look like 1200 m.
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.CSV"), typicalFlight(Duo), FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00002.CSV"), typicalFlight(V407), FlyingDay));
        auto book = openLogbook(m_book);
        const ImportReport report = book->importLogs({m_card}, {FirmwareChoice::Duo, {}});
        QCOMPARE(report.added, 2);
        auto entries = allEntries(*book);
        QCOMPARE(firmwareKey(entries[0].firmware), QStringLiteral("duo"));
        QCOMPARE(firmwareKey(entries[1].firmware), QStringLiteral("407"));
        QVERIFY(*entries[0].maxAltitude < 130);

        EntryChanges toV500;
        toV500.firmware = FirmwareVariant{500, 0};
        QVERIFY(!book->update({entries[0].id}, toV500));
        auto changed = book->entry(entries[0].id);
        QVERIFY(changed && *changed);
        QCOMPARE(firmwareKey((*changed)->firmware), QStringLiteral("500"));
        QVERIFY(*(*changed)->maxAltitude > 1200);
        QCOMPARE((*changed)->date, entries[0].date);

        // A variant whose layout the log does not have fails and changes nothing.
        EntryChanges to407;
        to407.firmware = FirmwareVariant{407, 0};
        const Status wrong = book->update({entries[0].id, entries[1].id}, to407);
        QVERIFY(wrong);
        QCOMPARE(wrong->kind, FailureKind::WrongFirmware);
        QCOMPARE(firmwareKey((*book->entry(entries[0].id))->firmware), QStringLiteral("500"));
    }

    // The summary's thermal figures, read in the same pass as the others.
    void thermalsOfEachFlight() {
        using flight_support::MadeUpFlight;
        // Six circles of 20 s at 1.5 m/s between a winch launch and a glide home.
        MadeUpFlight spiral(60, 2);
        spiral.ground(20).straight(10, 8).straight(40, -0.7).circles(120, 1.5, 20);
        spiral.straight(60, -0.7).glideDown(250).ground(20);
        MadeUpFlight glide;
        glide.ground(20).straight(10, 8).straight(40, -0.7).glideDown(100).ground(20);
        const QStringList logs{m_card + "/LOG00001.CSV", m_card + "/LOG00002.CSV",
                               m_card + "/LOG00003.CSV"};
        QVERIFY(writeLog(logs[0], spiral.log(V500, 1), FlyingDay));
        QVERIFY(writeLog(logs[1], spiral.log(V500, 5), FlyingDay.addSecs(900)));
        QVERIFY(writeLog(logs[2], glide.log(V500, 1), FlyingDay.addSecs(1800)));
        auto book = openLogbook(m_book);
        QCOMPARE(book->importLogs(logs).added, 3);
        const auto entries = allEntries(*book);

        for (const LogbookEntry& circling : {entries[0], entries[1]}) {
            QCOMPARE(circling.thermalCount, qint64(1));
            QVERIFY(std::abs(*circling.thermalClimb - 1.5) < 0.15);
            QCOMPARE(circling.bestThermalClimb, circling.thermalClimb);
            QVERIFY(std::abs(*circling.bestThermalGain - 180) < 18);
        }
        QCOMPARE(entries[0].thermalSource, QStringLiteral("circling"));
        QVERIFY(std::abs(*entries[0].circlingShare - 120 / entries[0].logTime) < 0.05);
        // One fix in 5 s cannot show a 20 s circle: sustained climb alone.
        QCOMPARE(entries[1].thermalSource, QStringLiteral("climbSparseFixes"));
        QCOMPARE(entries[2].thermalCount, qint64(0));
        QCOMPARE(entries[2].circlingShare, 0.0);
        QVERIFY(!entries[2].thermalClimb && !entries[2].bestThermalClimb &&
                !entries[2].bestThermalGain);

        // Read again as the Duo's tenths of a metre: a tenth of the climb.
        EntryChanges duo;
        duo.firmware = FirmwareVariant{500, 1};
        QVERIFY(!book->update({entries[0].id}, duo));
        const LogbookEntry tenths = **book->entry(entries[0].id);
        QCOMPARE(tenths.thermalCount, qint64(1));
        QVERIFY(std::abs(*tenths.thermalClimb - 0.15) < 0.015);
    }

    void headerOnlySkippedUnreadableFailed() {
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00001.CSV"), "Altorin V500\r\n", FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00002.CSV"),
                         "Altorin V500\r\n01;10:00:00;x;-2;y;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n",
                         FlyingDay));
        QVERIFY(writeLog(m_card + QStringLiteral("/LOG00003.CSV"), typicalFlight(V500), FlyingDay));
        QVERIFY(
            writeLog(m_card + QStringLiteral("/LOG00004.CSV"), typicalFlight(V500, 1), FlyingDay));
        QFile::setPermissions(m_card + QStringLiteral("/LOG00004.CSV"), {});
        const QString missing = m_card + QStringLiteral("/LOG00009.CSV");

        auto book = openLogbook(m_book);
        const ImportReport report = book->importLogs({m_card, missing});
        QCOMPARE(report.skipped, 1);
        QCOMPARE(report.logs[0].outcome, ImportOutcome::Skipped);
        QCOMPARE(report.logs[1].outcome, ImportOutcome::Failed);
        QVERIFY(report.logs[1].reason.contains(QLatin1String("Zeile 2")));
        QCOMPARE(report.logs[2].outcome, ImportOutcome::Added);
        QCOMPARE(report.logs[4].outcome, ImportOutcome::Failed);
        QCOMPARE(report.logs[4].reason, QStringLiteral("Datei nicht gefunden"));
        QCOMPARE(report.added + report.failed + report.skipped, 5);
        // Only what was added is kept: one entry, one copy.
        QCOMPARE(allEntries(*book).size(), size_t(report.added));
        QCOMPARE(QDir(m_book + QStringLiteral("/logs")).entryList(QDir::Files).size(),
                 int(report.added));
    }

    void modelsSitesNotesAndDates() {
        writeCard(m_card);
        auto book = openLogbook(m_book);
        QCOMPARE(book->importLogs({m_card}, {FirmwareChoice::Auto, QStringLiteral("Ventus")}).added,
                 3);
        auto entries = allEntries(*book);
        QCOMPARE(entries[2].model, QStringLiteral("Ventus"));

        EntryChanges changes;
        changes.model = QStringLiteral("Easy Glider");
        changes.site = QStringLiteral("Wasserkuppe");
        changes.note = QStringLiteral("Servo checked, \"new\" battery");
        QVERIFY(!book->update({entries[0].id, entries[1].id}, changes));
        QCOMPARE(*book->models(), (QStringList{"Easy Glider", "Ventus"}));
        QVERIFY(!book->renameModel(QStringLiteral("Easy Glider"), QStringLiteral("Easy Glider 4")));
        QCOMPARE(*book->models(), (QStringList{"Easy Glider 4", "Ventus"}));

        // A log copied without its file date: the pilot sets the flying day.
        EntryChanges date;
        date.date = QDateTime(QDate(2025, 8, 30), QTime(11, 5));
        QVERIFY(!book->update({entries[2].id}, date));
        const LogbookEntry corrected = **book->entry(entries[2].id);
        QCOMPARE(corrected.date, *date.date);
        QCOMPARE(corrected.site, QString());

        // An unknown id changes nothing at all.
        EntryChanges note;
        note.note = QStringLiteral("lost");
        const Status failed = book->update({entries[0].id, 999}, note);
        QVERIFY(failed);
        QCOMPARE((*book->entry(entries[0].id))->note, *changes.note);
    }

    void removeTakesTheCopyAlong() {
        writeCard(m_card);
        auto book = openLogbook(m_book);
        QCOMPARE(book->importLogs({m_card}).added, 3);
        const auto entries = allEntries(*book);
        QVERIFY(book->remove({entries[0].id, 999})); // nothing removed
        QCOMPARE(allEntries(*book).size(), size_t(3));
        QVERIFY(!book->remove({entries[0].id}));
        QVERIFY(!QFile::exists(book->copyPath(entries[0])));
        QVERIFY(QFile::exists(book->copyPath(entries[1])));
        QCOMPARE(allEntries(*book).size(), size_t(2));
        // Imported again it comes back.
        QCOMPARE(book->importLog(m_card + QStringLiteral("/LOG00001.CSV")).outcome,
                 ImportOutcome::Added);
    }

    void copiesKeepTheLogDateAndOrphansGo() {
        writeCard(m_card);
        {
            auto book = openLogbook(m_book);
            QCOMPARE(book->importLogs({m_card}).added, 3);
            const LogbookEntry entry = allEntries(*book).front();
            QCOMPARE(QFileInfo(book->copyPath(entry)).lastModified(), FlyingDay.addSecs(3600));
        }
        // A copy without entry, as an import killed between the two leaves it.
        const QString orphan = m_book + QStringLiteral("/logs/") + QString(64, QLatin1Char('a')) +
                               QStringLiteral(".CSV");
        QVERIFY(writeBytes(orphan, typicalFlight(V500, 5)));
        {
            // While another program imports, a copy without entry may be its
            // next one, about to get its entry: it stays.
            const int importer = ::open(
                QFile::encodeName(m_book + QStringLiteral("/import.lock")).constData(), O_RDWR);
            QVERIFY(importer >= 0);
            QCOMPARE(::flock(importer, LOCK_SH), 0);
            openLogbook(m_book);
            QVERIFY(QFile::exists(orphan));
            ::close(importer);
        }
        auto book = openLogbook(m_book);
        QVERIFY(!QFile::exists(orphan));
        QCOMPARE(QDir(m_book + QStringLiteral("/logs")).entryList(QDir::Files).size(), 3);
    }

    void stoppedBetweenTwoLogs() {
        writeCard(m_card);
        auto book = openLogbook(m_book);
        int calls = 0;
        const ImportReport report =
            book->importLogs({m_card}, {}, [&](const ImportedLog&, int done, int total) {
                ++calls;
                return !(done == 1 && total == 3);
            });
        QVERIFY(report.stopped);
        QCOMPARE(calls, 1);
        QCOMPARE(report.added, 1);
        QCOMPARE(allEntries(*book).size(), size_t(1));
    }

    // A log's identity is the SHA-256 of its bytes, whichever way it is
    // worked out: every length around the 64-byte blocks and their padding
    // (55 and 56 bytes, 119 and 120: one or two closing blocks) and a long one.
    void digestsAreSha256() {
        QCOMPARE(
            logDigest("abc"),
            QStringLiteral("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
        QByteArray bytes;
        for (int size = 0; size <= 200; ++size) {
            QCOMPARE(logDigest(bytes),
                     QString::fromLatin1(
                         QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
            bytes += char(size * 37 + 11);
        }
        const QByteArray log = bytes.repeated(5000) + "tail";
        QCOMPARE(
            logDigest(log),
            QString::fromLatin1(QCryptographicHash::hash(log, QCryptographicHash::Sha256).toHex()));
    }
};

QTEST_GUILESS_MAIN(TestLogbookImport)
#include "tst_logbook_import.moc"
