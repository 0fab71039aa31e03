// A log read for the flight view: columns, segments of a restarted log, lines
// without position, skipped lines, the variants, and the derived series
// against flights of known length and climb.
#include "convert/conversion.h"
#include "core/flight_support.h"
#include "flight/flightseries.h"
#include "log/datalines.h"

#include <QFile>
#include <QTest>
#include <cmath>
#include <cstring>
#include <numbers>
#include <sys/stat.h>

using namespace flight_support;

namespace {

const FirmwareVariant V407{407, 0};
const FirmwareVariant V500{500, 0};
const FirmwareVariant Duo{500, 1};

QByteArray line500(qint64 elapsed, qint64 altitude, const QByteArray& lon, const QByteArray& lat,
                   qint64 gps = 500, qint64 speed = 42) {
    return dataLine(V500, elapsed, altitude, lon, lat, gps, speed);
}

QByteArray line407(qint64 elapsed, qint64 altitude, const QByteArray& lon, const QByteArray& lat,
                   qint64 gps = 500) {
    return dataLine(V407, elapsed, altitude, lon, lat, gps);
}

// Latitude 48 degrees plus `minutes`, in the log's coordinate form.
QByteArray northOf48(int minutes) {
    return QByteArray::number(48000000 + minutes * 10000);
}

// One arc minute of latitude on the sphere of the distances.
const double ArcMinute = EarthRadius * std::numbers::pi / 180 / 60;

} // namespace

class TestFlightLog : public QObject {
    Q_OBJECT

    LogFolder m_logs;

    FlightLog read(const QByteArray& bytes, const FirmwareVariant& firmware) {
        return m_logs.read(bytes, firmware);
    }

  private slots:
    // A log of the other layout is read with the layout it has; a chosen Duo
    // stays the Duo (and its tenths) for a log of 17 fields.
    void readsTheLayoutTheLogHas() {
        const QByteArray log13 = "Altorin\r\n" + line407(0, 431, "8000000", "48000000") +
                                 line407(1, 432, "8000000", "48000000");
        const QByteArray log17 = "Altorin\r\n" + line500(0, 4312, "8000000", "48000000") +
                                 line500(1, 4322, "8000000", "48000000");
        struct Case {
            FirmwareVariant chosen;
            const QByteArray* bytes;
            FirmwareVariant readWith;
            float firstAltitude;
        };
        const Case cases[] = {
            {V407, &log13, V407, 431},  {V407, &log17, V500, 4312}, {V500, &log13, V407, 431},
            {V500, &log17, V500, 4312}, {Duo, &log13, V407, 431},   {Duo, &log17, Duo, 431.2f},
        };
        for (const Case& c : cases) {
            const QString path = m_logs.path("LOG00900.CSV");
            QVERIFY(writeBytes(path, *c.bytes));
            const Result<FlightLog> log = readFlightLogFitting(path, c.chosen);
            QVERIFY(log);
            QCOMPARE(log->firmware, c.readWith);
            QCOMPARE(log->size(), size_t(2));
            QCOMPARE(log->baroAltitude[0], c.firstAltitude);
            struct stat status {};
            QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
            const Result<FlightLog> fromBytes =
                readFlightLogFitting(path, LogFileBytes{*c.bytes, status}, c.chosen);
            QVERIFY(fromBytes);
            QCOMPARE(fromBytes->firmware, c.readWith);
            QCOMPARE(fromBytes->baroAltitude, log->baroAltitude);
            const Result<FirmwareVariant> layout = logLayoutOf(path);
            QVERIFY(layout);
            QCOMPARE(*layout, c.bytes == &log13 ? V407 : V500); // never the Duo
        }
        QCOMPARE(readFlightLogFitting(m_logs.path("LOG00901.CSV"), V407).failure().kind,
                 FailureKind::FileNotFound);
        QCOMPARE(logLayoutOf(m_logs.path("LOG00901.CSV")).failure().kind,
                 FailureKind::FileNotFound);
    }

    // Only a log with nothing of the chosen layout is read otherwise; most
    // lines decide the layout a log has.
    void fittingNeedsNoLineOfTheChosenLayout() {
        QCOMPARE(fittingFirmware(V407, {0, 5}), V500);
        QCOMPARE(fittingFirmware(Duo, {0, 5}), V407);
        QCOMPARE(fittingFirmware(V407, {1, 5}), V407);
        QCOMPARE(fittingFirmware(V500, {0, 0}), V500);
        const QString path = m_logs.path("LOG00902.CSV");
        QVERIFY(writeBytes(path, line407(0, 431, "0", "0") + line500(1, 4312, "0", "0") +
                                     line500(2, 4312, "0", "0")));
        QCOMPARE(logLayoutOf(path).value(), V500);
        QVERIFY(writeBytes(path, "Altorin\r\n"));
        QCOMPARE(logLayoutOf(path).value(), V407);
    }

