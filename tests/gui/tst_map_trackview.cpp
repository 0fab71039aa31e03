// The track pane on the map as a pilot uses it: off until switched on, tiles
// from a tile server of the test's own on 127.0.0.1, the grid and a quiet
// note where tiles fail, zoom, pan and fit, the colour scale and scale bar.
#include "core/settingsfile.h"
#include "flight/flightlog.h"
#include "flight/ui/trackview.h"
#include "map/mapsettings.h"
#include "map/tilefetcher.h"

#include "common/testfiles.h"
#include "common/tileserver.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <numbers>

namespace {

QByteArray coordinate(double degrees) {
    const int whole = int(degrees);
    return QByteArray::number(whole * 1000000 + qRound((degrees - whole) * 60 * 10000));
}

// Ten minutes of a glider circling in a thermal: 20 s circles of 60 m radius
// drifting north-east, 1.5 m/s up from the ground (barometric near 0 at the
// start, GPS above sea level), one line a second.
QByteArray thermalFlight(int topAltitude = 0) {
    QByteArray log = "Altorin Log V500\r\n";
    const double lat0 = 48.12, lon0 = 8.2, metresPerDegree = 111320;
    for (int t = 0; t < 600; ++t) {
        const double angle = 2 * std::numbers::pi * t / 20;
        const double north = 60 * std::sin(angle) + 0.8 * t;
        const double east = 60 * std::cos(angle) - 60 + 1.2 * t;
        const double lat = lat0 + north / metresPerDegree;
        const double lon =
            lon0 + east / (metresPerDegree * std::cos(lat0 * std::numbers::pi / 180));
        int baro = int(1.5 * t);
        if (topAltitude && t == 599)
            baro = topAltitude;
        log += "01;14:22:01;" + QByteArray::number(t) + ";0;" + QByteArray::number(baro) +
               ";4.9;5.1;21;0;12;" + coordinate(lon) + ";" + coordinate(lat) + ";" +
               QByteArray::number(512 + baro) + ";42;180;7;1\r\n";
    }
    return log;
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           30;
}

} // namespace

