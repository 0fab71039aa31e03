// Thermals of made-up flights at one line a second and one every 5 s: what
// they are found from, where they start and end, their climb and drift, and
// the flight's figures.
#include "core/madeupflight.h"
#include "flight/thermals.h"

#include <QTest>
#include <cmath>

using namespace flight_support;

namespace {

const FirmwareVariant V500{500, 0};

bool near(double value, double expected, double share) {
    return std::abs(value - expected) <= share * std::abs(expected);
}

double angleBetween(double a, double b) {
    return std::abs(std::remainder(a - b, 360.0));
}

// Ground, a winch launch, a glide, six circles of 20 s climbing 1.5 m/s in a
// wind of 2 m/s towards 60 degrees, a glide and the landing.
MadeUpFlight spiralFlight() {
    MadeUpFlight flight(60, 2);
    flight.ground(20).straight(10, 8).straight(40, -0.7).circles(120, 1.5, 20);
    flight.straight(60, -0.7).glideDown(250).ground(20);
    return flight;
}
constexpr double SpiralStart = 70;

} // namespace

class TestFlightThermals : public QObject {
    Q_OBJECT

    LogFolder m_logs;

    ThermalFlight thermals(const MadeUpFlight& flight, double step, bool positions = true,
                           double jitter = 0) {
        return findThermals(m_logs.read(flight.log(V500, step, positions, jitter), V500));
    }

    static void stepRows() {
        QTest::addColumn<double>("step");
        QTest::newRow("1 s") << 1.0;
        QTest::newRow("5 s") << 5.0;
    }

  private slots:
    void initTestCase() { QVERIFY(m_logs.isValid()); }

    void steps_data() {
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("source");
        QTest::addColumn<double>("jitter");
        QTest::newRow("1 s: circles seen") << 1.0 << int(ThermalSource::Circling) << 0.0;
        QTest::newRow("1 s, scattered") << 1.0 << int(ThermalSource::Circling) << 2.0;
        QTest::newRow("5 s: climb alone") << 5.0 << int(ThermalSource::ClimbSparseFixes) << 0.0;
        QTest::newRow("5 s, scattered") << 5.0 << int(ThermalSource::ClimbSparseFixes) << 3.0;
    }

    void spiralOfKnownClimbAndDrift_data() { steps_data(); }
    void spiralOfKnownClimbAndDrift() {
        QFETCH(double, step);
        QFETCH(int, source);
        const MadeUpFlight flight = spiralFlight();
        QFETCH(double, jitter);
        const ThermalFlight found = thermals(flight, step, true, jitter);
        QCOMPARE(int(found.source), source);
        QCOMPARE(found.thermals.size(), size_t(1));
        const Thermal& t = found.thermals.front();
        QVERIFY2(std::abs(t.start - SpiralStart) <= 12, qPrintable(QString::number(t.start)));
        QVERIFY2(near(t.duration, 120, 0.1), qPrintable(QString::number(t.duration)));
        QVERIFY2(near(t.gain, 180, 0.1), qPrintable(QString::number(t.gain)));
        QVERIFY2(near(t.climb, 1.5, 0.1), qPrintable(QString::number(t.climb)));
        QVERIFY(t.driftDirection && t.driftSpeed);
        QVERIFY2(angleBetween(*t.driftDirection, 60) <= 15,
                 qPrintable(QString::number(*t.driftDirection)));
        QVERIFY2(near(*t.driftSpeed, 7.2, 0.25), qPrintable(QString::number(*t.driftSpeed)));
        QVERIFY(near(found.circlingTime, 120, 0.1));
        QCOMPARE(bestThermal(found.thermals), std::optional<size_t>(0));
    }

    // A short thermal of two circles: the circles must not read as drift.
    void fewCirclesInStrongWind() {
        MadeUpFlight flight(200, 3);
        flight.ground(10).straight(10, 8).straight(20, -0.7).circles(36, 2, 18, false);
        flight.straight(30, -0.7).glideDown(100).ground(10);
        const ThermalFlight found = thermals(flight, 1);
        QCOMPARE(found.thermals.size(), size_t(1));
        const Thermal& t = found.thermals.front();
        QVERIFY2(angleBetween(*t.driftDirection, 200) <= 15,
                 qPrintable(QString::number(*t.driftDirection)));
        QVERIFY2(near(*t.driftSpeed, 10.8, 0.25), qPrintable(QString::number(*t.driftSpeed)));
    }