    void initTestCase() { QVERIFY(m_logs.isValid()); }

    // Ten arc minutes due north, a fix a second: every series against the
    // sphere's answer, the log date as the GPX export takes it.
    void straightTrack() {
        QByteArray bytes = "Altorin Log V500\r\n";
        for (int i = 0; i <= 10; ++i)
            bytes += line500(100 + i, 2 * i, "8000000", northOf48(i), 600 + i, 50 + i);
        const FlightLog log = read(bytes, V500);
        QCOMPARE(log.size(), size_t(11));
        QCOMPARE(log.dataLines, 11);
        QCOMPARE(log.positionLines, 11);
        QCOMPARE(log.skippedLines, 0);
        QCOMPARE(log.elapsed.front(), 100);
        QCOMPARE(log.latitude[10], 48.0f + 10.0f / 60);
        QCOMPARE(log.longitude[10], 8.0f);
        QCOMPARE(log.gpsAltitude[10], 610.0f);
        QCOMPARE(log.speed[10], 60.0f);
        QCOMPARE(log.trackDistance.front(), 0.0f);
        for (size_t i = 0; i < log.size(); ++i) {
            QVERIFY(std::abs(log.trackDistance[i] - i * ArcMinute) < 0.05);
            QCOMPARE(log.startDistance[i], log.trackDistance[i]);
            QVERIFY(std::abs(log.east[i]) < 0.01);
            QVERIFY(std::abs(log.north[i] - i * ArcMinute) < 0.05);
        }

        const Result<Conversion> gpx = ConvertToGpx(log.path, V500);
        QVERIFY(gpx.ok());
        QCOMPARE(log.logDate, gpx->logDate);
    }

    // East along a parallel the projection shrinks the longitude by the
    // cosine; back to the start the start distance falls to zero again.
    void outAndBack() {
        QByteArray bytes;
        int t = 0;
        for (int i : {0, 1, 2, 1, 0})
            bytes += line500(t++, 0, QByteArray::number(8000000 + i * 10000), "48000000");
        const FlightLog log = read(bytes, V500);
        const double east = ArcMinute * std::cos(48 * std::numbers::pi / 180);
        QVERIFY(std::abs(log.east[2] - 2 * east) < 0.05);
        QVERIFY(std::abs(log.north[2]) < 0.01);
        QVERIFY(std::abs(log.trackDistance[4] - 4 * east) < 0.5);
        QVERIFY(std::abs(log.startDistance[4]) < 0.01);
    }

    // One long diagonal leg, 48 N 8 E to 52 30' N 13 24' E: 630,339.6 m by
    // the haversine on a sphere of 6,371,000 m, worked out apart from this
    // code (a flat-earth formula is some 370 m off).
    void longDiagonalLeg() {
        const FlightLog log = read(
            line500(0, 0, "8000000", "48000000") + line500(1, 0, "13240000", "52300000"), V500);
        QVERIFY(std::abs(log.trackDistance[1] - 630339.6) < 1);
        QVERIFY(std::abs(log.startDistance[1] - 630339.6) < 1);
    }

    // A steady climb gives its rate at every sample, window edges included;
    // the Duo logs tenths of a metre.
    void steadyClimb_data() {
        QTest::addColumn<bool>("duo");
        QTest::addColumn<int>("perSecond");
        QTest::addColumn<float>("rate");
        QTest::newRow("2 m/s") << false << 2 << 2.0f;
        QTest::newRow("sink 3 m/s") << false << -3 << -3.0f;
        QTest::newRow("Duo 1.3 m/s") << true << 13 << 1.3f;
    }
    void steadyClimb() {
        QFETCH(bool, duo);
        QFETCH(int, perSecond);
        QFETCH(float, rate);
        QByteArray bytes;
        for (int t = 0; t < 30; ++t)
            bytes += line500(t, perSecond * t, "0", "0");
        const FlightLog log = read(bytes, duo ? Duo : V500);
        QCOMPARE(log.baroAltitude[10], duo ? perSecond * 1.0f : perSecond * 10.0f);
        for (size_t i = 0; i < log.size(); ++i)
            QCOMPARE(log.climb[i], rate);
    }

