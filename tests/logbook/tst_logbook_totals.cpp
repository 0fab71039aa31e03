// Totals and filters of the logbook, and its CSV export, on entries whose
// sums were worked out by hand. Dates are the pilot's local dates: the test
// runs in a zone east of UTC, so a late flight falls on the next day there.
#include "logbook/logbookcsv.h"
#include "logbook/logbookentry.h"

#include <QTest>
#include <ctime>

namespace {

LogbookEntry entry(qint64 id, const char* utc, const char* model, double flightTime,
                   qint64 launches, double logTime, std::optional<double> maxAltitude,
                   std::optional<double> distance, const char* site = "", const char* note = "") {
    LogbookEntry e;
    e.id = id;
    e.fileName = QStringLiteral("LOG%1.CSV").arg(id, 5, 10, QLatin1Char('0'));
    e.date = QDateTime::fromString(QLatin1String(utc), Qt::ISODate);
    e.fileDate = e.date;
    e.importedAt = e.date;
    e.model = QString::fromUtf8(model);
    e.flightTime = flightTime;
    e.launches = launches;
    e.logTime = logTime;
    e.maxAltitude = maxAltitude;
    e.trackDistance = distance;
    e.site = QString::fromUtf8(site);
    e.note = QString::fromUtf8(note);
    return e;
}

} // namespace

class TestLogbookTotals : public QObject {
    Q_OBJECT

    std::vector<LogbookEntry> m_entries;

  private slots:
    void initTestCase() {
        qputenv("TZ", "Europe/Berlin");
        tzset();
        m_entries = {
            entry(1, "2025-12-31T23:30:00Z", "Easy Glider", 600, 1, 700, 120, 5000, "Wasserkuppe"),
            entry(2, "2026-06-30T21:59:00Z", "Easy Glider", 1200, 2, 1500, 180, 9000),
            entry(3, "2026-06-30T22:01:00Z", "Ventus", 1800, 1, 2000, 350, 20000, "",
                  "servo check done"),
            entry(4, "2026-07-12T10:00:00Z", "", 0, 0, 300, std::nullopt, std::nullopt),
            entry(5, "2026-07-13T10:00:00Z", "Ventus", 3600, 3, 3900, 410.5, 31000.25,
                  "Hahnenkamm"),
        };
    }

    void totalsByModelMonthAndYear() {
        const auto byModel = totalsOf(m_entries, TotalsGrouping::Model);
        QCOMPARE(byModel.size(), size_t(3));
        QCOMPARE(byModel[0].key, QString()); // no model set: the first row
        QCOMPARE(byModel[0].flights, 1);
        QVERIFY(!byModel[0].maxAltitude);
        QCOMPARE(byModel[1].key, QStringLiteral("Easy Glider"));
        QCOMPARE(byModel[1].flights, 2);
        QCOMPARE(byModel[1].launches, 3);
        QCOMPARE(byModel[1].flightTime, 1800.0);
        QCOMPARE(byModel[1].logTime, 2200.0);
        QCOMPARE(*byModel[1].maxAltitude, 180.0);
        QCOMPARE(byModel[1].trackDistance, 14000.0);
        QCOMPARE(byModel[2].launches, 4);
        QCOMPARE(byModel[2].flightTime, 5400.0);
        QCOMPARE(*byModel[2].maxAltitude, 410.5);
        QCOMPARE(byModel[2].trackDistance, 51000.25);

        // Local months: entry 1 is New Year's Day, entry 3 the first of July.
        const auto byMonth = totalsOf(m_entries, TotalsGrouping::Month);
        QStringList keys;
        for (const LogbookTotals& t : byMonth)
            keys << t.key + QLatin1Char('=') + QString::number(t.flights);
        QCOMPARE(keys, (QStringList{"2026-01=1", "2026-06=1", "2026-07=3"}));
        QCOMPARE(byMonth[2].flightTime, 5400.0);
        QCOMPARE(byMonth[2].launches, 4);

        const auto byYear = totalsOf(m_entries, TotalsGrouping::Year);
        QCOMPARE(byYear.size(), size_t(1));
        QCOMPARE(byYear[0].key, QStringLiteral("2026"));
        QCOMPARE(byYear[0].flightTime, 7200.0);
        QCOMPARE(byYear[0].logTime, 8400.0);
        QCOMPARE(byYear[0].trackDistance, 65000.25);

        const auto none = totalsOf({}, TotalsGrouping::All);
        QCOMPARE(none.size(), size_t(1));
        QCOMPARE(none[0].flights, 0);
        QVERIFY(!none[0].maxAltitude);
    }

