#include "map/tilefetcher.h"

#include "core/programstate.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QStandardPaths>
#include <algorithm>

namespace {
constexpr qint64 RetryAfterMs = 30000;
}

TileFetcher::TileFetcher(const QString& cacheFolder, QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)),
      m_disk(new QNetworkDiskCache(this)) {
    m_disk->setCacheDirectory(cacheFolder.isEmpty() ? defaultCacheFolder() : cacheFolder);
    m_disk->setMaximumCacheSize(DiskCacheBytes);
    m_network->setCache(m_disk);
}

QString TileFetcher::defaultCacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/AltorinTool");
}

QByteArray TileFetcher::userAgent() {
    QByteArray version(VersionText);
    if (version.startsWith('V'))
        version.remove(0, 1);
    return "AltorinTool/" + version + " (flight viewer for the Altorin variometer; Qt " +
           qVersion() + ")";
}

void TileFetcher::setTemplate(const TileUrl& url) {
    if (m_url && m_url->pattern() == url.pattern())
        return;
    stop();
    m_url = url;
    m_tiles.clear();
    m_failed.clear();
}

void TileFetcher::stop() {
    m_queue.clear();
    const auto running = m_running; // finished() edits the table
    m_running.clear();
    for (QNetworkReply* reply : running) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void TileFetcher::setWanted(const std::vector<TileKey>& tiles) {
    if (!m_url)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    m_queue.clear();
    for (const TileKey& key : tiles) {
        if (m_tiles.contains(key) || m_running.contains(key))
            continue;
        const auto failedAt = m_failed.constFind(key);
        if (failedAt != m_failed.cend() && now - *failedAt < RetryAfterMs)
            continue;
        m_queue.push_back(key);
    }
    startNext();
}

void TileFetcher::startNext() {
    while (m_running.size() < MaxRunning && !m_queue.empty()) {
        const TileKey key = m_queue.front();
        m_queue.erase(m_queue.begin());
        QNetworkRequest request(m_url->url(key));
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
        // A fresh cached tile is taken without asking; a stale one is asked
        // for with its validators. Never AlwaysNetwork: that would send
        // "Cache-Control: no-cache" and bypass the server's caches.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferCache);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setTransferTimeout(m_timeout);
        QNetworkReply* reply = m_network->get(request);
        m_running.insert(key, reply);
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, key] { finished(reply, key); });
    }
}

void TileFetcher::finished(QNetworkReply* reply, const TileKey& key) {
    reply->deleteLater();
    if (m_running.value(key) != reply)
        return;
    m_running.remove(key);
    const QUrl url = reply->url();
    QImage image;
    if (reply->error() == QNetworkReply::NoError) {
        image.loadFromData(reply->readAll());
        if (image.isNull())
            m_disk->remove(url); // bytes that are no picture must not hide an older good copy
        else if (!reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool())
            keepFreshForAWeek(url);
    }
    if (image.isNull())
        image = cachedCopy(url);
    if (image.isNull()) {
        m_failed.insert(key, QDateTime::currentMSecsSinceEpoch());
        emit tileFailed(key);
    } else {
        m_failed.remove(key);
        image = std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const int cost = std::max<qsizetype>(1, image.sizeInBytes() / 1024);
        m_tiles.insert(key, new QImage(std::move(image)), cost);
        emit tileArrived(key);
    }
    startNext();
}

// The tile servers send an expiry, but a server of the pilot's own may not;
// without one the cache would ask again at every view.
void TileFetcher::keepFreshForAWeek(const QUrl& url) {
    QNetworkCacheMetaData meta = m_disk->metaData(url);
    if (!meta.isValid() || meta.expirationDate().isValid())
        return;
    meta.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(FreshDays));
    m_disk->updateMetaData(meta);
}

QImage TileFetcher::cachedCopy(const QUrl& url) const {
    QImage image;
    if (std::unique_ptr<QIODevice> data{m_disk->data(url)})
        image.loadFromData(data->readAll());
    return image;
}
