// Flight summaries of known flights, values a log lacks left absent, and the
// text forms every display prints from the field table.
#include "core/flight_support.h"
#include "flight/flightsummary.h"
#include "flight/summarytext.h"
#include "i18n/viewcaptions.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <algorithm>
#include <cmath>

using namespace flight_support;

namespace {

const FirmwareVariant V407{407, 0};
const FirmwareVariant V500{500, 0};
const FirmwareVariant Duo{500, 1};

QString text(const FlightSummary& summary, const char* key, const QLocale& locale = QLocale::c()) {
    return summaryText(*summaryFieldNamed(key), summary, locale);
}

} // namespace

class TestFlightSummary : public QObject {
    Q_OBJECT

    LogFolder m_logs;

    FlightSummary summary(const QByteArray& bytes, const FirmwareVariant& firmware) {
        return summarizeFlight(m_logs.read(bytes, firmware));
    }

    // Climbs 2 m/s for 10 s, holds, sinks 1 m/s; flies north a minute of
    // latitude (1853 m) in 20 s, then is restarted and lies on the ground, the
    // barometric altitude drifted a metre below the switch-on place.
    FlightSummary knownFlight(const FirmwareVariant& firmware) {
        QByteArray bytes = "Altorin Log\r\n";
        const int scale = firmware.isDuo() ? 10 : 1;
        for (int t = 0; t <= 30; ++t) {
            const int altitude = 2 * std::min(t, 10) - std::max(0, t - 20);
            const QByteArray lat =
                t <= 20 ? QByteArray::number(48000000 + t * 500) : QByteArray("48010000");
            bytes += dataLine(firmware, t, altitude * scale, "8000000", lat, altitude + 480,
                              40 + (t == 12 ? 30 : 0));
        }
        bytes += dataLine(firmware, 0, -1 * scale, "0", "0");
        bytes += dataLine(firmware, 1, -1 * scale, "x", "48010000");
        return summary(bytes, firmware);
    }

  private slots:
    void initTestCase() { QVERIFY(m_logs.isValid()); }

    void knownFlight_data() {
        QTest::addColumn<int>("variant");
        QTest::newRow("from V500") << 500;
        QTest::newRow("Duo") << 501;
        QTest::newRow("up to V407x") << 407;
    }
    void knownFlight() {
        QFETCH(int, variant);
        const FirmwareVariant firmware = variant == 407 ? V407 : variant == 500 ? V500 : Duo;
        const FlightSummary s = knownFlight(firmware);
        QCOMPARE(s.duration, 30.0); // the restarted segment holds a single sample
        QCOMPARE(s.segments, 2);
        QCOMPARE(s.dataLines, 33);
        QCOMPARE(s.positionLines, 31);
        QCOMPARE(s.skippedLines, 1);
        QCOMPARE(s.firstSkippedLine, 34);
        QCOMPARE(s.startAltitude, 0.0);
        QCOMPARE(s.maxAltitude->value, 20.0);
        QCOMPARE(s.maxAltitude->time, 10.0); // the first sample that reaches it
        QCOMPARE(s.minAltitude->value, -1.0);
        QCOMPARE(s.minAltitude->time, 30.0 + 10); // after the restart's gap
        QCOMPARE(s.altitudeGain, 20.0);
        QCOMPARE(s.maxGpsAltitude->value, 500.0);
        QCOMPARE(s.maxClimb->value, 2.0);
        QCOMPARE(s.maxClimb->time, 0.0);
        QCOMPARE(s.maxSink->value, 1.0);
        QCOMPARE(s.maxSink->time, 22.0); // the window first lies wholly in the sink
        QVERIFY(std::abs(*s.trackDistance - 1853.25) < 0.1);
        QVERIFY(std::abs(s.maxStartDistance->value - 1853.25) < 0.1);
        QCOMPARE(s.maxStartDistance->time, 20.0);
        if (firmware.hasV500Layout()) {
            QCOMPARE(s.maxSpeed->value, 70.0);
            QCOMPARE(s.maxSpeed->time, 12.0);
        } else {
            QVERIFY(!s.maxSpeed);
            QCOMPARE(text(s, "maxSpeed"), QString());
        }
    }

