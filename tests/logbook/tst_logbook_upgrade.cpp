// Logbooks of older versions opened by this one: every entry and every
// figure kept, the figures a version added computed from the copies (or left
// empty where a copy cannot be read), and a newer logbook refused untouched.
#include "logbook/logbook.h"
#include "logbook/logbookdatabase.h"
#include "logbook_files.h"
#include "logbook_support.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace logbook_support;

namespace {

const QString AllRows = QStringLiteral("SELECT * FROM entries ORDER BY id");

QString databaseIn(const QString& book) {
    return book + QStringLiteral("/logbook.sqlite");
}

int versionOf(const QString& book) {
    const auto rows = rowsOf(databaseIn(book), QStringLiteral("PRAGMA user_version"));
    return rows.isEmpty() ? -1 : rows.front().first().toInt();
}

// Every column the rows had before is still there with its value.
void checkKept(const QList<QVariantMap>& before, const QList<QVariantMap>& after) {
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        for (auto column = before[i].begin(); column != before[i].end(); ++column)
            QVERIFY2(after[i].value(column.key()) == column.value(),
                     qPrintable(QStringLiteral("entry %1, %2: %3 became %4")
                                    .arg(before[i].value("id").toString(), column.key(),
                                         column.value().toString(),
                                         after[i].value(column.key()).toString())));
}

void checkSameThermals(const LogbookEntry& entry, const LogbookEntry& fresh) {
    QCOMPARE(entry.thermalCount, fresh.thermalCount);
    QCOMPARE(entry.circlingShare, fresh.circlingShare);
    QCOMPARE(entry.thermalClimb, fresh.thermalClimb);
    QCOMPARE(entry.bestThermalClimb, fresh.bestThermalClimb);
    QCOMPARE(entry.bestThermalGain, fresh.bestThermalGain);
    QCOMPARE(entry.thermalSource, fresh.thermalSource);
}

void checkNoThermals(const LogbookEntry& entry) {
    QVERIFY(!entry.thermalCount && !entry.circlingShare && !entry.thermalClimb &&
            !entry.bestThermalClimb && !entry.bestThermalGain);
    QCOMPARE(entry.thermalSource, QString());
}

bool near(const std::optional<double>& value, double expected, double share) {
    return value && std::abs(*value - expected) <= share * std::abs(expected);
}

} // namespace

