// The map behind the track: redraw of the 1280×800 track pane after a pan and
// after a zoom with every tile at hand, a cursor frame, and the memory the
// map adds. Tiles come from a tile server of the program's own on 127.0.0.1,
// drawn here (fields, a river, roads), so nothing leaves the machine.
//   altorin-map-bench [LINES]          figures for a log of LINES lines
//   altorin-map-bench --screenshot PNG the flight view with the map
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/flightlog.h"
#include "flight/ui/flightview.h"
#include "flight/ui/trackview.h"
#include "map/mapsettings.h"
#include "map/tilefetcher.h"

#include "bench/loggen.h"
#include "bench/silentdialogs.h"
#include "common/badinput.h"
#include "common/tileserver.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A countryside of our own: fields in two greens on a grid of about 300 m,
// a river and two roads, all from world coordinates so the tiles join.
QImage landscape(int zoom, int x, int y) {
    QImage tile(TileSize, TileSize, QImage::Format_RGB32);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = double(1 << zoom);
    const QPointF corner(x * TileSize, y * TileSize); // in pixels at this zoom
    painter.translate(-corner);
    painter.scale(scale, scale); // zoom-0 world pixels from here on
    const double field = 0.0028;
    const QRectF area(corner / scale, QSizeF(TileSize, TileSize) / scale);
    for (double fx = std::floor(area.left() / field) * field; fx < area.right(); fx += field)
        for (double fy = std::floor(area.top() / field) * field; fy < area.bottom(); fy += field) {
            const long cell = std::lround(fx / field) * 7 + std::lround(fy / field) * 13;
            const QColor colour = cell % 3 == 0   ? QColor(214, 230, 186)
                                  : cell % 3 == 1 ? QColor(196, 220, 170)
                                                  : QColor(232, 226, 196);
            painter.fillRect(QRectF(fx, fy, field, field), colour);
        }
    QPen hedge(QColor(160, 190, 140), 1.2 / scale);
    painter.setPen(hedge);
    for (double fx = std::floor(area.left() / field) * field; fx < area.right(); fx += field)
        painter.drawLine(QPointF(fx, area.top()), QPointF(fx, area.bottom()));
    for (double fy = std::floor(area.top() / field) * field; fy < area.bottom(); fy += field)
        painter.drawLine(QPointF(area.left(), fy), QPointF(area.right(), fy));
    QPainterPath river;
    for (double wx = area.left() - 0.01; wx <= area.right() + 0.01; wx += 0.0004) {
        const QPointF at(wx, 89.3795 + 0.006 * std::sin(wx * 900));
        wx == area.left() - 0.01 ? river.moveTo(at) : river.lineTo(at);
    }
    painter.setPen(QPen(QColor(150, 190, 230), std::max(3.0, 0.0006 * scale) / scale));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(river);
    painter.setPen(QPen(QColor(250, 250, 250), std::max(2.0, 0.00025 * scale) / scale));
    painter.drawLine(QPointF(133.820, 89.30), QPointF(133.845, 89.45));
    painter.drawLine(QPointF(133.70, 89.392), QPointF(134.0, 89.396));
    return tile;
}

bool waitForTiles(TrackView* view) {
    return QTest::qWaitFor(
        [view] {
            QCoreApplication::processEvents();
            return view->fetcher() && view->fetcher()->running() == 0;
        },
        20000);
}

void wheel(TrackView* view, int notches) {
    const QPointF at(view->width() * 0.4, view->height() * 0.45);
    QWheelEvent event(at, view->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

void drag(TrackView* view, QPoint by) {
    const QPoint from(view->width() / 2, view->height() / 2);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from + by / 2);
    QTest::mouseMove(view, from + by);
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + by);
}