    // No sample: only the counts and the date; no position: no GPS figures.
    void absentValues() {
        const FlightSummary empty = summary("Altorin Log\r\n", V500);
        QCOMPARE(empty.duration, 0.0);
        QVERIFY(empty.logDate.isValid());
        for (const SummaryField& field : summaryFields()) {
            const QString key = QString::fromLatin1(field.key);
            const bool present =
                QStringList{"file",      "date",          "duration",    "segments",
                            "dataLines", "positionLines", "skippedLines"}
                    .contains(key);
            QVERIFY2(present == !text(empty, field.key).isEmpty(), field.key);
            QVERIFY2(present == summaryNumber(field, empty).has_value() || key == "file",
                     field.key);
        }

        const FlightSummary ground =
            summary(dataLine(V500, 0, 0, "0", "0") + dataLine(V500, 1, 1, "0", "0"), V500);
        QCOMPARE(ground.maxAltitude->value, 1.0);
        QVERIFY(!ground.maxGpsAltitude && !ground.maxSpeed && !ground.trackDistance &&
                !ground.maxStartDistance);
    }

    // A log that only climbs has no sink, one that only sinks no climb, a
    // level one neither: never a figure of the wrong sign, nor its time.
    void climbOrSinkOnly() {
        auto flight = [this](int perSecond) {
            QByteArray bytes;
            for (int t = 0; t < 10; ++t)
                bytes += dataLine(V500, t, perSecond * t, "0", "0");
            return summary(bytes, V500);
        };
        const FlightSummary climbing = flight(2), sinking = flight(-3), level = flight(0);
        QCOMPARE(climbing.maxClimb->value, 2.0);
        QVERIFY(!climbing.maxSink);
        QCOMPARE(text(climbing, "maxSinkTime"), QString());
        QCOMPARE(sinking.maxSink->value, 3.0);
        QVERIFY(!sinking.maxClimb);
        QCOMPARE(text(sinking, "maxClimbTime"), QString());
        QVERIFY(!level.maxClimb && !level.maxSink);
    }

    // Locale-free by default; a display locale gets its own decimal point.
    void textForms() {
        const FlightSummary s = knownFlight(Duo);
        QCOMPARE(text(s, "maxAltitude"), QStringLiteral("20"));
        QCOMPARE(text(s, "trackDistance"), QStringLiteral("1853"));
        QCOMPARE(text(s, "date"),
                 s.logDate.toOffsetFromUtc(s.logDate.offsetFromUtc()).toString(Qt::ISODate));
        FlightSummary tenths = s;
        tenths.maxClimb->value = 1.306;
        tenths.maxSink->value = -0.001;
        QCOMPARE(text(tenths, "maxClimb"), QStringLiteral("1.31"));
        QCOMPARE(text(tenths, "maxSink"), QStringLiteral("0"));
        QCOMPARE(text(tenths, "maxClimb", QLocale(QLocale::German)), QStringLiteral("1,31"));
        tenths.trackDistance = 12345.6;
        QCOMPARE(text(tenths, "trackDistance", QLocale(QLocale::German)), QStringLiteral("12.346"));
        QVERIFY(!summaryFieldNamed("nothing"));
    }

    // The view's captions are found by key: every field has its own in both
    // languages.
    void everyFieldHasCaptions() {
        for (qint32 language : {0, 1}) {
            QStringList captions;
            for (const SummaryField& field : summaryFields())
                captions << summaryCaption(field.key, language);
            QVERIFY2(!captions.contains(QString()), qPrintable(captions.join(',')));
            QCOMPARE(captions.removeDuplicates(), 0);
        }
        QVERIFY(summaryCaption("nothing", 0).isEmpty());
    }

    // JSON a parser reads back, null for absent values; CSV quoting.
    void jsonAndCsv() {
        FlightSummary s = knownFlight(V407);
        s.logFile = QStringLiteral("card/\"a\",b\\LOG1.CSV");
        const QString json = summaryJson(s);
        QVERIFY(!json.contains(QLatin1Char('\n')));
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(json.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(object.size(), qsizetype(summaryFields().size()));
        QCOMPARE(object["file"].toString(), s.logFile);
        QCOMPARE(object["maxAltitude"].toDouble(), 20.0);
        QCOMPARE(object["skippedLines"].toInteger(), 1);
        QVERIFY(object["maxSpeed"].isNull());

        const QString row = summaryCsvRow(s);
        QVERIFY(row.startsWith(QStringLiteral("\"card/\"\"a\"\",b\\LOG1.CSV\",")));
        QVERIFY(row.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(row.count(QLatin1Char(',')), summaryCsvHeader().count(QLatin1Char(',')) + 1);
    }
};

QTEST_GUILESS_MAIN(TestFlightSummary)
#include "tst_flight_summary.moc"
