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
#include <functional>

using namespace flight_support;

namespace {

const QString Attribution = QStringLiteral("© OpenStreetMap-Mitwirkende");

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           30;
}
bool dark(const QColor& c) {
    return c.lightness() < 110;
}

int count(const QImage& image, const QRect& area, const std::function<bool(QColor)>& is) {
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            found += is(image.pixelColor(x, y));
    return found;
}

QImage rendered(const QString& svg) {
    QSvgRenderer renderer(svg);
    QImage image(renderer.viewBox().size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

class TestMapExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TileServer> server;
    TrackView* track = nullptr;

    // A climb, a thermal and a glide home, drifting north-east; the map's
    // settings written first.
    FlightLog flight(bool mapOn) {
        MapSettings settings;
        settings.enabled = mapOn;
        settings.tileTemplate = server->urlTemplate();
        writeMapSettings(settings);
        const QString path = dir->filePath(QStringLiteral("LOG00021.CSV"));
        MadeUpFlight flight(45, 2);
        flight.ground(20).straight(60, 1.5).circles(140, 1.8, 20).straight(120, -0.8).glideDown(60);
        writeBytes(path, flight.log({500, 0}, 1));
        return std::move(readFlightLog(path, {500, 0})).value();
    }
    std::unique_ptr<FlightView> open(bool mapOn) {
        std::vector<FlightLog> logs;
        logs.push_back(flight(mapOn));
        auto view = std::make_unique<FlightView>(nullptr, std::move(logs));
        view->resize(1280, 800);
        view->show();
        track = view->findChild<TrackView*>(QStringLiteral("trackView"));
        if (!QTest::qWaitForWindowExposed(view.get()) || (mapOn && !tilesCome()))
            return nullptr;
        return view;
    }
    bool tilesCome() {
        track->grab();
        return QTest::qWaitFor([&] {
            return track->fetcher() && track->fetcher()->running() == 0 && !server->paths.isEmpty();
        });
    }
    // The pane's size at the picture's right, under the title line.
    QRect trackPart(const QImage& picture) {
        const auto* view = qobject_cast<FlightView*>(track->window());
        const int title = pictureTitleHeight(pictureTitle(view->logs()), picture.width());
        return QRect(QPoint(picture.width() - track->width(), title), track->size());
    }
    // Where the pane has the attribution, and how it looks there on a tile.
    QRect attributionBox(QImage* onTile = nullptr) {
        QImage expected(track->size(), QImage::Format_RGB32);
        expected.fill(server->colour);
        QPainter painter(&expected);
        const QRectF box = drawBoxedText(painter, QPointF(expected.width(), expected.height()),
                                         Attribution, true, true);
        if (onTile)
            *onTile = expected;
        return box.toAlignedRect().adjusted(0, 0, -1, -1); // the part's frame on its edge
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

    // Zoomed in about the start, the end pushed out at the top: both
    // pictures show the pane's view on its tiles and nothing past it, the
    // start where the pane has it, the thermal marked, and the attribution
    // (in the PNG as the pane draws it, in the SVG's text); the SVG embeds
    // the tiles and keeps the track as lines.
    void onTheMap() {
        auto view = open(true);
        QVERIFY(view);
        const QPointF start = track->positionOf(0);
        QWheelEvent wheel(start, track->mapToGlobal(start), {}, {0, 120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(track, &wheel);
        QVERIFY(tilesCome());
        QVERIFY(track->positionOf(view->logs().front().size() - 1).y() < 0);
        const QString png = dir->filePath(QStringLiteral("flight.png")),
                      svg = dir->filePath(QStringLiteral("flight.svg"));
        QVERIFY(!view->savePng(png) && !view->saveSvg(svg));

        auto isTile = [&](const QColor& c) { return near(c, server->colour); };
        for (const QImage& picture : {QImage(png), rendered(svg)}) {
            const QRect part = trackPart(picture);
            const int tiles = count(picture, part.adjusted(-1, -1, 1, 1), isTile);
            QVERIFY2(tiles > part.width() * part.height() / 3, qPrintable(QString::number(tiles)));
            QCOMPARE(count(picture, picture.rect(), isTile), tiles);
            QVERIFY(
                near(picture.pixelColor(part.topLeft() + start.toPoint()), QColor(40, 170, 60)));
            QVERIFY(count(picture, part, [](const QColor& c) {
                        return c.red() > 200 && c.green() > 90 && c.green() < 190 && c.blue() < 120;
                    }) > 50);
            // Above the part the title line's white: no leg that left the pane.
            QCOMPARE(count(picture, QRect(part.left(), 0, part.width(), part.top() - 1),
                           [](const QColor& c) {
                               for (int step = 0; step <= 16; ++step)
                                   if (near(c, altitudeColour(step / 16.0)))
                                       return true;
                               return false;
                           }),
                     0);
        }
        const QImage picture(png);
        QImage expected;
        const QRect box = attributionBox(&expected);
        QVERIFY(count(expected, box, dark) > 20);
        const QPoint corner = trackPart(picture).topLeft();
        int same = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                same += expected.pixel(x, y) == picture.pixel(corner + QPoint(x, y));
        QVERIFY2(same >= box.width() * box.height() * 95 / 100, qPrintable(QString::number(same)));
        const QByteArray text = readBytes(svg);
        QVERIFY(text.contains(Attribution.toUtf8()));
        QVERIFY(text.contains("data:image/png;base64,"));
        QVERIFY(text.contains(("stroke=\"" + altitudeColour(1).name() + '"').toLatin1()));
    }

    // Map off: not a tile asked or drawn, no attribution, the grid. A
    // picture that cannot be written whole leaves the earlier one as it was
    // and nothing beside it.
    void offTheMap() {
        auto view = open(false);
        QVERIFY(view);
        const QString png = dir->filePath(QStringLiteral("flight.png")),
                      svg = dir->filePath(QStringLiteral("flight.svg"));
        QVERIFY(!view->savePng(png) && !view->saveSvg(svg));
        const QByteArray bytes = readBytes(png);
        const QImage picture = QImage::fromData(bytes);
        QCOMPARE(count(picture, picture.rect(),
                       [&](const QColor& c) { return near(c, server->colour); }),
                 0);
        QRect box = attributionBox().translated(trackPart(picture).topLeft());
        box.setRight(box.center().x()); // left of the colour scale
        QCOMPARE(count(picture, box, dark), 0);
        QVERIFY(!readBytes(svg).contains("OpenStreetMap"));
        QVERIFY(!readBytes(svg).contains("data:image/png"));
        QVERIFY(server->paths.isEmpty());

        {
            const FileSizeLimit limit(4096);
            QVERIFY(limit.active());
            QVERIFY(view->savePng(png) && view->saveSvg(png));
        }
        QCOMPARE(readBytes(png), bytes);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files),
                 (QStringList{"flight.png", "flight.svg", "LOG00021.CSV"}));
    }

    // A pane too narrow for both side by side: the scale bar stands above
    // the attribution, each readable.
    void narrowPaneKeepsBoth() {
        const FlightLog log = flight(true);
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
        const QRect box = attributionBox();
        QVERIFY(box.left() < 200);
        QCOMPARE(count(picture, QRect(0, box.top(), box.left(), box.height()), dark), 0);
        QVERIFY(count(picture, QRect(0, box.top() - 30, box.left(), 30), dark) > 50);
    }
};

QTEST_MAIN(TestMapExport)
#include "tst_map_export.moc"