    void filtersTakeBothEndsOfARange() {
        const auto ids = [this](const LogbookFilter& filter) {
            QList<qint64> taken;
            for (const LogbookEntry& e : m_entries)
                if (filter.takes(e))
                    taken << e.id;
            return taken;
        };
        LogbookFilter july;
        july.from = QDate(2026, 7, 1);
        july.to = QDate(2026, 7, 12);
        QCOMPARE(ids(july), (QList<qint64>{3, 4}));

        LogbookFilter since; // the maintenance counter
        since.from = QDate(2026, 7, 1);
        const auto counter = totalsOf(
            [&] {
                std::vector<LogbookEntry> taken;
                for (const LogbookEntry& e : m_entries)
                    if (since.takes(e))
                        taken.push_back(e);
                return taken;
            }(),
            TotalsGrouping::All);
        QCOMPARE(counter[0].flights, 3);
        QCOMPARE(counter[0].flightTime, 5400.0);

        LogbookFilter model;
        model.model = QStringLiteral("Ventus");
        model.minFlightTime = 1800; // the bound itself is taken
        QCOMPARE(ids(model), (QList<qint64>{3, 5}));
        model.minFlightTime = 1801;
        QCOMPARE(ids(model), (QList<qint64>{5}));

        LogbookFilter text;
        text.text = QStringLiteral("SERVO");
        QCOMPARE(ids(text), (QList<qint64>{3}));
        text.text = QStringLiteral("kuppe");
        QCOMPARE(ids(text), (QList<qint64>{1}));

        LogbookFilter unset;
        unset.model = QString();
        QCOMPARE(ids(unset), (QList<qint64>{4}));
    }

    void csvHasEveryFigure() {
        std::vector<LogbookEntry> entries{m_entries[2], m_entries[3]};
        entries[0].note = QStringLiteral("thermal, then \"the\" landing");
        entries[0].firmware = {500, 1};
        entries[0].maxClimb = 3.25;
        const QList<QByteArray> lines = logbookCsv(entries).split('\n');
        QCOMPARE(lines.size(), 4); // heading, two rows, the end of the last line
        const QList<QByteArray> heading = lines[0].trimmed().split(',');
        QVERIFY(heading.contains("flightTime") && heading.contains("maxStartDistance") &&
                heading.contains("sha256") && heading.contains("launches"));
        const QByteArray row = lines[1].trimmed();
        QVERIFY(row.startsWith("3,2026-07-01T00:01:00+02:00,"));
        QVERIFY(row.contains(",duo,Ventus,,\"thermal, then \"\"the\"\" landing\",1800,1,2000,"));
        QVERIFY(row.contains(",3.25,"));
        QVERIFY(row.contains(",350,"));
        // Absent figures stay empty, never 0.
        const QList<QByteArray> fields = lines[2].trimmed().split(',');
        QCOMPARE(fields.size(), heading.size());
        QCOMPARE(fields[heading.indexOf("maxAltitude")], QByteArray());
        QCOMPARE(fields[heading.indexOf("flightTime")], QByteArray("0"));
    }

    // The thermal columns come last: a sheet made for the earlier export
    // finds its columns where they were.
    void csvThermalColumnsAtTheEnd() {
        std::vector<LogbookEntry> entries{m_entries[0], m_entries[1]};
        entries[0].thermalCount = 2;
        entries[0].circlingShare = 0.412;
        entries[0].thermalClimb = 1.25;
        entries[0].bestThermalClimb = 1.8;
        entries[0].bestThermalGain = 143.5;
        entries[0].thermalSource = QStringLiteral("circling");
        const QList<QByteArray> lines = logbookCsv(entries).split('\n');
        const QByteArray heading = lines[0].trimmed();
        QVERIFY(heading.startsWith("id,date,fileDate,file,sha256,fileSize,importedAt,firmware,"));
        QVERIFY(heading.endsWith(",trackDistance,maxStartDistance,thermalCount,circlingShare,"
                                 "thermalClimb,bestThermalClimb,bestThermalGain,thermalSource"));
        QVERIFY(lines[1].trimmed().endsWith(",2,0.412,1.25,1.8,143.5,circling"));
        // An entry whose log an upgrade could not read again: empty, never 0.
        QVERIFY(lines[2].trimmed().endsWith(",,,,,,"));
    }
};

QTEST_GUILESS_MAIN(TestLogbookTotals)
#include "tst_logbook_totals.moc"
