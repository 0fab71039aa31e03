// What the flight view draws of a long log: pixel columns keep their
// extremes, breaks stay gaps, the range and the track are cut to what shows.
#include "flight/decimate.h"
#include "flight/samplesearch.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

namespace {

constexpr float None = std::numeric_limits<float>::quiet_NaN();

// A log of one sample a second from 0 whose values are `values`; `restarts`
// begin new segments, each placed 10 s after the one before on the axis.
FlightLog makeLog(const std::vector<float>& values, std::vector<size_t> restarts = {}) {
    FlightLog log;
    restarts.push_back(values.size());
    size_t begin = 0;
    double offset = 0;
    for (size_t end : restarts) {
        for (size_t i = begin; i < end; ++i)
            log.elapsed.push_back(qint32(i - begin));
        log.segments.push_back({begin, end, offset});
        offset += double(end - begin) + 9; // last sample's time + 10
        begin = end;
    }
    log.baroAltitude = values;
    log.east = log.north = std::vector<float>(values.size(), None);
    return log;
}

size_t breaksIn(const std::vector<QPointF>& points) {
    return size_t(std::count_if(points.begin(), points.end(),
                                [](const QPointF& p) { return std::isnan(p.y()); }));
}

} // namespace

class TestFlightDecimate : public QObject {
    Q_OBJECT