class TestLogbookUpgrade : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;
    QString m_work;

    // The entries a fresh import of the same logs gives, by hash; each copy
    // read with the firmware its entry has.
    std::map<QString, LogbookEntry> freshImportOf(const std::vector<LogbookEntry>& entries,
                                                  const Logbook& from) {
        auto fresh = Logbook::open(m_work + QStringLiteral("/fresh"));
        if (!fresh)
            qFatal("%s", qPrintable(fresh.failure().message));
        std::map<QString, LogbookEntry> bySha;
        for (const LogbookEntry& entry : entries) {
            const ImportedLog imported = (*fresh)->importLog(from.copyPath(entry));
            if (imported.outcome != ImportOutcome::Added)
                qFatal("fresh import: %s", qPrintable(imported.reason));
            EntryChanges sameFirmware;
            sameFirmware.firmware = entry.firmware;
            if (auto failure = (*fresh)->update({imported.entryId}, sameFirmware))
                qFatal("fresh import: %s", qPrintable(failure->message));
            bySha[entry.sha256] = **(*fresh)->entry(imported.entryId);
        }
        return bySha;
    }

  private slots:
    void init() { m_work = m_dir.filePath(QString::number(++m_case)); }

    // The chain from version 1 and the step from version 2.
    void everyEntryKeptAndThermalsAsAFreshImport_data() {
        QTest::addColumn<QString>("logbook");
        QTest::newRow("version 1") << QStringLiteral("version1");
        QTest::newRow("version 2") << QStringLiteral("version2");
    }
    void everyEntryKeptAndThermalsAsAFreshImport() {
        QFETCH(QString, logbook);
        const QString book = m_work + QStringLiteral("/book");
        QVERIFY(copyCommittedLogbook(logbook, book));
        const QList<QVariantMap> before = rowsOf(databaseIn(book), AllRows);
        QCOMPARE(before.size(), 2);
        {
            auto opened = Logbook::open(book);
            QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.failure().message));
            const auto entries = (*opened)->entries();
            QVERIFY(entries.ok());
            const auto fresh = freshImportOf(*entries, **opened);
            for (const LogbookEntry& entry : *entries) {
                QVERIFY(entry.thermalCount);
                checkSameThermals(entry, fresh.at(entry.sha256));
            }
            // The version-2 logbook holds a flight circling four times at
            // 1.5 m/s, and a device left on the ground.
            if (logbook == QLatin1String("version2")) {
                QCOMPARE((*entries)[0].thermalSource, QStringLiteral("circling"));
                QCOMPARE((*entries)[0].thermalCount, qint64(1));
                QVERIFY(near((*entries)[0].thermalClimb, 1.5, 0.1));
                QCOMPARE((*entries)[1].thermalCount, qint64(0));
            }
            checkConsistent(**opened);
        }
        QCOMPARE(versionOf(book), LogbookDatabase::SchemaVersion);
        checkKept(before, rowsOf(databaseIn(book), AllRows));
    }

    void anUnreadableCopyLeavesItsFiguresEmpty() {
        const QString book = m_work + QStringLiteral("/book");
        QVERIFY(copyCommittedLogbook(QStringLiteral("version2"), book));
        const QList<QVariantMap> before = rowsOf(databaseIn(book), AllRows);
        const QString copies = book + QStringLiteral("/logs/");
        const QString flight = copies + before[0].value("sha256").toString() + ".CSV";
        const QString ground = copies + before[1].value("sha256").toString() + ".CSV";
        // The flight's copy cut short (it reads well, but is not the log
        // the entry was made from), the ground log's gone.
        const QByteArray bytes = readBytes(flight);
        QVERIFY(writeBytes(flight, bytes.left(bytes.indexOf("\r\n", bytes.size() / 2) + 2)));
        QVERIFY(QFile::remove(ground));
        {
            auto opened = Logbook::open(book);
            QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.failure().message));
            const auto entries = (*opened)->entries();
            QVERIFY(entries.ok());
            QCOMPARE(entries->size(), size_t(2));
            for (const LogbookEntry& entry : *entries)
                checkNoThermals(entry);
        }
        QCOMPARE(versionOf(book), LogbookDatabase::SchemaVersion);
        QCOMPARE(integrityOf(databaseIn(book)), QStringLiteral("ok"));
        checkKept(before, rowsOf(databaseIn(book), AllRows));
    }

    void versionOneEntriesStayUsable() {
        const QString book = m_work + QStringLiteral("/book");
        QVERIFY(copyCommittedLogbook(QStringLiteral("version1"), book));
        auto opened = Logbook::open(book);
        QVERIFY2(opened.ok(), opened.ok() ? "" : qPrintable(opened.failure().message));
        Logbook& logbook = **opened;
        auto entries = logbook.entries();
        QVERIFY(entries.ok());
        QCOMPARE(entries->size(), size_t(2));
        const LogbookEntry& first = (*entries)[0];
        QCOMPARE(first.model, QStringLiteral("Easy Glider"));
        QCOMPARE(first.site, QStringLiteral("Wasserkuppe"));
        QCOMPARE(first.note, QStringLiteral("first flight after the servo check"));
        QCOMPARE(first.date, QDateTime(QDate(2025, 7, 19), QTime(14, 32, 10), Qt::UTC));
        // The file date the older version had no place for is the log date.
        QCOMPARE(first.fileDate, first.date);
        QCOMPARE(firmwareKey((*entries)[1].firmware), QStringLiteral("500"));
        QCOMPARE(*(*entries)[1].maxSpeed, 95.0);

        // A corrected date keeps the file's own from now on.
        EntryChanges changes;
        changes.date = QDateTime(QDate(2025, 7, 20), QTime(10, 0));
        QVERIFY(!logbook.update({first.id}, changes));
        const LogbookEntry corrected = **logbook.entry(first.id);
        QCOMPARE(corrected.fileDate, first.date);
        // The copies came along: an entry is read again from its copy.
        EntryChanges duo;
        duo.firmware = FirmwareVariant{500, 1};
        QVERIFY(!logbook.update({(*entries)[1].id}, duo));
        QCOMPARE(*(**logbook.entry((*entries)[1].id)).maxAltitude, 73.4);
        checkConsistent(logbook);
    }

    void aNewerLogbookIsNotTouched_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("the next") << LogbookDatabase::SchemaVersion + 1;
        QTest::newRow("much later") << 99;
    }
    void aNewerLogbookIsNotTouched() {
        QFETCH(int, version);
        const QString book = m_work + QStringLiteral("/book");
        QVERIFY(copyCommittedLogbook(QStringLiteral("version2"), book));
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            db.setDatabaseName(databaseIn(book));
            QVERIFY(db.open());
            QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
        const QByteArray before = readBytes(databaseIn(book));
        auto opened = Logbook::open(book);
        QVERIFY(!opened.ok());
        QVERIFY(opened.failure().message.contains(QLatin1String("neueren")));
        QVERIFY(opened.failure().message.contains(QString::number(version)));
        QCOMPARE(readBytes(databaseIn(book)), before);
    }
};

QTEST_GUILESS_MAIN(TestLogbookUpgrade)
#include "tst_logbook_upgrade.moc"
