// The tile fetcher against a tile server of the test's own on 127.0.0.1:
// what it asks for and how, its disk cache with the server gone, and what
// failing answers leave.
#include "map/tilefetcher.h"

#include "common/tileserver.h"

#include <QNetworkDiskCache>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <set>

namespace {

std::vector<TileKey> block(int zoom, int x0, int y0, int columns, int rows) {
    std::vector<TileKey> keys;
    for (int y = y0; y < y0 + rows; ++y)
        for (int x = x0; x < x0 + columns; ++x)
            keys.push_back({zoom, x, y});
    return keys;
}

QString path(const TileKey& k) {
    return QStringLiteral("/%1/%2/%3.png").arg(k.zoom).arg(k.x).arg(k.y);
}

// Runs the event loop until every tile has arrived or failed.
bool settle(TileFetcher& fetcher, QSignalSpy& arrived, QSignalSpy& failed, int count,
            int timeoutMs = 10000) {
    return QTest::qWaitFor(
        [&] { return arrived.size() + failed.size() >= count && fetcher.running() == 0; },
        timeoutMs);
}

} // namespace

class TestMapFetcher : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> cache;
    std::unique_ptr<TileServer> server;

    std::unique_ptr<TileFetcher> fetcher() {
        auto f = std::make_unique<TileFetcher>(cache->path());
        f->setTemplate(*TileUrl::parse(server->urlTemplate()));
        return f;
    }

  private slots:
    void init() {
        cache = std::make_unique<QTemporaryDir>();
        server = std::make_unique<TileServer>();
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    // The tiles asked for, each once, named by the tool; two at a time at
    // most; none told to bypass the server's caches.
    void politeRequests() {
        server->delayMs = 40;
        auto f = fetcher();
        QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
            failed(f.get(), &TileFetcher::tileFailed);
        const auto wanted = block(14, 8600, 5700, 4, 3);
        f->setWanted(wanted);
        f->setWanted(wanted); // a repaint asks again: nothing twice
        QVERIFY(settle(*f, arrived, failed, 12));
        QCOMPARE(failed.size(), 0);
        std::set<QString> expected;
        for (const TileKey& k : wanted)
            expected.insert(path(k));
        QCOMPARE(std::set<QString>(server->paths.begin(), server->paths.end()), expected);
        QCOMPARE(server->paths.size(), 12);
        QCOMPARE(server->mostOpen, 2);
        for (const QByteArray& agent : server->userAgents)
            QVERIFY2(agent.startsWith("AltorinTool/0.45 ("), agent.constData());
        for (const QByteArray& line : server->cacheHeaders)
            QVERIFY2(!line.toLower().contains("no-cache"), line.constData());
        QCOMPARE(f->tile(wanted[5])->pixelColor(100, 100), server->colour);
    }

    // A new view replaces the queue: tiles scrolled away are not fetched.
    void onlyTheTilesInView() {
        server->delayMs = 100;
        auto f = fetcher();
        QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
            failed(f.get(), &TileFetcher::tileFailed);
        f->setWanted(block(15, 100, 100, 5, 4)); // two start at once
        f->setWanted(block(15, 300, 300, 2, 1));
        QVERIFY(settle(*f, arrived, failed, 4));
        QTest::qWait(150);
        QCOMPARE(server->paths.size(), 4);
        QVERIFY(server->paths.contains(QStringLiteral("/15/300/300.png")));
        QVERIFY(server->paths.contains(QStringLiteral("/15/301/300.png")));
    }

    // Fetched once, the tiles come from the disk cache with the server gone:
    // fresh for a week without an expiry, and drawn after a network error
    // however old.
    void diskCacheWithServerStopped() {
        const auto wanted = block(13, 4300, 2850, 3, 2);
        {
            auto f = fetcher();
            QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
                failed(f.get(), &TileFetcher::tileFailed);
            f->setWanted(wanted);
            QVERIFY(settle(*f, arrived, failed, 6));
            QCOMPARE(arrived.size(), 6);
        }
        {
            QNetworkDiskCache disk;
            disk.setCacheDirectory(cache->path());
            const QDateTime expiry =
                disk.metaData(QUrl(server->urlTemplate().replace(QLatin1String("{z}/{x}/{y}"),
                                                                 QLatin1String("13/4300/2850"))))
                    .expirationDate();
            QVERIFY(expiry.isValid());
            QVERIFY(std::abs(QDateTime::currentDateTimeUtc().daysTo(expiry) - 7) <= 1);
        }
        const qsizetype asked = server->paths.size();
        {
            auto f = fetcher(); // a new start: nothing decoded in memory
            QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
                failed(f.get(), &TileFetcher::tileFailed);
            f->setWanted(wanted);
            QVERIFY(settle(*f, arrived, failed, 6));
            QCOMPARE(arrived.size(), 6);
            QCOMPARE(server->paths.size(), asked); // fresh: not asked again
        }
        server->stop();
        {
            auto f = fetcher();
            QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
                failed(f.get(), &TileFetcher::tileFailed);
            f->setWanted(wanted);
            QVERIFY(settle(*f, arrived, failed, 6));
            QCOMPARE(arrived.size(), 6);
        }
    }

    void staleCopyAfterNetworkError() {
        server->extraHeaders = "Cache-Control: max-age=0\r\n"; // stale at once
        const auto wanted = block(12, 2179, 1421, 2, 1);
        {
            auto f = fetcher();
            QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
                failed(f.get(), &TileFetcher::tileFailed);
            f->setWanted(wanted);
            QVERIFY(settle(*f, arrived, failed, 2));
        }
        server->stop();
        auto f = fetcher();
        QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
            failed(f.get(), &TileFetcher::tileFailed);
        f->setWanted(wanted);
        QVERIFY(settle(*f, arrived, failed, 2));
        QCOMPARE(arrived.size(), 2);
        QVERIFY(f->tile(wanted[0]));
    }

    // 404s and bytes that are no picture fail the tile (the view draws its
    // grid there), are not asked again at once, and leave no bad copy.
    void failingAnswers_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("404") << int(TileServer::Answer::NotFound);
        QTest::newRow("no picture") << int(TileServer::Answer::NoPicture);
    }
    void failingAnswers() {
        QFETCH(int, answer);
        server->answer = TileServer::Answer(answer);
        auto f = fetcher();
        QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
            failed(f.get(), &TileFetcher::tileFailed);
        const auto wanted = block(10, 540, 350, 2, 2);
        f->setWanted(wanted);
        QVERIFY(settle(*f, arrived, failed, 4));
        QCOMPARE(failed.size(), 4);
        QVERIFY(f->failed(wanted[0]) && !f->tile(wanted[0]));
        f->setWanted(wanted);
        QTest::qWait(50);
        QCOMPARE(server->paths.size(), 4);
        // Once the server mends, a new start gets real tiles, not a cached error.
        server->answer = TileServer::Answer::Tile;
        auto again = fetcher();
        QSignalSpy later(again.get(), &TileFetcher::tileArrived),
            laterFailed(again.get(), &TileFetcher::tileFailed);
        again->setWanted(wanted);
        QVERIFY(settle(*again, later, laterFailed, 4));
        QCOMPARE(later.size(), 4);
    }

    // A server that accepts and never answers costs a timeout, then the
    // tile fails; the event loop runs on meanwhile.
    void silentServer() {
        server->answer = TileServer::Answer::Silence;
        auto f = fetcher();
        f->setTimeout(300);
        QSignalSpy arrived(f.get(), &TileFetcher::tileArrived),
            failed(f.get(), &TileFetcher::tileFailed);
        f->setWanted(block(9, 270, 175, 3, 1));
        QCOMPARE(f->running(), 2);
        bool ticked = false;
        QTimer::singleShot(20, this, [&] { ticked = true; });
        QVERIFY(QTest::qWaitFor([&] { return ticked; }, 200));
        QVERIFY(settle(*f, arrived, failed, 3, 5000));
        QCOMPARE(failed.size(), 3);
        QVERIFY(server->mostOpen <= 2);
    }
};

QTEST_MAIN(TestMapFetcher)
#include "tst_map_fetcher.moc"
