// The flight view's state without its widgets: the range a zoom or pan may
// reach, which curves a check box or legend entry switches, the value axes
// and the readout at the cursor, with one log and with several.
#include "core/flight_support.h"
#include "flight/readingtext.h"
#include "flight/readouttext.h"
#include "flight/viewstate.h"

#include <QTest>
#include <cmath>

using namespace flight_support;
using State = FlightViewState;

namespace {

const FirmwareVariant V407{407, 0};
const FirmwareVariant V500{500, 0};

// Switched on at the field (barometric 0, GPS 480 m above sea level), a
// tow of one metre a second heading north, `seconds` lines from `first`.
QByteArray towLog(const FirmwareVariant& firmware, int seconds, int first = 0) {
    QByteArray bytes = "Altorin Log\r\n";
    for (int t = 0; t < seconds; ++t)
        bytes += dataLine(firmware, first + t, t, "8120000", QByteArray::number(48120000 + 10 * t),
                          480 + t, 40);
    return bytes;
}

} // namespace

class TestFlightViewState : public QObject {
    Q_OBJECT

    LogFolder m_logs;

    State one(int seconds = 101) { return State({m_logs.read(towLog(V500, seconds), V500)}); }
    State two() {
        std::vector<FlightLog> logs;
        logs.push_back(m_logs.read(towLog(V500, 101), V500));
        logs.push_back(m_logs.read(towLog(V500, 51, 1000), V500));
        return State(std::move(logs));
    }

  private slots:
    void initTestCase() { QVERIFY(m_logs.isValid()); }

    // A zoom stays inside the flight and no narrower than two seconds; a
    // pan keeps the width; a flight shorter than that still gets two.
    void rangeLimits() {
        State state = one();
        QCOMPARE(state.from(), 0.);
        QCOMPARE(state.to(), 100.);
        state.setRange(-50, 20);
        QCOMPARE(state.from(), 0.);
        QCOMPARE(state.to(), 70.);
        state.zoomAbout(50, 0.001);
        QCOMPARE(state.to() - state.from(), 2.);
        state.setRange(10, 30);
        state.panTo(95);
        QCOMPARE(state.from(), 80.);
        QCOMPARE(state.to(), 100.);
        state.panTo(85); // already in sight
        QCOMPARE(state.from(), 80.);
        state.showAll();
        QCOMPARE(state.to() - state.from(), 100.);

        const State single = one(1);
        QCOMPARE(single.to() - single.from(), 2.);
    }

    // Several logs are timed from each one's start; the longest sets the range.
    void severalFromTheirStarts() {
        const State state = two();
        QCOMPARE(state.shiftOf(1), -1000.);
        QCOMPARE(state.from(), 0.);
        QCOMPARE(state.to(), 100.);
    }

    // One log: a legend entry switches its own curve only. Several: it names
    // a log and switches all of that log's curves. A plot shows while one of
    // its quantities is checked; a log without speed starts with it off.
    void switchingCurves() {
        State single = one();
        single.toggleLegendEntry(0, State::GpsAltitude);
        QVERIFY(!single.curveVisible(0, State::GpsAltitude));
        QVERIFY(!single.shown(State::GpsAltitude)); // the check box follows
        QVERIFY(single.legendEntryDimmed(0, State::GpsAltitude));
        QVERIFY(single.curveVisible(0, State::BaroAltitude));
        single.toggleLegendEntry(0, State::GpsAltitude);
        QVERIFY(single.shown(State::GpsAltitude));
        single.setShown(State::Climb, false);
        QVERIFY(!single.plotShown(State::ClimbPlot));
        single.setShown(State::BaroAltitude, false);
        QVERIFY(single.plotShown(State::AltitudePlot)); // its GPS box is still on

        State several = two();
        several.toggleLegendEntry(1, State::BaroAltitude);
        QVERIFY(several.shown(State::BaroAltitude)); // a box stands for all logs
        QVERIFY(several.legendEntryDimmed(1, State::BaroAltitude));
        for (int q = 0; q < State::PlottedCount; ++q) {
            QVERIFY(!several.curveVisible(1, State::Quantity(q)));
            QVERIFY(several.curveVisible(0, State::Quantity(q)));
        }
        several.toggleLegendEntry(1, State::BaroAltitude);
        QVERIFY(several.curveVisible(1, State::Climb));

        const State old({m_logs.read(towLog(V407, 20), V407)});
        QVERIFY(!old.hasValues(State::Speed));
        QVERIFY(!old.shown(State::Speed));
        QVERIFY(!old.plotShown(State::SpeedPlot));
    }

    // The altitude axis keeps the curve off the frame; climb and speed keep
    // their zero line, a flat or empty plot still gets a span.
    void valueAxes() {
        auto range = [](State::Plot plot, double low, double high) {
            return State::valueRange(plot, low, high);
        };
        const auto [low, high] = range(State::AltitudePlot, 0, 100);
        QVERIFY(low < 0 && high > 100);
        QCOMPARE(range(State::SpeedPlot, 0, 40).first, 0.);
        QCOMPARE(range(State::SpeedPlot, 10, 40).first, 0.);
        QCOMPARE(range(State::ClimbPlot, -3, -1).second, 0.);
        QVERIFY(range(State::ClimbPlot, -3, 2).first < -3);
        const auto flat = range(State::AltitudePlot, 5, 5);
        QVERIFY(flat.first < 5 && flat.second > 5);
        QCOMPARE(range(State::AltitudePlot, qInf(), -qInf()), (std::pair<double, double>(0, 1)));
    }