    // One-metre steps of a 1 s log climbing half a metre a second read as a
    // climb near 0.5 m/s throughout, not as spikes of 1 m/s and zeros.
    void oneMetreSteps() {
        QByteArray bytes;
        for (int t = 0; t < 40; ++t)
            bytes += line500(t, t / 2, "0", "0");
        const FlightLog log = read(bytes, V500);
        for (size_t i = 2; i + 2 < log.size(); ++i)
            QVERIFY2(log.climb[i] >= 0.35f && log.climb[i] <= 0.65f,
                     qPrintable(QString::number(log.climb[i])));
    }

    // Restarted halfway, in the air: two segments, the axis going on after a
    // gap of ten steps, no leg of track across the restart, the climb worked
    // out within each segment (the altitude zeroed again at the restart is no
    // sink).
    void restartedLog() {
        QByteArray bytes;
        for (int t = 0; t < 10; ++t)
            bytes += line500(t, 20 * t, "8000000", northOf48(t));
        for (int t = 0; t < 5; ++t)
            bytes += line500(t, 0, "8000000", northOf48(20 + t));
        const FlightLog log = read(bytes, V500);
        QCOMPARE(log.segments.size(), size_t(2));
        QCOMPARE(log.segments[0].begin, size_t(0));
        QCOMPARE(log.segments[0].end, size_t(10));
        QCOMPARE(log.segments[1].begin, size_t(10));
        QCOMPARE(log.segments[1].end, size_t(15));
        QCOMPARE(log.axisTime(9), 9.0);
        QCOMPARE(log.axisTime(10), 9.0 + SegmentGapSteps);
        QCOMPARE(log.axisTime(14), 13.0 + SegmentGapSteps);
        QCOMPARE(&log.segmentOf(12), &log.segments[1]);
        QVERIFY(std::abs(log.trackDistance[14] - 13 * ArcMinute) < 0.1);
        QVERIFY(std::abs(log.startDistance[14] - 24 * ArcMinute) < 0.1);
        QCOMPARE(log.climb[9], 20.0f);
        QCOMPARE(log.climb[10], 0.0f);
    }

    // "0" in either coordinate is no position; "00" is one. Values a line
    // without position lacks are NaN, the track length carries on.
    void linesWithoutPosition() {
        const QByteArray bytes = line500(0, 0, "8000000", "48000000") +
                                 line500(1, 1, "0", "48010000") + line500(2, 2, "8000000", "0") +
                                 line500(3, 3, "8000000", "48010000") +
                                 line500(4, 4, "00", "48010000");
        const FlightLog log = read(bytes, V500);
        QCOMPARE(log.size(), size_t(5));
        QCOMPARE(log.positionLines, 3);
        for (size_t i : {1, 2}) {
            QVERIFY(std::isnan(log.latitude[i]) && std::isnan(log.longitude[i]));
            QVERIFY(std::isnan(log.gpsAltitude[i]) && std::isnan(log.speed[i]));
            QVERIFY(std::isnan(log.startDistance[i]));
            QVERIFY(std::isnan(log.east[i]) && std::isnan(log.north[i]));
            QCOMPARE(log.trackDistance[i], 0.0f);
            QCOMPARE(log.baroAltitude[i], float(i));
        }
        QVERIFY(std::abs(log.trackDistance[3] - ArcMinute) < 0.05);
        QCOMPARE(log.longitude[4], 0.0f);
    }

