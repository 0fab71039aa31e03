// The airborne rule behind the logbook's flight time and launches, on logs
// that look like real days at the field.
#include "logbook/airborne.h"
#include "logbook_support.h"

#include <QTemporaryDir>
#include <QTest>

using namespace logbook_support;

class TestLogbookAirborne : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_logs = 0;

    AirborneFigures figuresOf(const QByteArray& bytes, const FirmwareVariant& firmware) {
        const QString path = m_dir.filePath(QStringLiteral("LOG%1.CSV").arg(++m_logs));
        if (!writeBytes(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        const Result<FlightLog> log = readFlightLog(path, firmware);
        if (!log)
            qFatal("cannot read %s", qPrintable(path));
        return airborneFigures(*log);
    }

  private slots:
    void groundOnlyWithPressureDrift_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("drift");
        QTest::newRow("1 s, rising 2 m") << 1 << 2.0;
        QTest::newRow("1 s, falling 2 m") << 1 << -2.0;
        QTest::newRow("5 s, rising 2 m") << 5 << 2.0;
        QTest::newRow("1 s, rising 3.5 m") << 1 << 3.5; // more than the launch height, slowly
    }
    void groundOnlyWithPressureDrift() {
        QFETCH(int, step);
        QFETCH(double, drift);
        const Profile tenMinutes{{0, 0}, {600, drift}};
        for (const FirmwareVariant& firmware : {V407, V500, Duo}) {
            const AirborneFigures f =
                figuresOf(profileLog(
                              firmware, tenMinutes, [](double) { return false; }, step),
                          firmware);
            QCOMPARE(f.launches, 0);
            QCOMPARE(f.flightTime, 0.0);
        }
    }

    void oneFlightWithinTenSeconds_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("climbSeconds");
        QTest::newRow("winch, 1 s") << 1 << 150.0 << 20.0;
        QTest::newRow("winch, 5 s") << 5 << 150.0 << 20.0;
        QTest::newRow("motor, slow climb") << 1 << 200.0 << 120.0;
        QTest::newRow("low hand launch") << 1 << 25.0 << 3.0;
    }
    void oneFlightWithinTenSeconds() {
        QFETCH(int, step);
        QFETCH(double, height);
        QFETCH(double, climbSeconds);
        Flight flight{{{180, 1380}}, 1560};
        flight.height = height;
        flight.climbSeconds = climbSeconds;
        for (const FirmwareVariant& firmware : {V407, V500, Duo}) {
            const AirborneFigures f = figuresOf(flight.log(firmware, step), firmware);
            QCOMPARE(f.launches, 1);
            QVERIFY2(std::abs(f.flightTime - flight.flightTime()) <= 10,
                     qPrintable(QString::number(f.flightTime)));
        }
    }

    void severalLaunchesAreCounted() {
        // A hand-launch session: five throws of a minute or two, the model
        // carried back between them, never switched off.
        Flight session{{{60, 150}, {240, 330}, {400, 520}, {600, 655}, {760, 900}}, 1000};
        session.height = 45;
        session.climbSeconds = 3;
        const AirborneFigures f = figuresOf(session.log(V500), V500);
        QCOMPARE(f.launches, 5);
        QVERIFY2(std::abs(f.flightTime - session.flightTime()) <= 5 * 10,
                 qPrintable(QString::number(f.flightTime)));
    }

    void landingAtAnotherHeightEndsTheFlight() {
        // Launched from a slope's top, landed 60 m below: lying still is what
        // tells the landing, not the height.
        const Profile slope{{0, 0},    {100, 0},  {110, 40},  {300, 10},
                            {400, 50}, {640, 20}, {700, -60}, {1000, -60}};
        const AirborneFigures f =
            figuresOf(profileLog(V407, slope, [](double t) { return t > 100 && t < 700; }), V407);
        QCOMPARE(f.launches, 1);
        QVERIFY2(std::abs(f.flightTime - 600) <= 10, qPrintable(QString::number(f.flightTime)));
    }

    void aLogEndingInTheAirCountsToItsEnd() {
        const Flight cut{{{100, 2000}}, 700};
        const AirborneFigures f = figuresOf(cut.log(V500), V500);
        QCOMPARE(f.launches, 1);
        QVERIFY(std::abs(f.flightTime - 600) <= 10);
    }

    void aBumpIsNoLaunch() {
        // The model lifted onto the car roof: up 4 m and lying still at once.
        const Profile lifted{{0, 0}, {200, 0}, {202, 4}, {600, 4}};
        const AirborneFigures f =
            figuresOf(profileLog(V500, lifted, [](double) { return false; }), V500);
        QCOMPARE(f.launches, 0);
        QCOMPARE(f.flightTime, 0.0);
    }

    void emptyLogHasNoFlight() {
        const AirborneFigures f = figuresOf("Altorin V500\r\n", V500);
        QCOMPARE(f.launches, 0);
        QCOMPARE(f.flightTime, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestLogbookAirborne)
#include "tst_logbook_airborne.moc"