    // Figures as pilots read them: one number of decimals per kind, long
    // durations as h:mm:ss and long distances in km (a column all alike, a
    // single value only once long), counts without group separators.
    void readingForms() {
        const QLocale german(QLocale::German);
        QCOMPARE(readingText(3725, "s", 0, false, german), QStringLiteral("1:02:05"));
        QCOMPARE(readingText(59, "s", 0, false, german), QStringLiteral("0:00:59"));
        QCOMPARE(readingText(59, "s", 0, false, german, true), QStringLiteral("59"));
        QCOMPARE(readingText(-61, "s", 0, false, german, true), QStringLiteral("-0:01:01"));
        QCOMPARE(readingText(1853, "m", 0, true, german), QStringLiteral("1,85"));
        QCOMPARE(readingText(123456, "m", 0, true, QLocale::c()), QStringLiteral("123.46"));
        QCOMPARE(readingText(856, "m", 0, true, german, true), QStringLiteral("856"));
        QCOMPARE(readingText(1232, "m", 1, false, german), QStringLiteral("1232,0"));
        QCOMPARE(readingText(2, "m/s", 2, false, QLocale::c()), QStringLiteral("2.00"));
        QCOMPARE(readingText(qQNaN(), "m", 1, false, german), QString());
        QCOMPARE(readingUnit("s", false), QStringLiteral("h:mm:ss"));
        QCOMPARE(readingUnit("m", true), QStringLiteral("km"));
        QCOMPARE(readingUnit("m", false), QStringLiteral("m"));

        State state({m_logs.read(towLog(V500, 1501), V500)});
        const FlightSummary& summary = state.summaries()[0];
        QCOMPARE(summaryReading(*summaryFieldNamed("dataLines"), summary, german),
                 QStringLiteral("1501"));
        QCOMPARE(summaryReading(*summaryFieldNamed("duration"), summary, german),
                 QStringLiteral("0:25:00"));
        QCOMPARE(summaryReadingUnit(*summaryFieldNamed("trackDistance")), QStringLiteral("km"));
        state.setCursorTime(1400);
        QVERIFY2(readoutText(state, 0).contains(QStringLiteral("Zeit: 0:23:20   ")) &&
                     readoutText(state, 0).contains(QStringLiteral("Strecke: 2.59 km")),
                 qPrintable(readoutText(state, 0)));
    }

    // The GPS altitude is drawn over its value at the start, the median of
    // the fixes on the ground, so one fix far off does not shift the curve;
    // the readout keeps the altitude above sea level.
    void gpsOverTheStart() {
        QByteArray bytes = "Altorin Log\r\n";
        const int gps[] = {482, 479, 520, 481, 480}; // one fix 40 m off
        for (int t = 0; t < 5; ++t)
            bytes += dataLine(V500, t, 0, "8120000", "48120000", gps[t]);
        for (int t = 5; t < 30; ++t)
            bytes += dataLine(V500, t, 10 * (t - 4), "8120000", "48120000", 481 + 10 * (t - 4));
        bytes += dataLine(V500, 30, 260, "0", "0", 0); // no fix
        State state({m_logs.read(bytes, V500)});
        QCOMPARE(State::gpsStartAltitude(state.logs()[0]), 481.);
        const std::vector<float>& drawn = state.plotted(0, State::GpsAltitude);
        QCOMPARE(drawn[0], 1.f);
        QCOMPARE(drawn[29], 250.f);
        QVERIFY(std::isnan(drawn[30]));
        QCOMPARE(&state.plotted(0, State::BaroAltitude), &state.logs()[0].baroAltitude);
        state.setCursorTime(29);
        QCOMPARE(state.readout()[0].values[State::GpsAltitude], 731.);

        // The first fix came when the climb had begun: the first ten fixes
        // stand for the start.
        QByteArray launched = "Altorin Log\r\n";
        for (int t = 0; t < 20; ++t)
            launched += t < 3 ? dataLine(V500, t, 10 * t, "0", "0", 0)
                              : dataLine(V500, t, 10 * t, "8120000", "48120000", 600 + 10 * t);
        QCOMPARE(State::gpsStartAltitude(m_logs.read(launched, V500)), 680.);
        QVERIFY(std::isnan(State::gpsStartAltitude(
            m_logs.read("Altorin Log\r\n" + dataLine(V500, 0, 0, "0", "0", 0), V500))));
    }

    // Every value of the sample at the cursor, the chosen log first; a log
    // whose flight is over says so; the track follows the chosen log.
    void readoutAtTheCursor() {
        State single = one();
        single.setCursorTime(30.4);
        QCOMPARE(readoutText(single, 0),
                 QStringLiteral("Zeit: 30 s   Höhe barometrisch: 30.0 m   GPS-Höhe: 510.0 m   "
                                "Steigen: 1.0 m/s   Geschwindigkeit: 40 km/h   Strecke: 56 m   "
                                "Entfernung vom Start: 56 m"));
        QCOMPARE(single.trackCursor(), std::optional<size_t>(30));
        single.setCursorTime(200);
        QCOMPARE(single.trackCursor(), std::nullopt);

        State several = two();
        several.setCursorTime(75);
        const QStringList lines = readoutText(several, 1).split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].contains(QStringLiteral(" — Time: 0:01:15")));
        QVERIFY(lines[1].endsWith(QStringLiteral(" — –")));
        QVERIFY(several.setCurrentLog(1));
        several.setCursorTime(20);
        QVERIFY(readoutText(several, 1).split('\n')[0].contains(QStringLiteral("Time: 20 s")));
        QVERIFY(!several.setCurrentLog(2));
        QCOMPARE(several.currentLog(), size_t(1));
    }
};

QTEST_MAIN(TestFlightViewState)
#include "tst_flight_viewstate.moc"
