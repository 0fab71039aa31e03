// The flight view's PNG and SVG pictures carry the track as its pane shows
// it: on the tiles of a tile server of the test's own on 127.0.0.1 with the
// map's attribution, on the grid without either while the map is off, and
// are written whole or not at all.
#include "core/madeupflight.h"
#include "core/settingsfile.h"
#include "flight/ui/flightexports.h"
#include "flight/ui/flightview.h"
#include "flight/ui/trackview.h"
#include "map/mapsettings.h"
#include "map/tilefetcher.h"
#include "picture/trackscene.h"

#include "common/testfiles.h"
#include "common/tileserver.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <QWheelEvent>

using namespace flight_support;

namespace {

const QString Attribution = QStringLiteral("© OpenStreetMap-Mitwirkende");

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           30;
}

// Pixels of `colour` inside `area`, and outside it.
std::pair<int, int> countColour(const QImage& image, const QRect& area, const QColor& colour) {
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixelColor(x, y), colour))
                ++(area.contains(x, y) ? inside : outside);
    return {inside, outside};
}

} // namespace

class TestMapExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TileServer> server;
    TrackView* track = nullptr;

    // A climb, a thermal and a glide home, drifting north-east.
    FlightLog flight() {
        const QString path = dir->filePath(QStringLiteral("LOG00021.CSV"));
        MadeUpFlight flight(45, 2);
        flight.ground(20).straight(60, 1.5).circles(140, 1.8, 20).straight(120, -0.8).glideDown(60);
        writeBytes(path, flight.log({500, 0}, 1));
        return std::move(readFlightLog(path, {500, 0})).value();
    }
    // The flight view of it, the map on or off, its tiles come.
    std::unique_ptr<FlightView> open(bool mapOn) {
        MapSettings settings;
        settings.enabled = mapOn;
        settings.tileTemplate = server->urlTemplate();
        writeMapSettings(settings);
        std::vector<FlightLog> logs;
        logs.push_back(flight());
        auto view = std::make_unique<FlightView>(nullptr, std::move(logs));
        view->resize(1280, 800);
        view->show();
        track = view->findChild<TrackView*>(QStringLiteral("trackView"));
        if (!QTest::qWaitForWindowExposed(view.get()) || !track)
            return nullptr;
        if (mapOn && !tilesCome())
            return nullptr;
        return view;
    }
    bool tilesCome() {
        track->grab();
        return QTest::qWaitFor([&] {
            return track->fetcher() && track->fetcher()->running() == 0 && !server->paths.isEmpty();
        });
    }
    // The track's part of a picture: the pane's size at the right, under
    // the title line.
    QRect trackPart(const QImage& picture) {
        return QRect(QPoint(picture.width() - track->width(), pictureTitleHeight()), track->size());
    }
    // The attribution as the pane draws it at its bottom right, on a tile.
    QImage attributionOnTile(QRect* box) {
        QImage expected(track->size(), QImage::Format_RGB32);
        expected.fill(server->colour);
        QPainter painter(&expected);
        *box = drawBoxedText(painter, QPointF(expected.width(), expected.height()), Attribution,
                             true, true)
                   .toAlignedRect()
                   .adjusted(0, 0, -1, -1); // the part's frame on its last column and row
        return expected;
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        setSettingsFolder(dir->filePath(QStringLiteral("settings")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir->filePath(QStringLiteral("cache"))));
        server = std::make_unique<TileServer>();
        server->colour = QColor(200, 60, 160); // in no plot and no altitude colour
        QVERIFY(server->start());
    }
    void cleanup() {
        server.reset();
        setSettingsFolder(QString());
    }

    // Zoomed in about the start as the pilot left it: the PNG shows the
    // pane's view on its tiles, start where the pane has it, the thermal
    // marked, and the attribution legible at the bottom right.
    void pngOnTheMap() {
        auto view = open(true);
        QVERIFY(view);
        const QPointF start = track->positionOf(0);
        QWheelEvent wheel(start, track->mapToGlobal(start), {}, {0, 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(track, &wheel);
        QVERIFY(tilesCome());
        QCOMPARE(track->positionOf(0), start);

        const QString path = dir->filePath(QStringLiteral("flight.png"));
        QVERIFY(!view->savePng(path));
        QImage picture;
        QVERIFY(picture.load(path));
        const QRect part = trackPart(picture);
        const auto [tiles, spilt] = countColour(picture, part, server->colour);
        QVERIFY2(tiles > part.width() * part.height() / 3, qPrintable(QString::number(tiles)));
        QCOMPARE(spilt, 0);
        QVERIFY(near(picture.pixelColor(part.topLeft() + start.toPoint()), QColor(40, 170, 60)));
        int orange = 0;
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                orange += c.red() > 200 && c.green() > 90 && c.green() < 190 && c.blue() < 120;
            }
        QVERIFY2(orange > 50, qPrintable(QString::number(orange)));

        QRect box;
        const QImage expected = attributionOnTile(&box);
        int same = 0, ink = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                same += expected.pixel(x, y) == picture.pixel(part.topLeft() + QPoint(x, y));
                ink += expected.pixelColor(x, y).lightness() < 110;
            }
        QVERIFY(ink > 20);
        QVERIFY2(same >= box.width() * box.height() * 95 / 100, qPrintable(QString::number(same)));
    }

    // The SVG names the attribution in its text and keeps the track as
    // vector lines; its tiles are embedded and, like the track, stay inside
    // the track's part when the pilot has pushed the end out of the pane.
    void svgOnTheMap() {
        auto view = open(true);
        QVERIFY(view);
        const QPointF end = track->positionOf(view->logs().front().size() - 1);
        const QPoint from(track->width() / 2, track->height() - 20);
        const QPoint to = from - QPoint(0, int(end.y()) + 40);
        QTest::mousePress(track, Qt::LeftButton, {}, from);
        QTest::mouseMove(track, to);
        QTest::mouseRelease(track, Qt::LeftButton, {}, to);
        QVERIFY(tilesCome());
        QVERIFY(track->positionOf(view->logs().front().size() - 1).y() < -20);

        const QString path = dir->filePath(QStringLiteral("flight.svg"));
        QVERIFY(!view->saveSvg(path));
        const QByteArray svg = readBytes(path);
        QVERIFY(svg.contains(Attribution.toUtf8()));
        QVERIFY(svg.contains("data:image/png;base64,"));
        QVERIFY(svg.contains(("stroke=\"" + altitudeColour(1).name() + '"').toLatin1()));
        QSvgRenderer renderer(path);
        QVERIFY(renderer.isValid());
        QImage shown(renderer.viewBox().size(), QImage::Format_RGB32);
        shown.fill(Qt::white);
        QPainter painter(&shown);
        renderer.render(&painter);
        painter.end();
        const QRect part = trackPart(shown);
        const auto [tiles, spilt] = countColour(shown, part.adjusted(-1, -1, 1, 1), server->colour);
        QVERIFY2(tiles > part.width() * part.height() / 3, qPrintable(QString::number(tiles)));
        QCOMPARE(spilt, 0);
        // Above the part: the title line's white, no leg that left the pane.
        int legs = 0;
        for (int y = 0; y < part.top() - 1; ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                for (int step = 0; step <= 16; ++step)
                    legs += near(shown.pixelColor(x, y), altitudeColour(step / 16.0));
        QCOMPARE(legs, 0);
    }

    // A pane too narrow for both side by side: the scale bar stands above
    // the attribution, each readable.
    void narrowPaneKeepsBoth() {
        MapSettings settings;
        settings.enabled = true;
        settings.tileTemplate = server->urlTemplate();
        writeMapSettings(settings);
        const FlightLog log = flight();
        TrackView pane;
        pane.resize(300, 240);
        pane.setLog(&log);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        track = &pane;
        QVERIFY(tilesCome());
        QImage picture(pane.size(), QImage::Format_RGB32);
        QPainter painter(&picture);
        pane.paintScene(painter);
        painter.end();
        QRect box;
        attributionOnTile(&box);
        QVERIFY(box.left() < 200);
        int beside = 0, above = 0;
        for (int x = 0; x < box.left(); ++x) {
            for (int y = box.top(); y <= box.bottom(); ++y)
                beside += picture.pixelColor(x, y).lightness() < 110;
            for (int y = box.top() - 30; y < box.top(); ++y)
                above += picture.pixelColor(x, y).lightness() < 110;
        }
        QCOMPARE(beside, 0);
        QVERIFY2(above > 50, qPrintable(QString::number(above)));
    }

    // Map off: not a tile asked or drawn, no attribution, the grid.
    void offTheMap() {
        auto view = open(false);
        QVERIFY(view);
        const QString png = dir->filePath(QStringLiteral("flight.png")),
                      svg = dir->filePath(QStringLiteral("flight.svg"));
        QVERIFY(!view->savePng(png) && !view->saveSvg(svg));
        QImage picture;
        QVERIFY(picture.load(png));
        const QRect part = trackPart(picture);
        QCOMPARE(countColour(picture, picture.rect(), server->colour).first, 0);
        QRect box;
        attributionOnTile(&box);
        box.setRight(box.center().x()); // left of the colour scale
        int ink = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ink += picture.pixelColor(part.topLeft() + QPoint(x, y)).lightness() < 110;
        QCOMPARE(ink, 0);
        QVERIFY(!readBytes(svg).contains("OpenStreetMap"));
        QVERIFY(!readBytes(svg).contains("data:image/png"));
        QVERIFY(server->paths.isEmpty());
    }

    // A picture that cannot be written whole leaves the earlier one as it
    // was and nothing beside it.
    void wholeOrNotAtAll() {
        auto view = open(true);
        QVERIFY(view);
        const QString path = dir->filePath(QStringLiteral("out/flight.png"));
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("out")));
        QVERIFY(writeBytes(path, "an earlier picture"));
        {
            const FileSizeLimit limit(4096);
            QVERIFY(limit.active());
            QVERIFY(view->savePng(path));
            QVERIFY(view->saveSvg(path));
        }
        QCOMPARE(readBytes(path), QByteArray("an earlier picture"));
        QCOMPARE(QDir(dir->filePath(QStringLiteral("out"))).entryList(QDir::Files),
                 QStringList{"flight.png"});
    }
};

QTEST_MAIN(TestMapExport)
#include "tst_map_export.moc"
