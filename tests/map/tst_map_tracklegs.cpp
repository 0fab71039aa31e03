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
    // zooms where it fits and where it is cut by the picture's edge.
    void keptLegsDrawTheWholeTrack_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPointF>("shift"); // of the centre, in pixels at the zoom
        QTest::newRow("fitting") << BaseZoom << QPointF(-100, -20);
        QTest::newRow("closer, cut at the edges") << BaseZoom + 1 << QPointF(120, 90);
        QTest::newRow("half a level out") << BaseZoom - 0.5 << QPointF(0, 0);
    }
    void keptLegsDrawTheWholeTrack() {
        QFETCH(double, zoom);
        QFETCH(QPointF, shift);
        const FlightLog log = trackThrough(zigzagCirclesAndStraight());
        const TrackGeometry geometry = TrackGeometry::of(log);
        TrackCamera camera;
        camera.size = QSizeF(420, 360);
        camera.zoom = zoom;
        camera.centre = Centre + shift / std::exp2(zoom);
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
        QPainter painter(&painted);
        painter.translate(40, 30);
        legs.draw(painter, geometry, camera);
        painter.end();
        const QPoint somewhere = [&] {
            for (int y = 0; y < kept.height(); ++y)
                for (int x = 0; x < kept.width(); ++x)
                    if (qAlpha(kept.pixel(x, y)))
                        return QPoint(x, y);
            return QPoint();
        }();
        QCOMPARE(painted.pixel(somewhere + QPoint(40, 30)), kept.pixel(somewhere));
    }

    // Crossing lines keep the higher step, whichever came first; a line far
    // longer than the grid sets only its pixels inside; one pixel is a dot.
    void rasterLines() {
        TrackRaster raster(QSize(20, 10));
        raster.line(QPoint(0, 5), QPoint(19, 5), 7);
        raster.line(QPoint(10, 0), QPoint(10, 9), 3);
        raster.line(QPoint(-1000000, 2), QPoint(1000000, 2), 9);
        raster.line(QPoint(4, -50000), QPoint(4, 50000), 2);
        raster.line(QPoint(-30, -30), QPoint(-5, 40), 1); // outside
        raster.line(QPoint(17, 8), QPoint(17, 8), 5);
        QCOMPARE(raster.at(10, 5), std::uint8_t(7));
        QCOMPARE(raster.at(10, 4), std::uint8_t(3));
        QCOMPARE(raster.at(0, 2), std::uint8_t(9));
        QCOMPARE(raster.at(19, 2), std::uint8_t(9));
        QCOMPARE(raster.at(4, 2), std::uint8_t(9));
        QCOMPARE(raster.at(4, 9), std::uint8_t(2));
        QCOMPARE(raster.at(17, 8), std::uint8_t(5));
        int set = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                set += raster.at(x, y) != 0;
        QCOMPARE(set, 20 + 20 + 10 + 10 - 4 + 1);
        const QRgb palette[9] = {1, 2, 3, 4, 5, 6, 7, 8, 0xff123456};
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::white);
        raster.paintInto(image, palette);
        QCOMPARE(image.pixel(19, 2), 0xff123456);
        QCOMPARE(image.pixel(18, 1), QColor(Qt::white).rgb());
    }

    // A fix on the far side of the world, seen at the closest zoom, still
    // draws the leg towards it across the picture.
    void strayFix() {
        std::vector<QPointF> pixels = zigzagCirclesAndStraight();
        const double far = std::exp2(BaseZoom) * 100; // a hundred world pixels
        pixels.insert(pixels.begin() + 100, QPointF(far, 0.25 * far));
        const FlightLog log = trackThrough(pixels);
        const TrackGeometry geometry = TrackGeometry::of(log);
        TrackCamera camera;
        camera.size = QSizeF(300, 200);
        camera.zoom = 22;
        camera.centre = geometry.world(99);
        TrackLegs legs;
        legs.build(log, geometry, camera.zoom, {});
        QImage image = transparentImage(camera.size.toSize());
        legs.draw(image, geometry, camera);
        QVERIFY(qAlpha(image.pixel(150, 100)));
        QVERIFY(qAlpha(image.pixel(299, 100 + 75 / 2)) ||
                qAlpha(image.pixel(299, 100 + 75 / 2 + 1)));
    }

    // A track of one fix has no leg and draws nothing; two fixes draw one
    // smooth leg, and a stretch marked between samples is marked.
    void fewFixes() {
        const QImage blank = transparentImage(QSize(200, 100));
        TrackCamera camera;
        camera.size = QSizeF(200, 100);
        camera.zoom = BaseZoom;
        camera.centre = Centre;
        for (const auto& pixels :
             {std::vector<QPointF>{{3, 4}}, std::vector<QPointF>{{-40, 0}, {40, 10}, {60, 20}}}) {
            const FlightLog log = trackThrough(pixels);
            const TrackGeometry geometry = TrackGeometry::of(log);
            TrackLegs legs;
            legs.build(log, geometry, BaseZoom, {{0, 2}});
            QCOMPARE(legs.count, pixels.size() - 1);
            QCOMPARE(legs.marked.size(), pixels.size() > 1 ? 1 : 0);
            QImage image = blank;
            legs.draw(image, geometry, camera);
            QCOMPARE(image == blank, pixels.size() == 1);
            if (pixels.size() > 1)
                QVERIFY(legs.smooth());
        }
    }
};

QTEST_MAIN(TestMapTrackLegs)
#include "tst_map_tracklegs.moc"
