#pragma once

#include "map/tilemath.h"
#include "map/tileurl.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <optional>
#include <vector>

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;

// Fetches map tiles as the OpenStreetMap tile servers ask of their users: a
// User-Agent naming the tool and its version, at most two requests at a time,
// only the tiles the view shows (the queue is replaced, never extended, by
// each view), and a disk cache that is used while a tile is fresh. A tile the
// server sent without an expiry counts as fresh for a week; no request ever
// asks the server to bypass its own caches; after a failure any cached copy is
// drawn, however old. Everything runs on the event loop, so a slow or silent
// server never holds up the view.
class TileFetcher : public QObject {
    Q_OBJECT

  public:
    static constexpr int MaxRunning = 2;
    static constexpr qint64 DiskCacheBytes = 200LL << 20;
    static constexpr int MemoryCacheKiB = 48 << 10; // decoded tiles, about 190
    static constexpr int FreshDays = 7;

    // `cacheFolder` empty: $XDG_CACHE_HOME/AltorinTool.
    explicit TileFetcher(const QString& cacheFolder = QString(), QObject* parent = nullptr);

    static QString defaultCacheFolder();
    static QByteArray userAgent();

    // A new template empties the queue and forgets the tiles of the old one.
    void setTemplate(const TileUrl& url);
    // The tiles in view now, most wanted first. Tiles of an earlier view that
    // are not running yet are dropped; a tile that failed is tried again only
    // after a while, so a dead server is not asked at every pan.
    void setWanted(const std::vector<TileKey>& tiles);
    // Drops the queue and aborts what runs (the map switched off).
    void stop();
    // How long a request may go without any byte before it counts as failed.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }

    // The decoded tile when it is at hand, else nullptr. Valid until the next
    // call into the fetcher.
    const QImage* tile(const TileKey& key) const { return m_tiles.object(key); }
    // The tile's last attempt failed and nothing cached could stand in.
    bool failed(const TileKey& key) const { return m_failed.contains(key); }
    int running() const { return int(m_running.size()); }

  signals:
    void tileArrived(const TileKey& key);
    void tileFailed(const TileKey& key);

  private:
    void startNext();
    void finished(QNetworkReply* reply, const TileKey& key);
    void keepFreshForAWeek(const QUrl& url);
    QImage cachedCopy(const QUrl& url) const;

    QNetworkAccessManager* m_network;
    QNetworkDiskCache* m_disk;
    std::optional<TileUrl> m_url;
    std::vector<TileKey> m_queue;
    QHash<TileKey, QNetworkReply*> m_running;
    QHash<TileKey, qint64> m_failed; // when it failed (ms since the epoch)
    QCache<TileKey, QImage> m_tiles{MemoryCacheKiB};
    int m_timeout = 20000;
};