class TestMapTrackView : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TileServer> server;
    std::unique_ptr<FlightLog> log;

    // A shown pane of the test flight; the settings written first.
    std::unique_ptr<TrackView> pane(bool mapOn, const QString& urlTemplate = QString()) {
        MapSettings settings;
        settings.enabled = mapOn;
        settings.tileTemplate = urlTemplate.isEmpty() ? server->urlTemplate() : urlTemplate;
        if (!urlTemplate.isNull() || mapOn)
            writeMapSettings(settings);
        auto view = std::make_unique<TrackView>();
        view->resize(640, 480);
        view->setLog(log.get());
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            return nullptr;
        return view;
    }
    QToolButton* mapButton(TrackView* view) {
        return view->findChild<QToolButton*>(QStringLiteral("mapButton"));
    }
    bool tilesSettled(TrackView* view) {
        return QTest::qWaitFor([&] {
            return view->fetcher() && view->fetcher()->running() == 0 && !server->paths.isEmpty();
        });
    }
    // A place of the pane far from the track, the marks and the overlays.
    QPoint emptyPlace(TrackView* view) { return QPoint(view->width() / 2, view->height() - 60); }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        setSettingsFolder(dir->path());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir->filePath(QStringLiteral("cache"))));
        server = std::make_unique<TileServer>();
        QVERIFY(server->start());
        const QString path = dir->filePath(QStringLiteral("LOG00001.CSV"));
        QVERIFY(writeBytes(path, thermalFlight()));
        Result<FlightLog> read = readFlightLog(path, {500, 0});
        QVERIFY(read.ok());
        log = std::make_unique<FlightLog>(std::move(read).value());
    }
    void cleanup() {
        server.reset();
        setSettingsFolder(QString());
    }

    // Off by default and while off: not one request, however the pilot
    // moves the track, even with a template set.
    void offSendsNothing() {
        auto view = pane(false, server->urlTemplate());
        QVERIFY(view);
        QCOMPARE(mapButton(view.get())->text(),
                 QStringLiteral("Karte einschalten (Kacheln von OpenStreetMap)"));
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, emptyPlace(view.get()));
        QWheelEvent wheel(QPointF(320, 240), view->mapToGlobal(QPointF(320, 240)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &wheel);
        view->grab();
        QTest::qWait(100);
        QVERIFY(!view->fetcher());
        QVERIFY(server->paths.isEmpty());
        QVERIFY(!QFile::exists(settingsFilePath()));
    }

    // A log without a position has no place on the map: nothing is asked.
    void noPositionNoTiles() {
        const QString path = dir->filePath(QStringLiteral("LOG00003.CSV"));
        QVERIFY(writeBytes(
            path, "Altorin Log V500\r\n01;14:22:01;0;0;0;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n"
                  "01;14:22:02;1;0;1;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n"));
        Result<FlightLog> noFix = readFlightLog(path, {500, 0});
        QVERIFY(noFix.ok());
        server->delayMs = 30;
        auto view = pane(true);
        QVERIFY(view);
        QVERIFY(QTest::qWaitFor([&] { return !server->paths.isEmpty(); }));
        // While the first log's tiles still come: the two running may end,
        // the rest of its queue is dropped.
        const qsizetype asked = server->paths.size();
        view->setLog(&*noFix);
        view->grab();
        QVERIFY(QTest::qWaitFor([&] { return view->fetcher()->running() == 0; }));
        QTest::qWait(100);
        QVERIFY(server->paths.size() <= asked + TileFetcher::MaxRunning);
        // Not an empty grid without a word: the pane says why.
        QCOMPARE(view->note(), QStringLiteral("Keine GPS-Position im Log: kein Flugweg"));
    }

    // One click switches the map on and is remembered; the tiles of the
    // view come at its whole zoom, drawn under the track, the attribution
    // on the pane and in its picture.
    void switchedOnInOneClick() {
        auto view = pane(false, server->urlTemplate());
        QVERIFY(view);
        QTest::mouseClick(mapButton(view.get()), Qt::LeftButton);
        QVERIFY(view->mapEnabled());
        QVERIFY(readMapSettings().enabled);
        QCOMPARE(mapButton(view.get())->text(), QStringLiteral("Karte ausschalten"));
        QVERIFY(tilesSettled(view.get()));
        const int zoom = int(view->zoom());
        QCOMPARE(view->zoom(), double(zoom));
        QVERIFY(zoom >= 14 && zoom <= 17);
        // The tile under the start, and only tiles of that zoom near it.
        const QPointF start =
            worldPoint(log->latitude[0], log->longitude[0]) * (1 << zoom) / TileSize;
        QVERIFY(server->paths.contains(
            QStringLiteral("/%1/%2/%3.png").arg(zoom).arg(int(start.x())).arg(int(start.y()))));
        for (const QString& path : server->paths) {
            const QStringList parts = path.split(QLatin1Char('/'));
            QCOMPARE(parts.value(1).toInt(), zoom);
            QVERIFY(std::abs(parts.value(2).toInt() - int(start.x())) <= 3);
        }
        QVERIFY(server->paths.size() <= 12); // 640×480: at most 4×4 tiles, most fewer
        QVERIFY(view->note().isEmpty());
        const QImage shown = view->grab().toImage();
        QVERIFY(near(shown.pixelColor(emptyPlace(view.get())), server->colour));
        QCOMPARE(view->attribution(), QStringLiteral("© OpenStreetMap-Mitwirkende"));
        auto hasAttribution = [&](const QImage& image) {
            // The attribution's pale box with dark letters at the bottom right.
            int pale = 0, dark = 0;
            for (int x = image.width() - 60; x < image.width() - 2; ++x)
                for (int y = image.height() - 14; y < image.height() - 2; ++y) {
                    const QColor c = image.pixelColor(x, y);
                    pale += c.lightness() > 200;
                    dark += c.lightness() < 110;
                }
            return pale > 100 && dark > 10;
        };
        QVERIFY(hasAttribution(shown));
        const QImage picture = view->picture(QSize(800, 600));
        QVERIFY(hasAttribution(picture));

        // Remembered: a new pane starts with the map.
        auto again = pane(true);
        QVERIFY(again->fetcher());
        // Switched off: the tiles go, the grid is back, nothing more asked.
        QTest::mouseClick(mapButton(again.get()), Qt::LeftButton);
        QVERIFY(!readMapSettings().enabled && !again->fetcher());
        QVERIFY(!near(again->grab().toImage().pixelColor(emptyPlace(again.get())), server->colour));
    }

    // Failing tiles leave the grid and a quiet note on the map, no box.
    void failingTilesLeaveTheGrid_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("404") << int(TileServer::Answer::NotFound);
        QTest::newRow("no picture") << int(TileServer::Answer::NoPicture);
    }
    void failingTilesLeaveTheGrid() {
        QFETCH(int, answer);
        server->answer = TileServer::Answer(answer);
        auto view = pane(true);
        QVERIFY(view);
        QVERIFY(tilesSettled(view.get()));
        QTRY_COMPARE(view->note(),
                     QStringLiteral("Karte nicht erreichbar: Gitter, wo Kacheln fehlen"));
        const QImage shown = view->grab().toImage();
        QVERIFY(shown.pixelColor(emptyPlace(view.get())).lightness() > 215);
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMessageBox*>(window) || !window->isVisible());
    }

    // A server that never answers holds up nothing: the pane draws its grid
    // and track at once and keeps answering the wheel.
    void silentServerDoesNotFreeze() {
        server->answer = TileServer::Answer::Silence;
        auto view = pane(true);
        QVERIFY(view);
        QVERIFY(QTest::qWaitFor([&] { return !server->paths.isEmpty(); }));
        bool ticked = false;
        QTimer::singleShot(10, view.get(), [&] { ticked = true; });
        QVERIFY(QTest::qWaitFor([&] { return ticked; }, 200));
        const QImage shown = view->grab().toImage();
        QVERIFY(shown.pixelColor(emptyPlace(view.get())).lightness() > 215);
        const QColor startMark = shown.pixelColor(view->positionOf(0).toPoint());
        QVERIFY(near(startMark, QColor(40, 170, 60)));
        const double zoom = view->zoom();
        QWheelEvent wheel(QPointF(320, 240), view->mapToGlobal(QPointF(320, 240)), {}, {0, -120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &wheel);
        QCOMPARE(view->zoom(), zoom - 1);
        QVERIFY(server->mostOpen <= TileFetcher::MaxRunning);
    }

    // A long track is shown scaled while the wheel turns: no tile is asked
    // for the levels passed through, those of the level it rests at are.
    void wheelOverALongTrack() {
        QByteArray text = "Altorin Log V500\r\n";
        for (int t = 0; t < 60000; ++t) // to and fro across 300 m, creeping north
            text += "01;14:22:01;" + QByteArray::number(t) + ";0;" + QByteArray::number(t % 500) +
                    ";4.9;5.1;21;0;12;" + coordinate(8.2 + (t % 2) * 0.004) + ";" +
                    coordinate(48.12 + t * 1e-7) + ";500;40;180;7;1\r\n";
        const QString path = dir->filePath(QStringLiteral("LOG00004.CSV"));
        QVERIFY(writeBytes(path, text));
        Result<FlightLog> zigzag = readFlightLog(path, {500, 0});
        QVERIFY(zigzag.ok());
        auto view = pane(true);
        QVERIFY(view);
        view->setLog(&*zigzag);
        view->grab();
        QVERIFY(tilesSettled(view.get()));
        server->paths.clear();
        const int zoom = int(view->zoom());
        const QPointF at(320, 240);
        QWheelEvent in(at, view->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        for (int notch = 0; notch < 3; ++notch) {
            QApplication::sendEvent(view.get(), &in);
            view->grab();
        }
        QCOMPARE(int(view->zoom()), zoom + 3);
        QTest::qWait(50);
        QVERIFY2(server->paths.isEmpty(), qPrintable(server->paths.join(QLatin1Char(' '))));
        view->settleZoom();
        view->grab();
        QVERIFY(tilesSettled(view.get()));
        for (const QString& path : server->paths)
            QVERIFY2(path.startsWith(QStringLiteral("/%1/").arg(zoom + 3)), qPrintable(path));
    }

    // The wheel zooms about the pointer, a drag pans (and is no click),
    // "Track einpassen" fits again; the zoom stays within its levels.
    void zoomPanAndFit() {
        auto view = pane(false);
        QVERIFY(view);
        QCOMPARE(view->findChild<QToolButton*>(QStringLiteral("fitTrackButton"))->text(),
                 QStringLiteral("Track einpassen"));
        const QPointF fitted = view->positionOf(300);
        const QPointF pointer = view->positionOf(150);
        QWheelEvent in(pointer, view->mapToGlobal(pointer), {}, {0, 240}, Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
        const double zoom = view->zoom();
        QApplication::sendEvent(view.get(), &in);
        QCOMPARE(view->zoom(), zoom + 1);
        QVERIFY((view->positionOf(150) - pointer).manhattanLength() < 1);
        QVERIFY((view->positionOf(300) - fitted).manhattanLength() > 20);

        int clicks = 0;
        connect(view.get(), &TrackView::sampleClicked, this, [&] { ++clicks; });
        const QPointF before = view->positionOf(300);
        const QPoint from(200, 200);
        QTest::mousePress(view.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view.get(), from + QPoint(20, 10));
        QTest::mouseMove(view.get(), from + QPoint(40, 30));
        QTest::mouseRelease(view.get(), Qt::LeftButton, {}, from + QPoint(40, 30));
        QCOMPARE(clicks, 0);
        QVERIFY((view->positionOf(300) - before - QPointF(40, 30)).manhattanLength() < 0.5);

        QTest::mouseClick(view->findChild<QToolButton*>(QStringLiteral("fitTrackButton")),
                          Qt::LeftButton);
        QVERIFY((view->positionOf(300) - fitted).manhattanLength() < 0.5);
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, fitted.toPoint());
        QCOMPARE(clicks, 1);

        for (int step = 0; step < 60; ++step)
            QApplication::sendEvent(view.get(), &in);
        QCOMPARE(view->zoom(), 22.);
        // On the map the levels are whole and end at 19.
        view->setMapEnabled(true);
        QCOMPARE(view->zoom(), 19.);
        QWheelEvent out(pointer, view->mapToGlobal(pointer), {}, {0, -120}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
        for (int step = 0; step < 30; ++step)
            QApplication::sendEvent(view.get(), &out);
        QCOMPARE(view->zoom(), 1.);
    }

    // The scale bar tells the ground distance the pane shows: two places
    // of the log as far apart on the bar's scale as the log's own metres.
    void scaleBarMatchesTheGround() {
        auto view = pane(false);
        QVERIFY(view);
        const auto [metres, pixels] = view->scaleBar();
        QVERIFY(metres > 0 && pixels > 30 && pixels <= 120);
        const double groundMetres =
            std::hypot(log->east[599] - log->east[0], log->north[599] - log->north[0]);
        const QPointF a = view->positionOf(0), b = view->positionOf(599);
        const double shownMetres = std::hypot(a.x() - b.x(), a.y() - b.y()) * metres / pixels;
        QVERIFY2(std::abs(shownMetres / groundMetres - 1) < 0.01,
                 qPrintable(
                     QStringLiteral("%1 m shown, %2 m flown").arg(shownMetres).arg(groundMetres)));
    }

    // Marked stretches (thermals) show along the track and go again.
    void markedSpans() {
        auto view = pane(false);
        QVERIFY(view);
        auto marked = [&] {
            const QImage shown = view->grab().toImage();
            int count = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    count += near(shown.pixelColor(x, y), QColor(255, 178, 105));
            return count;
        };
        QCOMPARE(marked(), 0);
        view->setMarkedSpans({{100, 200}, {400, 420}});
        QVERIFY(marked() > 200);
        view->setMarkedSpans({});
        QCOMPARE(marked(), 0);
    }

    // In a narrow pane the two buttons stay inside it. The map button's
    // caption takes two lines before it is cut short (a laptop's pane), and
    // only where even a line is too wide is that line shortened.
    void narrowPane_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("caption");
        QTest::newRow("laptop") << 380
                                << QStringLiteral("Karte einschalten\n(Kacheln von OpenStreetMap)");
        QTest::newRow("narrow") << 220 << QString();
    }
    void narrowPane() {
        QFETCH(int, width);
        QFETCH(QString, caption);
        auto view = pane(false);
        QVERIFY(view);
        view->resize(width, 300);
        for (const char* name : {"mapButton", "fitTrackButton"}) {
            const QRect button = view->findChild<QToolButton*>(QLatin1String(name))->geometry();
            QVERIFY2(button.right() < view->width() && button.left() >= 0, name);
        }
        QCOMPARE(mapButton(view.get())->toolTip(),
                 QStringLiteral("Karte einschalten (Kacheln von OpenStreetMap)"));
        if (!caption.isEmpty())
            QCOMPARE(mapButton(view.get())->text(), caption);
        else
            QVERIFY(mapButton(view.get())->text().contains(QChar(0x2026)));
    }

    // A four-digit altitude is written out whole beside the colour scale.
    void colourScaleLabelWhole() {
        const QString path = dir->filePath(QStringLiteral("LOG00002.CSV"));
        QVERIFY(writeBytes(path, thermalFlight(1232)));
        Result<FlightLog> high = readFlightLog(path, {500, 0});
        QVERIFY(high.ok());
        auto view = pane(false);
        QVERIFY(view);
        view->setLog(&*high);
        const QImage shown = view->grab().toImage();
        // The dark letters of the top label, right of the colour bar.
        const int labelHeight = view->fontMetrics().height();
        int left = shown.width(), right = -1;
        for (int x = shown.width() - 90; x < shown.width(); ++x)
            for (int y = 14; y < 14 + labelHeight; ++y)
                if (shown.pixelColor(x, y).lightness() < 100)
                    left = std::min(left, x), right = std::max(right, x);
        const int expected =
            view->fontMetrics().tightBoundingRect(QStringLiteral("1232 m")).width();
        QVERIFY2(right - left + 1 >= expected - 2,
                 qPrintable(QStringLiteral("%1 of %2 pixels").arg(right - left + 1).arg(expected)));
        QVERIFY(right < shown.width() - 2);
    }
};

QTEST_MAIN(TestMapTrackView)
#include "tst_map_trackview.moc"
