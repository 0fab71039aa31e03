#pragma once

#include <QMetaType>
#include <QPointF>
#include <QRectF>
#include <QtGlobal>
#include <vector>

// Web Mercator as the tile servers cut it: the world is a square of 256 << z
// pixels at zoom z, tile (0, 0) at its north-west corner. Positions are kept
// in world pixels at zoom 0 (0 to 256), so one number pair serves every zoom.

inline constexpr int TileSize = 256;
inline constexpr int MinZoom = 1;
inline constexpr int MaxZoom = 19;

// The place of a latitude and longitude (degrees) in zoom-0 world pixels.
// Latitudes beyond the square's edge (about 85.05°) are held at it.
QPointF worldPoint(double latitude, double longitude);

// Ground metres per world pixel at `zoom` on `latitude`.
double metresPerPixel(double latitude, double zoom);

// One tile of the square.
struct TileKey {
    int zoom = 0;
    int x = 0;
    int y = 0;
    bool operator==(const TileKey&) const = default;
};
size_t qHash(const TileKey& key, size_t seed = 0);
Q_DECLARE_METATYPE(TileKey)

// The tiles at integer `zoom` that cover `view`, given in zoom-0 world pixels,
// nearest to its centre first so the middle fills in first. Only tiles that
// exist: nothing west of 0, east of the square or beyond the poles.
std::vector<TileKey> tilesCovering(const QRectF& view, int zoom);

// The tile's north-west corner in zoom-0 world pixels.
QPointF tileCorner(const TileKey& key);