    // Straight glides, a receiver's scatter on them, a straight climb under
    // power and circles that lose height: no thermal in any of them.
    void straightGlideIsNoThermal_data() { stepRows(); }
    void straightGlideIsNoThermal() {
        QFETCH(double, step);
        MadeUpFlight flight(90, 2);
        flight.ground(20).straight(10, 8).straight(100, -0.6).glideDown(200).ground(20);
        for (double jitter : {0.0, 2.0}) {
            const ThermalFlight found = thermals(flight, step, true, jitter);
            QVERIFY(found.thermals.empty());
            QCOMPARE(found.circlingTime, 0.0);
        }
    }

    void straightClimbIsNoThermalWhereCirclesShow() {
        MadeUpFlight flight;
        flight.ground(20).straight(90, 2).straight(60, -0.5).glideDown(200).ground(20);
        const ThermalFlight found = thermals(flight, 1);
        QCOMPARE(int(found.source), int(ThermalSource::Circling));
        QVERIFY(found.thermals.empty());
        // Seen from climb alone it is one.
        QCOMPARE(thermals(flight, 1, false).thermals.size(), size_t(1));
    }

    void circlesLosingHeightAreNoThermal() {
        MadeUpFlight flight(0, 1);
        flight.ground(20).straight(20, 8).circles(60, -1, 15).glideDown(100).ground(20);
        const ThermalFlight found = thermals(flight, 1);
        QVERIFY(found.thermals.empty());
        QVERIFY(near(found.circlingTime, 60, 0.1));
    }

    void climbWithoutPosition_data() { stepRows(); }
    void climbWithoutPosition() {
        QFETCH(double, step);
        const ThermalFlight found = thermals(spiralFlight(), step, false);
        QCOMPARE(int(found.source), int(ThermalSource::ClimbNoPosition));
        QCOMPARE(found.thermals.size(), size_t(1));
        const Thermal& t = found.thermals.front();
        QVERIFY(near(t.start, SpiralStart, 0.05));
        QVERIFY(near(t.duration, 120, 0.1));
        QVERIFY(near(t.gain, 180, 0.1));
        QVERIFY(!t.driftDirection && !t.driftSpeed);
    }

    void twoThermalsWithAGlideBetween_data() { stepRows(); }
    void twoThermalsWithAGlideBetween() {
        QFETCH(double, step);
        MadeUpFlight flight(300, 1.5);
        flight.ground(20).straight(10, 8).straight(30, -0.7);
        flight.circles(80, 1, 16).straight(60, -0.8).circles(100, 2, 20, false);
        flight.straight(40, -0.7).glideDown(300).ground(20);
        const ThermalFlight found = thermals(flight, step);
        QCOMPARE(found.thermals.size(), size_t(2));
        const Thermal& first = found.thermals[0];
        const Thermal& second = found.thermals[1];
        QVERIFY2(near(first.gain, 80, 0.1), qPrintable(QString::number(first.gain)));
        QVERIFY2(near(second.gain, 200, 0.1), qPrintable(QString::number(second.gain)));
        QVERIFY2(std::abs(second.start - 200) <= 6, qPrintable(QString::number(second.start)));
        QVERIFY(first.start + first.duration < second.start);
        QCOMPARE(bestThermal(found.thermals), std::optional<size_t>(1));
        const double expected = (first.gain + second.gain) / (first.duration + second.duration);
        QCOMPARE(*averageThermalClimb(found.thermals), expected);
        QVERIFY(near(expected, 280.0 / 180, 0.1));
    }

    // A log the device restarted: each segment's thermal stays in it, on the
    // shared axis; the Duo's tenths read as metres.
    void restartedLogOfTheDuo() {
        const FirmwareVariant duo{500, 1};
        const MadeUpFlight flight = spiralFlight();
        const FlightLog log = m_logs.read(flight.log(duo, 1) + flight.log(duo, 1), duo);
        QCOMPARE(log.segments.size(), size_t(2));
        const ThermalFlight found = findThermals(log);
        QCOMPARE(found.thermals.size(), size_t(2));
        const double offset = log.segments[1].axisOffset;
        QVERIFY(std::abs(found.thermals[1].start - (SpiralStart + offset)) <= 2);
        for (const Thermal& t : found.thermals) {
            QVERIFY2(near(t.gain, 180, 0.1), qPrintable(QString::number(t.gain)));
            QCOMPARE(&log.segmentOf(t.firstSample), &log.segmentOf(t.lastSample));
        }
    }

    void flightFiguresWithoutThermals() {
        QVERIFY(!averageThermalClimb({}));
        QVERIFY(!bestThermal({}));
    }
};

QTEST_GUILESS_MAIN(TestFlightThermals)
#include "tst_flight_thermals.moc"
