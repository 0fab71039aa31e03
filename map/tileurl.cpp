#include "map/tileurl.h"

Result<TileUrl> TileUrl::parse(const QString& pattern) {
    const QString trimmed = pattern.trimmed();
    auto bad = [&](const QString& why) {
        return Failure{FailureKind::InvalidValue,
                       QStringLiteral("Kachel-Adresse ungültig (%1): %2").arg(why, trimmed)};
    };
    for (const char* field : {"{z}", "{x}", "{y}"})
        if (!trimmed.contains(QLatin1String(field)))
            return bad(QStringLiteral("%1 fehlt").arg(QLatin1String(field)));
    const QUrl probe(
        QString(trimmed).replace(QLatin1Char('{'), QLatin1Char('0')).remove(QLatin1Char('}')));
    const QString scheme = probe.scheme().toLower();
    if (!probe.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                             scheme != QLatin1String("file")))
        return bad(QStringLiteral("nur http, https oder file"));
    if (scheme != QLatin1String("file") && probe.host().isEmpty())
        return bad(QStringLiteral("kein Server"));
    TileUrl url;
    url.m_pattern = trimmed;
    url.m_local = scheme == QLatin1String("file");
    return url;
}

QUrl TileUrl::url(const TileKey& key) const {
    QString text = m_pattern;
    text.replace(QLatin1String("{z}"), QString::number(key.zoom))
        .replace(QLatin1String("{x}"), QString::number(key.x))
        .replace(QLatin1String("{y}"), QString::number(key.y));
    return QUrl(text);
}
