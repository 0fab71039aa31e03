// The picture of a flight for scripts with the map: tiles from a tile server
// of the test's own on 127.0.0.1 under the track, the attribution in the
// picture, and a wait for tiles that ends however silent the server.
#include "flight/flightlog.h"
#include "flight/flightsummary.h"
#include "picture/flightpicture.h"

#include "common/testfiles.h"
#include "common/tileserver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestMapPicture : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TileServer> server;

    // Five minutes heading north-east from the ground, 1 m/s up.
    FlightLog diagonalFlight() {
        QByteArray text = "Altorin Log V500\r\n";
        for (int t = 0; t < 300; ++t)
            text += QStringLiteral("01;14:22:01;%1;0;%2;4.9;5.1;21;0;12;%3;%4;600;40;180;7;1\r\n")
                        .arg(t)
                        .arg(t)
                        .arg(8120000 + 10 * t)
                        .arg(48120000 + 10 * t)
                        .toLatin1();
        const QString path = dir->filePath(QStringLiteral("LOG00007.CSV"));
        writeBytes(path, text);
        return std::move(readFlightLog(path, {500, 0})).value();
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir->filePath(QStringLiteral("cache"))));
        server = std::make_unique<TileServer>();
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    void trackOnTiles() {
        const FlightLog log = diagonalFlight();
        PictureOptions options;
        options.mapTemplate = server->urlTemplate();
        const Result<QImage> picture = flightPicture(log, {500, 0}, options);
        QVERIFY(picture.ok());
        QCOMPARE(picture->size(), QSize(1200, 800));
        QVERIFY(!server->paths.isEmpty());
        QVERIFY(server->paths.size() <= 9); // the track's pane only
        for (const QByteArray& agent : server->userAgents)
            QVERIFY(agent.startsWith("AltorinTool/"));
        // North-west of a track to the north-east lies open map.
        QCOMPARE(picture->pixelColor(680, 60), server->colour);
        // The attribution: dark letters on a pale box at the track's bottom right.
        const int bottom = 34 + (800 - 34) * 62 / 100;
        int pale = 0, dark = 0;
        for (int x = 1140; x < 1198; ++x)
            for (int y = bottom - 14; y < bottom - 2; ++y) {
                const QColor c = picture->pixelColor(x, y);
                pale += c.lightness() > 200;
                dark += c.lightness() < 110;
            }
        QVERIFY2(pale > 100 && dark > 10, qPrintable(QStringLiteral("%1 %2").arg(pale).arg(dark)));
    }

    // The figures read as in the flight view: the landing place's degrees
    // as degrees in either language, durations as h:mm:ss, distances in km.
    void summaryUnits() {
        const FlightSummary summary = summarizeFlight(diagonalFlight());
        for (qint32 language : {0, 1}) {
            const QStringList lines = pictureSummaryLines(summary, language);
            QCOMPARE(lines.filter(QStringLiteral("°")).size(), 2);
            QVERIFY(lines.filter(QStringLiteral("Â")).isEmpty());
        }
        const QStringList german = pictureSummaryLines(summary, 0);
        QVERIFY(german.contains(QStringLiteral("Landeplatz Breite (°): 48.204983")));
        const QStringList duration = german.filter(QStringLiteral("Dauer (h:mm:ss): "));
        QCOMPARE(duration.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral(": \\d+:\\d\\d:\\d\\d$"))
                     .match(duration.first())
                     .hasMatch(),
                 qPrintable(duration.first()));
        QCOMPARE(german.filter(QStringLiteral("Streckenlänge (km): ")).size(), 1);
    }

    void silentServerWaitEnds() {
        server->answer = TileServer::Answer::Silence;
        const FlightLog log = diagonalFlight();
        PictureOptions options;
        options.mapTemplate = server->urlTemplate();
        options.tileWaitMs = 300;
        const Result<QImage> picture = flightPicture(log, {500, 0}, options);
        QVERIFY(picture.ok());
        QVERIFY(qGray(picture->pixel(680, 60)) > 215); // the grid
        QVERIFY(server->mostOpen <= 2);
    }
};

QTEST_MAIN(TestMapPicture)
#include "tst_map_picture.moc"