    // A log's bytes in memory read as its file: every column and count, the
    // path and the log date, over lines that straddle the reader's blocks, a
    // restart, lines without position and a skipped line.
    void bytesReadAsTheirFile() {
        QByteArray bytes = "Altorin Log V500\r\n";
        for (int i = 0; i < 3000; ++i) {
            const int t = i < 1800 ? i : i - 1800; // restarted after half an hour
            const bool fix = i % 50 != 7;
            bytes += line500(t, 2 + (i % 600) / 3, fix ? "8010000" : "0",
                             fix ? northOf48(i % 40) : "0", 600 + i % 90, 30 + i % 25);
        }
        bytes += line500(2000, 777, "8000000", "48000000").replace("777", "7o7") +
                 line500(1201, 41, "8000000", "48000000");
        const QString path = m_logs.path("LOG00903.CSV");
        QVERIFY(writeBytes(path, bytes));
        QVERIFY(bytes.size() > 3 * 64 * 1024);
        struct stat status {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &status) == 0);
        const Result<FlightLog> file = readFlightLog(path, V500);
        const Result<FlightLog> memory = readFlightLog(path, LogFileBytes{bytes, status}, V500);
        QVERIFY(file && memory);
        QCOMPARE(memory->path, path);
        QCOMPARE(memory->logDate, file->logDate);
        QCOMPARE(memory->segments.size(), size_t(2));
        QCOMPARE(memory->segments.size(), file->segments.size());
        QCOMPARE(memory->skippedLines, 1);
        QCOMPARE(memory->firstSkippedLine, file->firstSkippedLine);
        QCOMPARE(memory->dataLines, file->dataLines);
        QCOMPARE(memory->positionLines, file->positionLines);
        QCOMPARE(memory->elapsed, file->elapsed);
        QCOMPARE(memory->climb, file->climb);
        // NaN never equals itself: the bytes of the columns are compared.
        const auto sameBits = [](const std::vector<float>& a, const std::vector<float>& b) {
            return a.size() == b.size() &&
                   std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
        };
        QVERIFY(sameBits(memory->baroAltitude, file->baroAltitude));
        QVERIFY(sameBits(memory->latitude, file->latitude));
        QVERIFY(sameBits(memory->longitude, file->longitude));
        QVERIFY(sameBits(memory->speed, file->speed));
        QVERIFY(sameBits(memory->trackDistance, file->trackDistance));
        QVERIFY(sameBits(memory->east, file->east));
        QVERIFY(sameBits(memory->north, file->north));
    }

    // A bad field or a line whose quotes swallowed its ';' is skipped and
    // counted, the first one by its line number; the rest of the flight is read.
    void badLinesSkipped() {
        const QByteArray bytes = "Altorin Log V500\r\n" + line500(0, 400, "0", "0") +
                                 line500(1, 401, "0", "0").replace("401", "4o1") +
                                 line500(2, 402, "8000000", "48000000").replace(";500;", ";5x;") +
                                 "\"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17\"\r\n" +
                                 "Zeile;ohne;Felder\r\n" + line500(3, 403, "0", "0");
        const FlightLog log = read(bytes, V500);
        QCOMPARE(log.dataLines, 5);
        QCOMPARE(log.skippedLines, 3);
        QCOMPARE(log.firstSkippedLine, 3);
        QCOMPARE(log.size(), size_t(2));
        QCOMPARE(log.elapsed[1], 3);
        QCOMPARE(log.segments.size(), size_t(1));

        // A bad field the view does not read on that line is no reason to skip it.
        const FlightLog noPosition = read(line500(0, 400, "0", "0").replace(";500;", ";5x;"), V500);
        QCOMPARE(noPosition.size(), size_t(1));
        QCOMPARE(noPosition.skippedLines, 0);
        QCOMPARE(noPosition.firstSkippedLine, 0);
    }

    // Up to V407x: 13 fields, no speed; lines of the other layout are no Data lines.
    void thirteenFields() {
        const QByteArray bytes = line407(0, 400, "8000000", "48000000", 510) +
                                 line500(1, 401, "8000000", "48000000") +
                                 line407(2, 402, "8000000", "48010000", 512);
        const FlightLog log = read(bytes, V407);
        QCOMPARE(log.dataLines, 2);
        QCOMPARE(log.size(), size_t(2));
        QCOMPARE(log.gpsAltitude[1], 512.0f);
        QVERIFY(std::isnan(log.speed[0]) && std::isnan(log.speed[1]));
        QCOMPARE(read(bytes, V500).size(), size_t(1));
    }

    void emptyLog() {
        for (const QByteArray& bytes : {QByteArray(), QByteArray("Altorin Log V500\r\n\r\n")}) {
            const FlightLog log = read(bytes, V500);
            QVERIFY(log.empty());
            QVERIFY(log.segments.empty());
            QCOMPARE(log.dataLines, 0);
            QCOMPARE(log.skippedLines, 0);
        }
    }

    void unreadableLog() {
        const Result<FlightLog> missing = readFlightLog(m_logs.path("NONE.CSV"), V500);
        QVERIFY(!missing);
        QCOMPARE(missing.failure().kind, FailureKind::FileNotFound);
        QCOMPARE(readFlightLog(m_logs.path(QString()), V500).failure().kind,
                 FailureKind::AccessDenied);
    }
};

QTEST_GUILESS_MAIN(TestFlightLog)
#include "tst_flight_log.moc"