  private slots:
    // A million samples on 500 columns: at most four points a column, in
    // time order, and each column's lowest and highest value among them.
    void columnsKeepTheirExtremes() {
        std::vector<float> values(1000000);
        QRandomGenerator random(7);
        for (float& v : values)
            v = float(random.bounded(1000));
        values[123457] = 5000; // one spike
        const FlightLog log = makeLog(values);
        const int columns = 500;
        const double from = 0, to = double(values.size() - 1);
        const std::vector<QPointF> points =
            decimateSeries(log, log.baroAltitude, from, to, columns);
        QVERIFY(points.size() <= size_t(4 * columns));
        QCOMPARE(breaksIn(points), size_t(0));
        QVERIFY(std::is_sorted(points.begin(), points.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
        const double width = (to - from) / columns;
        std::vector<float> low(columns, 1e9f), high(columns, -1e9f);
        for (size_t i = 0; i < values.size(); ++i) {
            const int c = std::min(columns - 1, int(double(i) / width));
            low[c] = std::min(low[c], values[i]);
            high[c] = std::max(high[c], values[i]);
        }
        std::vector<float> shownLow(columns, 1e9f), shownHigh(columns, -1e9f);
        for (const QPointF& p : points) {
            const int c = std::min(columns - 1, int(p.x() / width));
            shownLow[c] = std::min(shownLow[c], float(p.y()));
            shownHigh[c] = std::max(shownHigh[c], float(p.y()));
        }
        QCOMPARE(shownLow, low);
        QCOMPARE(shownHigh, high);
        QVERIFY(std::count(shownHigh.begin(), shownHigh.end(), 5000.f) == 1);
    }

    // Fewer samples than columns: every sample, exactly.
    void shortSeriesIsKeptWhole() {
        const FlightLog log = makeLog({3, 1, 4, 1, 5});
        const std::vector<QPointF> points = decimateSeries(log, log.baroAltitude, 0, 4, 800);
        const std::vector<QPointF> expected = {{0, 3}, {1, 1}, {2, 4}, {3, 1}, {4, 5}};
        QCOMPARE(points, expected);
    }

    // Gaps without a value and new segments stay breaks, also when they are
    // narrower than a pixel; a column broken many times stays bounded.
    void breaksStayGaps() {
        const FlightLog gaps = makeLog({1, 2, None, None, 5, 6});
        const std::vector<QPointF> points = decimateSeries(gaps, gaps.baroAltitude, 0, 5, 100);
        QCOMPARE(points.size(), size_t(5));
        QVERIFY(std::isnan(points[2].y()));
        QCOMPARE(points[3], QPointF(4, 5));

        std::vector<float> values(100000, 100.f);
        values[49999] = 900; // the last sample before the restart
        const FlightLog restarted = makeLog(values, {50000});
        const std::vector<QPointF> wide =
            decimateSeries(restarted, restarted.baroAltitude, 0, 100009, 10);
        QCOMPARE(breaksIn(wide), size_t(1));
        const auto gap = std::find_if(wide.begin(), wide.end(),
                                      [](const QPointF& p) { return std::isnan(p.y()); });
        QCOMPARE(*(gap - 1), QPointF(49999, 900));
        QCOMPARE(*(gap + 1), QPointF(50009, 100));

        std::vector<float> flicker(100000);
        for (size_t i = 0; i < flicker.size(); ++i)
            flicker[i] = i % 2 ? None : float(i % 1000);
        const FlightLog flickering = makeLog(flicker);
        const std::vector<QPointF> bounded =
            decimateSeries(flickering, flickering.baroAltitude, 0, 99999, 50);
        QVERIFY(bounded.size() <= 50 * 15);
        QCOMPARE(std::max_element(bounded.begin(), bounded.end(),
                                  [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); })
                     ->y(),
                 998.);
    }

    // A zoomed range: its samples, one more either side, and the x shift of
    // a log aligned at its start.
    void rangeAndShift() {
        std::vector<float> values(1000);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = float(i);
        const FlightLog log = makeLog(values);
        const std::vector<QPointF> points = decimateSeries(log, log.baroAltitude, 100.5, 110, 1000);
        QCOMPARE(points.front(), QPointF(100, 100));
        QCOMPARE(points.back(), QPointF(111, 111));
        QCOMPARE(points.size(), size_t(12));

        const std::vector<QPointF> shifted =
            decimateSeries(log, log.baroAltitude, 0, 5, 1000, -100);
        QCOMPARE(shifted.front(), QPointF(-1, 99));
        QCOMPARE(shifted.back(), QPointF(6, 106));
        QVERIFY(decimateSeries(log, log.baroAltitude, 2000, 3000, 100).size() <= 1);
        QVERIFY(decimateSeries(log, log.baroAltitude, 5, 5, 100).empty());
    }

    // Times across segments: the nearest sample, the earlier one on a tie.
    void samplesByTime() {
        const FlightLog log = makeLog({0, 1, 2, 3}, {2}); // axis times 0, 1, 11, 12
        QCOMPARE(sampleNearTime(log, -5), size_t(0));
        QCOMPARE(sampleNearTime(log, 6), size_t(1));
        QCOMPARE(sampleNearTime(log, 6.5), size_t(2));
        QCOMPARE(sampleNearTime(log, 99), size_t(3));
        QCOMPARE(firstSampleFrom(log, 1), size_t(1));
        QCOMPARE(firstSampleAfter(log, 1), size_t(2));
        QCOMPARE(firstSampleFrom(log, 12), size_t(3));
        QCOMPARE(firstSampleFrom(log, 12.5), size_t(4));
    }

    // The nearest position skips samples without one.
    void trackSearched() {
        FlightLog log = makeLog(std::vector<float>(7, 0.f), {5});
        log.east = {0, 0.2f, 0.4f, None, 3, 10, 10.5f};
        log.north = {0, 0, 0, None, 0, 0, 0};
        QCOMPARE(nearestPositionSample(log, 2.5, 1), std::optional<size_t>(4));
        // The track marks the last position up to the cursor's sample, never
        // one of the segment before a restart.
        QCOMPARE(positionAtOrBefore(log, 2), std::optional<size_t>(2));
        QCOMPARE(positionAtOrBefore(log, 3), std::optional<size_t>(2));
        log.east[5] = None;
        QCOMPARE(positionAtOrBefore(log, 5), std::nullopt);
        QCOMPARE(positionAtOrBefore(log, 6), std::optional<size_t>(6));
        log.east.assign(7, None);
        QCOMPARE(nearestPositionSample(log, 0, 0), std::nullopt);
    }
};

QTEST_MAIN(TestFlightDecimate)
#include "tst_flight_decimate.moc"
