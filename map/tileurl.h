#pragma once

#include "core/result.h"
#include "map/tilemath.h"

#include <QString>
#include <QUrl>

inline constexpr const char* DefaultTileTemplate = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

// A tile address template with {z}, {x} and {y}: an http(s) server or a
// file:// folder of tiles. Checked once, so a bad setting shows as a note on
// the map instead of as a stream of failing requests.
class TileUrl {
  public:
    // Fails for a template without all three fields or of another scheme.
    static Result<TileUrl> parse(const QString& pattern);

    QUrl url(const TileKey& key) const;
    QString pattern() const { return m_pattern; }
    bool isLocal() const { return m_local; }

  private:
    QString m_pattern;
    bool m_local = false;
};
