#include "flight/summarycsv.h"

#include <QTest>

class TestFlightSummaryCsv : public QObject {
    Q_OBJECT

  private slots:
    // One row per flight under the head; a path that holds the separator or
    // a quote stays one cell; an absent value is an empty cell.
    void rowsAndQuoting() {
        FlightSummary plain, odd;
        plain.logFile = QStringLiteral("/card/LOG00012.CSV");
        plain.maxClimb = FlightSummary::Extreme{2.345, 60};
        odd.logFile = QStringLiteral("/card/a,b \"c\"/LOG00013.CSV");
        const FlightSummary summaries[] = {plain, odd};
        const QList<QByteArray> lines = summaryCsv(summaries).split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[3], QByteArray());
        for (int i = 0; i < 3; ++i)
            QVERIFY(lines[i].endsWith('\r'));
        const QList<QByteArray> keys = lines[0].chopped(1).split(',');
        const QList<QByteArray> first = lines[1].chopped(1).split(',');
        QCOMPARE(first.size(), keys.size());
        QCOMPARE(first[keys.indexOf("maxClimb")], QByteArray("2.35"));
        QCOMPARE(first[keys.indexOf("maxSpeed")], QByteArray());
        QVERIFY(lines[2].startsWith("\"/card/a,b \"\"c\"\"/LOG00013.CSV\","));
    }
};

QTEST_MAIN(TestFlightSummaryCsv)
#include "tst_flight_summarycsv.moc"
