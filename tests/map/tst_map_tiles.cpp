// Tile arithmetic, tile addresses and the map's settings file: the pieces
// that decide which tiles are asked for, from where, and whether at all.
#include "core/settingsfile.h"
#include "map/mapsettings.h"
#include "map/tilemath.h"
#include "map/tileurl.h"

#include "common/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestMapTiles : public QObject {
    Q_OBJECT

  private slots:
    // Known places against the tile numbers every tile server uses.
    void mercator() {
        QCOMPARE(worldPoint(0, 0), QPointF(128, 128));
        QCOMPARE(worldPoint(0, -180).x(), 0.);
        QVERIFY(std::abs(worldPoint(85.0511287798, 0).y()) < 1e-6);
        QCOMPARE(worldPoint(89.9, 0).y(), worldPoint(85.06, 0).y()); // held at the edge
        // Munich at zoom 12 lies in tile 2179/1421.
        const QPointF munich = worldPoint(48.1372, 11.5756) * (1 << 12) / TileSize;
        QCOMPARE(int(munich.x()), 2179);
        QCOMPARE(int(munich.y()), 1421);
        QVERIFY(std::abs(metresPerPixel(0, 0) - 156543.03) < 0.01);
        QVERIFY(std::abs(metresPerPixel(60, 3) - 156543.03 / 16) < 0.01);
    }

    // Only existing tiles that touch the view, the middle one first.
    void tilesOfAView() {
        // Two by two tiles at zoom 3 around the line between tiles 3 and 4.
        const double tile = TileSize / 8.0;
        const QRectF view(3.5 * tile, 3.5 * tile, tile, tile);
        const auto tiles = tilesCovering(view, 3);
        QCOMPARE(tiles.size(), size_t(4));
        for (const TileKey& key : tiles)
            QVERIFY(key.x >= 3 && key.x <= 4 && key.y >= 3 && key.y <= 4 && key.zoom == 3);
        // A view off the world's west and north edge asks for no tile beyond it.
        const auto corner = tilesCovering(QRectF(-100, -100, 100 + tile / 2, 100 + tile / 2), 3);
        QCOMPARE(corner.size(), size_t(1));
        QCOMPARE(corner[0], (TileKey{3, 0, 0}));
        // Centre first.
        const auto row = tilesCovering(QRectF(2 * tile, 3.2 * tile, 3 * tile, 0.5 * tile), 3);
        QCOMPARE(row.front(), (TileKey{3, 3, 3}));
        QVERIFY(tilesCovering(QRectF(), 3).empty());
    }

    void addresses() {
        const auto osm = TileUrl::parse(QString::fromLatin1(DefaultTileTemplate));
        QVERIFY(osm.ok());
        QCOMPARE(osm->url({12, 2179, 1421}),
                 QUrl(QStringLiteral("https://tile.openstreetmap.org/12/2179/1421.png")));
        QVERIFY(!osm->isLocal());
        const auto folder =
            TileUrl::parse(QStringLiteral(" file:///media/card/tiles/{z}/{x}/{y}.png "));
        QVERIFY(folder.ok());
        QVERIFY(folder->isLocal());
        QCOMPARE(folder->url({1, 0, 1}).toLocalFile(),
                 QStringLiteral("/media/card/tiles/1/0/1.png"));

        for (const char* bad :
             {"https://tile.example.org/{z}/{x}.png", "ftp://host/{z}/{x}/{y}.png",
              "http:///{z}/{x}/{y}.png", "", "{z}{x}{y}"}) {
            const auto url = TileUrl::parse(QString::fromLatin1(bad));
            QVERIFY2(!url.ok(), bad);
            QVERIFY(url.failure().message.startsWith(QStringLiteral("Kachel-Adresse ungültig")));
        }
    }

    // Off with an empty configuration; the choice and the template kept in
    // the second file, AltorinTool.ini never written.
    void settingsFile() {
        QTemporaryDir dir;
        setSettingsFolder(dir.path());
        const MapSettings fresh = readMapSettings();
        QVERIFY(!fresh.enabled);
        QCOMPARE(fresh.effectiveTemplate(), QString::fromLatin1(DefaultTileTemplate));

        QVERIFY(writeBytes(extraSettingsFilePath(), "; mine\r\n[Logbook]\r\nFolder=/x\r\n"));
        MapSettings on;
        on.enabled = true;
        on.tileTemplate = QStringLiteral("file:///tiles/{z}/{x}/{y}.png");
        QVERIFY(!writeMapSettings(on));
        const MapSettings read = readMapSettings();
        QVERIFY(read.enabled);
        QCOMPARE(read.effectiveTemplate(), on.tileTemplate);
        const QByteArray text = readBytes(extraSettingsFilePath());
        QVERIFY(text.startsWith("; mine\r\n[Logbook]\r\nFolder=/x\r\n"));
        QVERIFY(!QFile::exists(settingsFilePath()));

        // Anything but 1 leaves the map off.
        QVERIFY(writeBytes(extraSettingsFilePath(), "[Map]\nEnabled=yes\n"));
        QVERIFY(!readMapSettings().enabled);
        setSettingsFolder(QString());
    }
};

QTEST_GUILESS_MAIN(TestMapTiles)
#include "tst_map_tiles.moc"