// A pan and a zoom in and out, each drawn at once: once to fetch the tiles,
// then timed. The median of `rounds` rounds.
void measure(TrackView* view, int rounds) {
    std::vector<double> pans, zooms, settled, cursors;
    for (int pass = 0; pass < 2; ++pass) {
        for (int round = 0; round < rounds; ++round) {
            const QPoint by(round % 2 ? -97 : 97, round % 2 ? -41 : 41);
            auto start = Clock::now();
            drag(view, by);
            view->repaint();
            if (pass)
                pans.push_back(msSince(start));
            else
                waitForTiles(view);
            start = Clock::now();
            wheel(view, round % 2 ? -1 : 1);
            view->repaint();
            if (pass)
                zooms.push_back(msSince(start));
            // A long track shows a scaled picture first; the full drawing at
            // the new zoom follows when the wheel rests.
            start = Clock::now();
            view->settleZoom();
            view->repaint();
            if (pass)
                settled.push_back(msSince(start));
            else
                waitForTiles(view);
            start = Clock::now();
            view->setCursorSample(size_t(round * 997));
            view->repaint();
            if (pass)
                cursors.push_back(msSince(start));
        }
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    std::printf("redraw after pan:   %6.2f ms (median of %d, tiles at hand)\n", median(pans),
                rounds);
    std::printf("redraw after zoom:  %6.2f ms (median of %d)\n", median(zooms), rounds);
    std::printf("  full drawing once the wheel rests: %6.2f ms\n", median(settled));
    std::printf("cursor frame:       %6.2f ms\n", median(cursors));
}

// The redraw at a zoom whose legs the pane no longer keeps, which builds
// them first: two and three levels further in, the tiles at hand from a
// first look, after which levels further out were drawn.
void measureFirstDrawings(TrackView* view) {
    auto look = [view](int notches) {
        wheel(view, notches);
        view->settleZoom();
        view->repaint();
        waitForTiles(view);
        wheel(view, -notches);
        view->settleZoom();
        view->repaint();
    };
    for (int notches : {2, 3, -1, -2})
        look(notches);
    std::vector<double> firsts;
    for (int notches : {2, 3}) {
        wheel(view, notches);
        view->settleZoom();
        const auto start = Clock::now();
        view->repaint();
        firsts.push_back(msSince(start));
        wheel(view, -notches);
        view->settleZoom();
        view->repaint();
    }
    std::printf("first full drawing at a zoom whose legs are built first: %6.2f and %6.2f ms\n",
                firsts[0], firsts[1]);
}

// The track's legs at the zooms about the fitted one, alone: the building
// of a zoom's legs, which its first redraw pays, and their drawing on a
// layer of the pane's (1.5 times the pane each way). The best of `rounds`.
void measureLevels(const FlightLog& log, const TrackView& view, int rounds) {
    const TrackGeometry geometry = TrackGeometry::of(log);
    const double fitted = view.zoom();
    TrackCamera camera;
    camera.size = QSizeF(view.size()) * 1.5;
    camera.centre = geometry.bounds.center();
    QImage layer(camera.size.toSize(), QImage::Format_ARGB32_Premultiplied);
    std::printf("the track's legs by zoom (built on a zoom's first use, best of %d):\n", rounds);
    for (double zoom = fitted - 3; zoom <= fitted + 4; ++zoom) {
        camera.zoom = zoom;
        double built = 1e9, drawn = 1e9;
        TrackLegs legs;
        for (int round = 0; round < rounds; ++round) {
            auto start = Clock::now();
            legs.build(log, geometry, zoom, {});
            built = std::min(built, msSince(start));
            layer.fill(Qt::transparent);
            start = Clock::now();
            legs.draw(layer, geometry, camera);
            drawn = std::min(drawn, msSince(start));
        }
        std::printf("  zoom %5.2f: %7zu legs, %6zu KiB, built %6.2f ms, drawn %6.2f ms\n", zoom,
                    legs.count, legs.bytes() / 1024, built, drawn);
    }
}

int screenshot(TileServer& server, const QString& logPath, const QString& output) {
    MapSettings settings;
    settings.enabled = true;
    settings.tileTemplate = server.urlTemplate();
    writeMapSettings(settings);
    SilentDialogs silent;
    setDialogs(&silent);
    TForm1 form;
    programState().firmware = FirmwareVariant{500, 0};
    FlightView* view = form.OpenFlightView({logPath});
    if (!view)
        return 1;
    view->resize(1280, 800);
    auto* track = view->findChild<TrackView*>(QStringLiteral("trackView"));
    QTest::qWait(200);
    waitForTiles(track);
    view->setCursorTime(95);
    QTest::qWait(100);
    return view->grab().save(output) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool shot = argc > 2 && QByteArray(argv[1]) == "--screenshot";
    if (!shot)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QTemporaryDir dir;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    QApplication app(argc, argv);
    setSettingsFolder(dir.filePath(QStringLiteral("config")));
    TileServer server;
    server.draw = landscape;
    if (!server.start())
        return 1;

    const long lines = shot ? 0 : argc > 1 ? std::atol(argv[1]) : 1000000;
    const QString logPath = dir.filePath(QStringLiteral("LOG00001.CSV"));
    if (shot) {
        // The README's flight: the example log of firmware V500, as a pilot opens it.
        return screenshot(server,
                          QString::fromLocal8Bit(qgetenv("SOURCE_DIR")) +
                              QStringLiteral("/examples/LOG00002.CSV"),
                          QString::fromLocal8Bit(argv[2]));
    }
    if (!writeLogFile(logPath.toStdString(), lines))
        return 1;
    Result<FlightLog> log = readFlightLog(logPath, {500, 0});
    if (!log)
        return 1;
    std::printf("log: %ld lines; track pane 1280x800\n", lines);

    MapSettings settings; // off, with the loopback server as the template
    settings.tileTemplate = server.urlTemplate();
    writeMapSettings(settings);
    const long readKiB = residentKiB();
    TrackView view;
    view.resize(1280, 800);
    view.setLog(&*log);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return 1;
    std::printf("the pane showing the log adds: %ld KiB resident (its positions, legs and "
                "pictures)\n",
                residentKiB() - readKiB);
    auto start = Clock::now();
    view.repaint();
    std::printf("grid, one repaint:   %6.2f ms\n", msSince(start));
    const long gridKiB = residentKiB();

    view.setMapEnabled(true);
    if (!waitForTiles(&view))
        return 1;
    measure(&view, 21);
    const long mapKiB = residentKiB();
    const qsizetype asked = server.paths.size(); // by the pans and zooms above
    measureFirstDrawings(&view);
    measureLevels(*log, view, 5);
    std::printf("tiles asked of the server: %lld\n", qlonglong(asked));
    std::printf("memory the map adds: %ld KiB resident (tile memory cache capped at %d KiB, "
                "disk cache at %lld MiB)\n",
                mapKiB - gridKiB, TileFetcher::MemoryCacheKiB,
                qlonglong(TileFetcher::DiskCacheBytes >> 20));
    return 0;
}
