// The long track's legs: kept per zoom where they change the picture, drawn
// by hand a pixel wide, and compared with every sample drawn by the painter.
#include "flight/flightlog.h"
#include "map/tilemath.h"
#include "picture/trackraster.h"
#include "picture/trackscene.h"

#include <QPainter>
#include <QTest>
#include <cmath>
#include <numbers>

namespace {

constexpr double BaseZoom = 15;
const QPointF Centre = worldPoint(48.2, 8.1);

// A log through the given places, in pixels at BaseZoom from Centre,
// climbing a metre a sample from the ground.
FlightLog trackThrough(const std::vector<QPointF>& pixels) {
    FlightLog log;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const QPointF world = Centre + pixels[i] / std::exp2(BaseZoom);
        const double n = std::numbers::pi * (1 - 2 * world.y() / TileSize);
        log.elapsed.push_back(qint32(i));
        log.baroAltitude.push_back(float(i % 300));
        log.latitude.push_back(float(std::atan(std::sinh(n)) * 180 / std::numbers::pi));
        log.longitude.push_back(float(world.x() / TileSize * 360 - 180));
    }
    log.segments.push_back({0, pixels.size(), 0});
    return log;
}

// Thirty laps of a circle 300 pixels across, each sample a pixel on and
// swung a pixel and a bit either side of the circle in turn, then a long
// straight of samples a fifth of a pixel apart: too many legs for the
// painter's strokes.
std::vector<QPointF> zigzagCirclesAndStraight() {
    std::vector<QPointF> at;
    const int perLap = 1000;
    for (int i = 0; i < 30 * perLap; ++i) {
        const double angle = 2 * std::numbers::pi * i / perLap;
        const double radius = 150 + (i % 2 ? 1.3 : -1.3) + 0.05 * i / perLap;
        at.emplace_back(radius * std::cos(angle), radius * std::sin(angle));
    }
    const QPointF end = at.back();
    for (int i = 1; i <= 2000; ++i)
        at.push_back(end + QPointF(-0.2 * i, 0.08 * i));
    return at;
}

QImage transparentImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Every sample's leg as the painter draws a one-pixel line.
QImage everyLeg(const TrackGeometry& geometry, const TrackCamera& camera) {
    QImage image = transparentImage(camera.size.toSize());
    QPainter painter(&image);
    QPen pen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap);
    pen.setCosmetic(true);
    painter.setPen(pen);
    QList<QLineF> legs;
    for (size_t i = 1; i < geometry.x.size(); ++i)
        legs.append(
            QLineF(camera.toWidget(geometry.world(i - 1)), camera.toWidget(geometry.world(i))));
    painter.drawLines(legs);
    return image;
}

// The pixels of `drawn` with no drawn pixel of `other` within a pixel; the
// outermost pixels may have theirs outside the picture and are left out.
int farFrom(const QImage& drawn, const QImage& other) {
    int far = 0;
    for (int y = 1; y + 1 < drawn.height(); ++y)
        for (int x = 1; x + 1 < drawn.width(); ++x) {
            if (!qAlpha(drawn.pixel(x, y)))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = qAlpha(other.pixel(x + dx, y + dy));
            far += !near;
        }
    return far;
}

} // namespace

class TestMapTrackLegs : public QObject {
    Q_OBJECT

  private slots:
    // The kept legs drawn a pixel wide against every sample drawn: the
    // zigzag's extremes stay, nothing is drawn where the track is not, at
    // zooms where it fits and where it is cut by the picture's edge, and a
    // stray fix on the far side of the world, seen at the closest zoom,
    // draws its legs across the picture towards it.
    void keptLegsDrawTheWholeTrack_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPointF>("shift"); // of the centre, in pixels at the zoom
        QTest::addColumn<bool>("stray");
        QTest::newRow("fitting") << BaseZoom << QPointF(-100, -20) << false;
        QTest::newRow("closer, cut at the edges") << BaseZoom + 1 << QPointF(120, 90) << false;
        QTest::newRow("half a level out") << BaseZoom - 0.5 << QPointF(0, 0) << false;
        QTest::newRow("stray fix") << 22.0 << QPointF(0, 0) << true;
    }
    void keptLegsDrawTheWholeTrack() {
        QFETCH(double, zoom);
        QFETCH(QPointF, shift);
        QFETCH(bool, stray);
        std::vector<QPointF> pixels = zigzagCirclesAndStraight();
        if (stray) // a hundred world pixels east, twenty-five south
            pixels.insert(pixels.begin() + 100, QPointF(1, 0.25) * 100 * std::exp2(BaseZoom));
        const FlightLog log = trackThrough(pixels);
        const TrackGeometry geometry = TrackGeometry::of(log);
        TrackCamera camera;
        camera.size = QSizeF(420, 360);
        camera.zoom = zoom;
        camera.centre = stray ? geometry.world(99) : Centre + shift / std::exp2(zoom);
        TrackLegs legs;
        legs.build(log, geometry, zoom, {});
        QVERIFY(!legs.smooth());
        QVERIFY(legs.count < log.size());
        QImage kept = transparentImage(camera.size.toSize());
        legs.draw(kept, geometry, camera);
        const QImage full = everyLeg(geometry, camera);
        QCOMPARE(farFrom(full, kept), 0);
        QCOMPARE(farFrom(kept, full), 0);
        // Through a painter on a larger picture, in the camera's place.
        QImage painted(camera.size.toSize() + QSize(40, 30), QImage::Format_RGB32);
        painted.fill(Qt::white);
        QImage expected = painted.copy(40, 30, kept.width(), kept.height());
        QPainter(&expected).drawImage(0, 0, kept);
        QPainter painter(&painted);
        painter.translate(40, 30);
        legs.draw(painter, geometry, camera);
        painter.end();
        QCOMPARE(painted.copy(40, 30, kept.width(), kept.height()), expected);
    }

    // Crossing lines keep the higher step, whichever came first; a line far
    // longer than the grid sets only its pixels inside.
    void rasterLines() {
        TrackRaster raster(QSize(20, 10));
        raster.line(QPoint(0, 5), QPoint(19, 5), 7);
        raster.line(QPoint(10, -50000), QPoint(10, 50000), 3);
        raster.line(QPoint(-1000000, 2), QPoint(1000000, 2), 9);
        raster.line(QPoint(-30, -30), QPoint(-5, 40), 1); // outside
        QCOMPARE(raster.at(10, 5), std::uint8_t(7));
        QCOMPARE(raster.at(10, 2), std::uint8_t(9));
        QCOMPARE(raster.at(10, 9), std::uint8_t(3));
        int set = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                set += raster.at(x, y) != 0;
        QCOMPARE(set, 20 + 20 + 10 - 2);
    }

    // A track of one fix has no leg and draws nothing; two fixes draw one
    // smooth leg, marked when its end lies inside a marked stretch.
    void fewFixes() {
        TrackCamera camera;
        camera.size = QSizeF(200, 100);
        camera.zoom = BaseZoom;
        camera.centre = Centre;
        const QImage blank = transparentImage(camera.size.toSize());
        for (const auto& pixels : {std::vector<QPointF>{{3, 4}}, {{-40, 0}, {40, 10}}}) {
            const FlightLog log = trackThrough(pixels);
            const TrackGeometry geometry = TrackGeometry::of(log);
            TrackLegs legs;
            legs.build(log, geometry, BaseZoom, {{0, 2}});
            QCOMPARE(legs.count, pixels.size() - 1);
            QCOMPARE(size_t(legs.marked.size()), legs.count);
            QImage image = blank;
            legs.draw(image, geometry, camera);
            QCOMPARE(image == blank, pixels.size() == 1);
        }
    }
};

QTEST_MAIN(TestMapTrackLegs)
#include "tst_map_tracklegs.moc"
